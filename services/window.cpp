#include "services/window.h"

#include <ole2.h>

namespace {

struct MainWindowState {
    HWND hwnd = nullptr;
    bool visible = false;
    bool firstShowPending = false;
    bool destroyPending = false;
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};

MainWindowState mainWindow;
HWND hiddenOwner = nullptr;
int eventSuppression = 0;
bool loopStarted = false;

bool IsMainWindowOrChild(HWND hwnd) {
    return mainWindow.hwnd && (hwnd == mainWindow.hwnd || IsChild(mainWindow.hwnd, hwnd));
}

bool ModifierHeld() {
    return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
}

bool WantsKeyItself(const MSG& message) {
    const LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam,
                                      reinterpret_cast<LPARAM>(&message));
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

}  // namespace

void AdoptProgramWindows(HWND owner, HWND main, UniqueIcon bigIcon, UniqueIcon smallIcon) {
    hiddenOwner = owner;
    mainWindow.hwnd = main;
    mainWindow.bigIcon = std::move(bigIcon);
    mainWindow.smallIcon = std::move(smallIcon);
}

HWND MainWindowHwnd() { return mainWindow.hwnd; }

bool EventsSuppressed() { return eventSuppression > 0; }
void SuppressEvents() { ++eventSuppression; }
void ResumeEvents() { --eventSuppression; }

void MarkFirstShowPending() { mainWindow.firstShowPending = true; }

void SetWindowVisible(bool visible) {
    mainWindow.visible = visible;
    if (!mainWindow.hwnd) return;
    if (visible) mainWindow.firstShowPending = false;
    ShowWindow(mainWindow.hwnd, visible ? SW_SHOW : SW_HIDE);
}

bool GetWindowVisible() {
    if (!mainWindow.hwnd) return mainWindow.visible;
    return IsWindowVisible(mainWindow.hwnd) != FALSE;
}

void SetWindowTopmost(bool topmost) {
    SetWindowPos(mainWindow.hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

int32_t GetMainWindowHandle() {
    // Window handles carry 32 significant bits, also in 64-bit processes.
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(mainWindow.hwnd));
}

void DestroyMainWindow() {
    mainWindow.destroyPending = true;
    PostMessageA(mainWindow.hwnd, DeferredDestroyMessage, 0, 0);
}

void OnDeferredDestroy() {
    if (!mainWindow.destroyPending) return;
    mainWindow.destroyPending = false;
    DestroyWindow(mainWindow.hwnd);
}

void OnMainWindowGone() {
    mainWindow.hwnd = nullptr;
    // MainWindow is the program's only window: without it the loop ends.
    if (loopStarted) PostQuitMessage(0);
}

bool PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (message.wParam != VK_ESCAPE || !IsMainWindowOrChild(message.hwnd)) return false;
    if (!IsWindowEnabled(message.hwnd) || ModifierHeld() || WantsKeyItself(message)) return false;
    SendMessageA(mainWindow.hwnd, WM_CLOSE, 0, 0);
    return true;
}

int RunMessageLoop() {
    loopStarted = true;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void ReleaseProgram() {
    SuppressEvents();
    mainWindow.bigIcon.reset();
    mainWindow.smallIcon.reset();
    // Destroying the owner destroys MainWindow first.
    if (hiddenOwner) DestroyWindow(std::exchange(hiddenOwner, nullptr));
    OleUninitialize();
}

void ExitProgram(int32_t exitCode) {
    ReleaseProgram();
    ExitProcess(static_cast<UINT>(exitCode));
}

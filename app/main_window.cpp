#include "app/main_window.h"

#include "app/embedded.h"
#include "app/picture_box.h"
#include "app/watchdog_timer.h"
#include "resources/resource_names.h"
#include "services/window.h"

namespace {

constexpr char OwnerClassName[] = "KelvaneOwner";
constexpr char MainWindowTitle[] = "Moravik  ----  example.org       by:Tollbrin";
constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int MainWindowWidth = 450;
constexpr int MainWindowHeight = 290;
// The box overlaps the client area, which is smaller, and is clipped by it.
constexpr RECT PictureBoxBounds{-3, -1, -3 + 450, -1 + 270};

MainWindowEvents events;
HFONT mainWindowFont = nullptr;

// MainWindow's children; the system destroys them with it.
struct Children {
    HWND 图片框1 = nullptr;
    HWND 时钟1 = nullptr;
} children;

template <typename... Args>
void Raise(void (*handler)(Args...), Args... args) {
    if (handler && !EventsSuppressed()) handler(args...);
}

// A close request that no handler answers is allowed.
bool RaiseCloseRequest() {
    return !events.closeRequest || EventsSuppressed() || events.closeRequest();
}

void RaiseWatchdogTick() { Raise(events.watchdogTick); }

LRESULT OnClose(HWND window) {
    if (!RaiseCloseRequest()) return 0;
    return DefWindowProcA(window, WM_CLOSE, 0, 0);
}

LRESULT OnQueryEndSession(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!DefWindowProcA(window, WM_QUERYENDSESSION, wParam, lParam)) return FALSE;
    const bool allowed = RaiseCloseRequest();
    return IsWindow(window) && !allowed ? FALSE : TRUE;
}

void OnTrayCallback(LPARAM lParam) {
    if (const std::optional<int> code = TrayEventFromCallback(lParam)) Raise(events.trayEvent, *code);
}

void OnCommand(WPARAM wParam) {
    if (const std::optional<int> position = MenuPositionFromCommand(wParam, MenuEntryCount))
        Raise(events.menuItemSelected[*position]);
}

void OnDestroy(HWND window) {
    Raise(events.destroying);
    if (!IsWindow(window)) return;
    HMENU menuBar = GetMenu(window);
    SetMenu(window, nullptr);
    DestroyMenu(menuBar);
    RemoveTrayIcon();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: return OnClose(window);
    case WM_QUERYENDSESSION: return OnQueryEndSession(window, wParam, lParam);
    case TrayCallbackMessage: OnTrayCallback(lParam); return 0;
    case WM_COMMAND: OnCommand(wParam); return 0;
    case DeferredDestroyMessage: OnDeferredDestroy(); return 0;
    case WM_SETFONT: mainWindowFont = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(mainWindowFont);
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_NCDESTROY:
        DefWindowProcA(window, message, wParam, lParam);
        OnMainWindowGone();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = OwnerClassName;
    RegisterClassA(&windowClass);

    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = MainWindowClassName;
    RegisterClassA(&windowClass);
}

POINT CentredOnPrimaryScreen() {
    return {(GetSystemMetrics(SM_CXSCREEN) - MainWindowWidth) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - MainWindowHeight) / 2};
}

UniqueIcon LoadProgramIcon(HINSTANCE instance, int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageA(instance, DEFAULT_ICON_NAME, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void CreateChildren(HWND window) {
    const EmbeddedBytes picture = EmbeddedResource(PICTURE_RESOURCE);
    children.时钟1 = CreateWatchdogTimer(window, RaiseWatchdogTick);
    children.图片框1 = CreatePictureBox(window, PictureBoxBounds, picture.data, picture.size);
    ShowWindow(children.图片框1, SW_SHOWNA);
}

}  // namespace

HWND BuildMainWindow(const MainWindowEvents& bound) {
    events = bound;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses(instance);
    HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, OwnerClassName, "", 0, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr);

    SuppressEvents();
    UniqueMenu menuBar(CreateMenu());  // TrayMenu is hidden, so the bar stays empty
    const POINT at = CentredOnPrimaryScreen();
    HWND window = CreateWindowExA(0, MainWindowClassName, MainWindowTitle, MainWindowStyle, at.x,
                                  at.y, MainWindowWidth, MainWindowHeight, owner, menuBar.get(),
                                  instance, nullptr);
    if (!window) {
        AdoptProgramWindows(owner, nullptr, {}, {});
        return nullptr;  // events stay suppressed: the program ends
    }
    menuBar.release();  // the window destroys its menu bar

    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != MainWindowWidth || outer.bottom - outer.top != MainWindowHeight)
        MoveWindow(window, at.x, at.y, MainWindowWidth, MainWindowHeight, TRUE);

    UniqueIcon bigIcon = LoadProgramIcon(instance, 32);
    UniqueIcon smallIcon = LoadProgramIcon(instance, 16);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    CreateChildren(window);

    AdoptProgramWindows(owner, window, std::move(bigIcon), std::move(smallIcon));
    ResumeEvents();
    return window;
}

MainWindowEvents CompanionEvents() {
    MainWindowEvents companion;
    companion.created = OnMainWindowCreated;
    companion.closeRequest = OnMainWindowCloseRequest;
    companion.trayEvent = OnTrayEvent;
    companion.watchdogTick = OnWatchdogTick;
    companion.menuItemSelected = {nullptr, OnCloseServicesCommand, OnAboutCommand, OnExitCommand};
    return companion;
}

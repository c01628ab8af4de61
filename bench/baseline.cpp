// The bare program Kelvane is measured against: a hidden window, a tray icon
// with a system icon, the client started once, and a 10 s timer that walks a
// process snapshot and does nothing with the answer.
#include <windows.h>
#include <shellapi.h>

#include "bench/bare_walk.h"

namespace {

constexpr char ClassName[] = "KelvaneBenchBaseline";
constexpr UINT TrayMessage = WM_APP + 1;
constexpr UINT_PTR TimerId = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: BareProcessRuns("QyClient.exe"); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowA(ClassName, "Baseline", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    NOTIFYICONDATAA tray{};
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray.hWnd = window;
    tray.uID = 1;
    tray.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    tray.uCallbackMessage = TrayMessage;
    tray.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(tray.szTip, "Baseline", sizeof tray.szTip);
    Shell_NotifyIconA(NIM_ADD, &tray);

    ShellExecuteA(nullptr, "open", "QyClient.exe", nullptr, nullptr, SW_SHOWNORMAL);
    SetTimer(window, TimerId, 10000, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    Shell_NotifyIconA(NIM_DELETE, &tray);
    return 0;
}

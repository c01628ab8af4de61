// A process the tests copy under the names they need:
//   stand_in                 stays alive
//   stand_in --title TEXT    also owns a hidden top-level window titled TEXT
//   stand_in --show TEXT     shows a window titled TEXT and ends when it is
//                            closed (the client in the README's run)
// Without --show it ends by itself after two minutes, so none is ever left
// over.
#include <windows.h>

#include <cstring>

namespace {

constexpr DWORD LifetimeMs = 120000;
constexpr char WindowClass[] = "KelvaneStandIn";

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunWindow(const char* title, bool shown) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = WindowClass;
    if (!RegisterClassA(&windowClass)) return 1;
    const DWORD style = WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0);
    if (!CreateWindowA(WindowClass, title, style, 60, 60, 420, 160, nullptr, nullptr,
                       windowClass.hInstance, nullptr))
        return 1;
    if (!shown) SetTimer(nullptr, 0, LifetimeMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageA(&message);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--title") == 0) return RunWindow(argv[2], false);
    if (argc == 3 && std::strcmp(argv[1], "--show") == 0) return RunWindow(argv[2], true);
    Sleep(LifetimeMs);
    return 0;
}

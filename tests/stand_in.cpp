// A process the tests copy under the names they need:
//   stand_in                 stays alive
//   stand_in --title TEXT    also owns a hidden top-level window titled TEXT
// Either way it ends by itself after two minutes, so none is ever left over.
#include <windows.h>

#include <cstring>

namespace {

constexpr DWORD LifetimeMs = 120000;
constexpr char WindowClass[] = "KelvaneStandIn";

int RunWindow(const char* title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = WindowClass;
    if (!RegisterClassA(&windowClass)) return 1;
    if (!CreateWindowA(WindowClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                       windowClass.hInstance, nullptr))
        return 1;
    SetTimer(nullptr, 0, LifetimeMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageA(&message);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--title") == 0) return RunWindow(argv[2]);
    Sleep(LifetimeMs);
    return 0;
}

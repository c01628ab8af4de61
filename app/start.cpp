#include <ole2.h>

#include "app/main_window.h"
#include "services/text.h"
#include "services/window.h"

namespace {

constexpr char StartupFailureText[] = "无法创建主窗口，程序将退出。";
constexpr char StartupFailureCaption[] = "Kelvane";

// Relative names, the client's among them, are looked up beside the program.
void EnterProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const size_t separator = FindLastSeparator(path);
    path[separator == NoSeparator ? 0 : separator] = '\0';
    SetCurrentDirectoryA(path);
}

}  // namespace

int RunCompanion(const MainWindowEvents& events) {
    OleInitialize(nullptr);
    EnterProgramFolder();
    if (!BuildMainWindow(events)) {
        SuppressEvents();
        MessageBoxA(nullptr, StartupFailureText, StartupFailureCaption, MB_ICONERROR);
        ExitProgram(-1);
    }
    if (events.created && !EventsSuppressed()) events.created();
    MarkFirstShowPending();
    const int exitCode = RunMessageLoop();
    ReleaseProgram();
    return exitCode;
}

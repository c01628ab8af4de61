// Runs the program's real start routine with handlers chosen by the test:
//   companion_host SCENARIO LOGFILE
// Each handler appends a line to LOGFILE, so a test sees what ran, in order.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main_window.h"
#include "services/window.h"

namespace {

const char* logPath = "";

void Log(const char* line) {
    if (FILE* log = std::fopen(logPath, "ab")) {
        std::fprintf(log, "%s\n", line);
        std::fclose(log);
    }
}

void LogFolder() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    Log(folder);
}

// A thread-local CBT hook that vetoes MainWindow's creation.
LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (create->hwndParent && !(create->style & WS_CHILD)) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const char* scenario = argv[1];
    logPath = argv[2];

    MainWindowEvents events;
    events.watchdogTick = [] { Log("tick"); };
    events.destroying = [] { Log("destroying"); };
    if (!std::strcmp(scenario, "destroy-on-created")) {
        events.created = [] {
            DestroyMainWindow();
            Log(IsWindow(MainWindowHwnd()) ? "created-returns-with-window" : "created-returns");
        };
    } else if (!std::strcmp(scenario, "exit-on-created")) {
        events.created = [] { ExitProgram(7); };
    } else if (!std::strcmp(scenario, "report-folder")) {
        events.created = [] {
            LogFolder();
            DestroyMainWindow();
        };
    } else if (!std::strcmp(scenario, "refuse-main-window")) {
        events.created = [] { Log("created"); };
        SetWindowsHookExA(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    } else {
        return 2;
    }
    return RunCompanion(events);
}

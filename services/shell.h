// Handing a file to the shell: opening, editing, printing... it with the
// program the system associates with it.
#pragma once

#include <cstdint>

// The ShellExecuteA arguments for a launch. The verb is null for an
// operation outside 1..5 (the file's default action); the directory is ""
// when none is given, so the shell uses the current directory.
struct ShellLaunch {
    const char* verb;
    const char* file;
    const char* parameters;
    const char* directory;
    int showCommand;
};

// operation: 1 edit, 2 explore, 3 find, 4 open, 5 print.
// showMode: 1 hidden, 2 normal, 3 minimized, 4 maximized, 5 shown without
// activation, 6 minimized (SW_MINIMIZE); anything else normal.
ShellLaunch BuildShellLaunch(int32_t operation, const char* file, const char* parameters,
                             const char* directory, int32_t showMode);

// Launches the file as BuildShellLaunch describes. A launch that fails is not
// reported.
void ShellExecuteFile(int32_t operation, const char* file, const char* parameters = nullptr,
                      const char* directory = nullptr, int32_t showMode = 0);

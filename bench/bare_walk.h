// The least a watchdog tick can do: one process snapshot with the flags the
// program uses, walked until an executable file name matches.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

inline bool BareProcessRuns(const char* name) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL ok = Process32First(snapshot, &entry); ok && !found;
         ok = Process32Next(snapshot, &entry))
        found = _stricmp(entry.szExeFile, name) == 0;
    CloseHandle(snapshot);
    return found;
}

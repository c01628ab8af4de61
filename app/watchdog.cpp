#include "app/watchdog.h"

#include <windows.h>
#include <tlhelp32.h>

#include "app/main_window.h"
#include "services/owners.h"
#include "services/process.h"
#include "services/text.h"
#include "services/tray.h"
#include "services/window.h"

// The records PROCESSENTRY32 gives, read here only for szExeFile.
using ProcessEntry = PROCESSENTRY32;

std::optional<bool> SearchProcesses(Text& name, bool caseSensitive) {
    ProcessEntry entry{};
    entry.dwSize = sizeof entry;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
    if (!snapshot) return std::nullopt;
    if (!caseSensitive) name = ToLowerText(name.c_str());

    for (BOOL ok = Process32First(snapshot.get(), &entry); ok;
         ok = Process32Next(snapshot.get(), &entry)) {
        Text running = BytesToText(reinterpret_cast<const uint8_t*>(entry.szExeFile),
                                          sizeof entry.szExeFile);
        if (!caseSensitive) running = ToLowerText(running.c_str());
        if (CompareText(name.c_str(), running.c_str()) == 0) return true;
    }
    return false;
}

bool ProcessExists(Text& name, bool caseSensitive) {
    return SearchProcesses(name, caseSensitive).value_or(false);
}

void OnWatchdogTick() {
    Text client = ClientImageName;
    if (ClientIsGone(SearchProcesses(client, false))) StopClientServicesAndExit();
}

void StopClientServicesAndExit() {
    for (const char* service : ServiceKillList) TerminateProcessByName(service);
    RemoveTrayIcon();
    ExitProgram(0);
}

// The client watchdog: the companion lives as long as the client runs.
#pragma once

#include <optional>

#include "services/text.h"

constexpr char ClientImageName[] = "QyClient.exe";

// The client's background processes, ended in this order.
constexpr const char* ServiceKillList[] = {
    "QyFragment.exe",
    "QyKernel.exe",
    "QyPlayer.exe",
    "QiyiService.exe",
};

// Whether a running process's executable file name equals name. Without
// caseSensitive, name becomes its lower-case form and the file names are
// compared lowered too.
bool ProcessExists(Text& name, bool caseSensitive);

// The same search, with nothing as the answer when no process snapshot could
// be taken.
std::optional<bool> SearchProcesses(Text& name, bool caseSensitive);

// A tick shuts down only on a search that looked and did not find the
// client: a failed snapshot decides nothing.
constexpr bool ClientIsGone(std::optional<bool> clientFound) { return clientFound == false; }

// Ending a running process found by window title or executable file name.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "services/text.h"

// Whether two executable file names are the same name: whole text against
// whole text, with case folded the way the system ANSI code page folds it.
// ASCII letters always fold; under a double-byte code page a two-byte
// character folds through the system locale's upper case. Every other byte
// must be equal. Missing (null) and empty texts are alike.
bool SameFileName(const char* first, const char* second);

// One entry of a process snapshot.
struct RunningProcess {
    DWORD id;
    Text fileName;
};

// The process to end for the text: the owner of the window of that title,
// when the owner's own file name is the text, or else the first listed
// process of that file name; nothing when neither is found.
std::optional<DWORD> PickTarget(const char* text, std::optional<DWORD> windowOwner,
                                const std::vector<RunningProcess>& processes);

// Ends one process found from the text (a window title or an executable file
// name) with exit code 0, without waiting for it to go. True when the system
// accepted the termination.
bool TerminateProcessByName(const char* text);

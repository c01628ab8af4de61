// Ending a process found by window title or executable name.
#include "services/process.h"

#include <tlhelp32.h>

#include <cstring>

#include "services/owners.h"

namespace {

// A character's bytes with case folded.
struct Character {
    char bytes[8];
    int length;
    bool operator!=(const Character& o) const {
        return length != o.length || std::memcmp(bytes, o.bytes, static_cast<size_t>(length)) != 0;
    }
};

// ASCII letters raised, a two-byte character raised by the system locale.
// Nothing when the locale cannot map it.
std::optional<Character> FoldedCharacter(const char*& text) {
    const char first = *text++;
    Character folded{};
    if (IsDBCSLeadByte(static_cast<BYTE>(first)) && *text) {
        const char character[2] = {first, *text++};
        folded.length = LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, character, 2,
                                     folded.bytes, sizeof folded.bytes);
        if (folded.length <= 0) return std::nullopt;
        return folded;
    }
    // A lead byte with nothing after it is a byte like any other.
    folded.bytes[0] = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
    folded.length = 1;
    return folded;
}

std::optional<DWORD> WindowOwner(const char* title) {
    const HWND window = FindWindowA(nullptr, title);
    DWORD owner = 0;
    if (!window || !GetWindowThreadProcessId(window, &owner)) return std::nullopt;
    return owner;
}

std::vector<RunningProcess> RunningProcesses() {
    std::vector<RunningProcess> processes;
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return processes;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        processes.push_back({entry.th32ProcessID, entry.szExeFile});
    return processes;
}

bool EndProcess(DWORD id) {
    const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    return process && TerminateProcess(process.get(), 0);
}

}  // namespace

bool SameFileName(const char* first, const char* second) {
    const char* a = first ? first : "";
    const char* b = second ? second : "";
    while (*a && *b) {
        const auto left = FoldedCharacter(a);
        const auto right = FoldedCharacter(b);
        if (!left || !right || *left != *right) return false;
    }
    return !*a && !*b;
}

std::optional<DWORD> PickTarget(const char* text, std::optional<DWORD> windowOwner,
                                const std::vector<RunningProcess>& processes) {
    if (windowOwner)
        for (const auto& process : processes)
            if (process.id == *windowOwner && SameFileName(process.fileName.c_str(), text))
                return process.id;
    for (const auto& process : processes)
        if (SameFileName(process.fileName.c_str(), text)) return process.id;
    return std::nullopt;
}

bool TerminateProcessByName(const char* text) {
    if (!text || !*text) return false;
    // The window comes first: the process list must be taken after it, so
    // that the window's owner is in it.
    const auto owner = WindowOwner(text);
    const auto target = PickTarget(text, owner, RunningProcesses());
    return target && EndProcess(*target);
}

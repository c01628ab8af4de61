// Handing a file to the shell.
#include "services/shell.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

namespace {

constexpr const char* Verbs[] = {"edit", "explore", "find", "open", "print"};
constexpr int ShowCommands[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE};

template <typename T, size_t N>
constexpr bool Numbered(const T (&)[N], int32_t number) {
    return number >= 1 && static_cast<size_t>(number) <= N;
}

}  // namespace

ShellLaunch BuildShellLaunch(int32_t operation, const char* file, const char* parameters,
                             const char* directory, int32_t showMode) {
    return {Numbered(Verbs, operation) ? Verbs[operation - 1] : nullptr, file, parameters,
            directory ? directory : "",
            Numbered(ShowCommands, showMode) ? ShowCommands[showMode - 1] : SW_SHOWNORMAL};
}

void ShellExecuteFile(int32_t operation, const char* file, const char* parameters,
                      const char* directory, int32_t showMode) {
    const ShellLaunch l = BuildShellLaunch(operation, file, parameters, directory, showMode);
    ShellExecuteA(nullptr, l.verb, l.file, l.parameters, l.directory, l.showCommand);
}

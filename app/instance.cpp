// The start-up decision: the first instance of a logon stays resident; a
// later one hands over to it and ends.
#include <string_view>

#include "app/embedded.h"
#include "app/main_window.h"
#include "app/watchdog.h"
#include "resources/resource_names.h"
#include "services/registry.h"
#include "services/shell.h"
#include "services/tray.h"
#include "services/window.h"

namespace {

// Names both the event that marks a resident instance and the registry
// value (directly under HKEY_CURRENT_CONFIG) that holds its window.
constexpr char InstanceMarkerName[] = "aqy";
constexpr int32_t CurrentConfigRoot = 2;
constexpr char TrayTip[] = "Kelvane";
constexpr int32_t OpenOperation = 4;
// A hung resident instance must not hang a second start.
constexpr UINT HandOffTimeoutMs = 3000;

// The marker lives as long as a handle to it: this one is kept until the
// process ends, and never closed.
HANDLE instanceMarker = nullptr;

bool IsResidentWindow(HWND window) {
    char className[64] = {};
    return window && window != MainWindowHwnd() && IsWindow(window) && !GetParent(window) &&
           GetClassNameA(window, className, sizeof className) &&
           std::string_view(className) == MainWindowClassName;
}

// The published handle may be stale, or unwritten where HKEY_CURRENT_CONFIG
// is not writable: it is used only when it names another companion's
// MainWindow, which is otherwise looked for by class.
HWND FindResidentWindow() {
    const auto published = reinterpret_cast<HWND>(
        static_cast<intptr_t>(ReadRegistryNumber(CurrentConfigRoot, InstanceMarkerName)));
    if (IsResidentWindow(published)) return published;
    for (HWND window = nullptr;
         (window = FindWindowExA(nullptr, window, MainWindowClassName, nullptr));)
        if (IsResidentWindow(window)) return window;
    return nullptr;
}

// Marks this process as resident unless another instance already is. A
// start at the same moment as another's may lose the race to create the
// marker: it counts as a later start.
bool AnotherInstanceRuns() {
    instanceMarker = OpenEventA(EVENT_ALL_ACCESS, FALSE, InstanceMarkerName);
    if (instanceMarker) return true;
    instanceMarker = CreateEventA(nullptr, FALSE, FALSE, InstanceMarkerName);
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

void HandOff() {
    if (HWND resident = FindResidentWindow()) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(resident, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG,
                            HandOffTimeoutMs, &ignored);
        // Above all windows, then back to the top of the ordinary ones.
        SetWindowPos(resident, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        SetWindowPos(resident, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
    DestroyMainWindow();
}

void BecomeResident() {
    WriteRegistryNumber(CurrentConfigRoot, InstanceMarkerName, GetMainWindowHandle());
    SetWindowVisible(false);
    const EmbeddedBytes trayIcon = EmbeddedResource(TRAY_ICON_RESOURCE);
    SetTrayIcon(trayIcon.data, trayIcon.size, TrayTip);
    ShellExecuteFile(OpenOperation, ClientImageName);
}

}  // namespace

void OnMainWindowCreated() {
    if (AnotherInstanceRuns())
        HandOff();
    else
        BecomeResident();
}

// How the resident companion answers the user: the tray icon, its menu, and
// requests to close the window.
#include "app/main_window.h"
#include "services/tray.h"
#include "services/window.h"

void OnTrayEvent(int trayEventCode) {
    if (trayEventCode == TrayLeftButtonUp)
        SetWindowVisible(!GetWindowVisible());
    else
        SetWindowTopmost(true);
    if (trayEventCode == TrayRightButtonUp) PopupTrayMenu(MenuList, MenuEntryCount);
}

void OnCloseServicesCommand() { StopClientServicesAndExit(); }

void OnAboutCommand() { SetWindowVisible(true); }

void OnExitCommand() {
    RemoveTrayIcon();
    ExitProgram(0);
}

// The window is never closed: closing only hides it, and log-off or
// shut-down is refused.
bool OnMainWindowCloseRequest() {
    if (GetWindowVisible()) SetWindowVisible(false);
    return false;
}

// MainWindow's notification-area icon, the mouse actions on it, and the tray
// popup menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "services/icon_file.h"
#include "services/owners.h"

constexpr UINT TrayCallbackMessage = WM_APP + 100;
constexpr UINT TrayIconId = 100;
constexpr UINT MenuCommandBase = 20000;

// TrayEventCode values.
constexpr int TrayLeftButtonUp = 1;
constexpr int TrayLeftDoubleClick = 2;
constexpr int TrayRightButtonUp = 3;

// The mouse message of a tray callback as a TrayEventCode; nothing for the
// ones the program does not answer (moves, presses, the middle button...).
std::optional<int> TrayEventFromCallback(LPARAM lParam);

// An entry of MainWindow's menu list. Its command identifier is
// MenuCommandBase plus its position in the list.
struct MenuEntry {
    const char* caption;
    bool inTrayPopup;
};

// The position in a menu list of entryCount entries that a WM_COMMAND's
// wParam selects, or nothing.
std::optional<int> MenuPositionFromCommand(WPARAM wParam, int entryCount);

// An icon from the bytes of an .ico file, at the size of the image taken:
// one 16 pixels wide if there is one, then one 32 wide.
UniqueIcon CreateIconFromFile(const uint8_t* bytes, size_t size);

// What a SetTrayIcon call asks of the shell.
enum class TrayCall { None, Add, Modify, Delete };
TrayCall ChooseTrayCall(bool iconShown, bool newIconMade);

// The shell's first, 88-byte notification record, as sent for the call.
NOTIFYICONDATAA BuildNotifyIconData(TrayCall call, HWND window, HICON icon, const char* tip);

// Shows, replaces or (without an icon) removes MainWindow's icon. MainWindow
// owns the icon shown: a replaced or removed one is destroyed.
void SetTrayIcon(const uint8_t* iconBytes = nullptr, size_t size = 0, const char* tip = nullptr);
void RemoveTrayIcon();
HICON ShownTrayIcon();

// The popup of the menu list's tray items; null if it cannot be built.
UniqueMenu BuildTrayPopup(const MenuEntry* entries, int count);

// Pops the tray items up at the mouse and returns once the menu has closed;
// the chosen item comes back to MainWindow as a WM_COMMAND.
void PopupTrayMenu(const MenuEntry* entries, int count);

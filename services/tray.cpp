#include "services/tray.h"

#include <cstring>

#include "services/window.h"

namespace {

UniqueIcon shownIcon;

// One attempt at an icon: the chosen image, at the width and height its
// bitmap header gives (the height counts the mask rows too).
UniqueIcon CreateIconPreferring(const uint8_t* bytes, size_t size, int preferredWidth) {
    const std::optional<IconImage> image = ChooseIconImage(bytes, size, preferredWidth);
    if (!image) return {};
    auto* data = const_cast<uint8_t*>(bytes + image->offset);
    const auto dataSize = static_cast<DWORD>(image->size);

    BITMAPINFOHEADER header{};
    // A PNG image has no bitmap header: it is taken at its own size.
    if (image->size >= sizeof header && ReadDword(data) == sizeof header)
        std::memcpy(&header, data, sizeof header);
    UniqueIcon icon(CreateIconFromResourceEx(data, dataSize, TRUE, 0x30000, header.biWidth,
                                             header.biHeight / 2, LR_DEFAULTCOLOR));
    if (!icon && header.biBitCount != 16)
        icon.reset(CreateIconFromResource(data, dataSize, TRUE, 0x30000));
    return icon;
}

DWORD ShellMessage(TrayCall call) {
    switch (call) {
    case TrayCall::Add: return NIM_ADD;
    case TrayCall::Modify: return NIM_MODIFY;
    default: return NIM_DELETE;
    }
}

}  // namespace

std::optional<int> TrayEventFromCallback(LPARAM lParam) {
    switch (static_cast<uint32_t>(lParam)) {
    case WM_LBUTTONUP: return TrayLeftButtonUp;
    case WM_LBUTTONDBLCLK: return TrayLeftDoubleClick;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: return TrayRightButtonUp;
    default: return std::nullopt;
    }
}

std::optional<int> MenuPositionFromCommand(WPARAM wParam, int entryCount) {
    const int id = LOWORD(wParam);
    if (id < static_cast<int>(MenuCommandBase) || id - static_cast<int>(MenuCommandBase) >= entryCount)
        return std::nullopt;
    return id - static_cast<int>(MenuCommandBase);
}

UniqueIcon CreateIconFromFile(const uint8_t* bytes, size_t size) {
    UniqueIcon icon = CreateIconPreferring(bytes, size, 16);
    if (!icon) icon = CreateIconPreferring(bytes, size, 32);
    return icon;
}

TrayCall ChooseTrayCall(bool iconShown, bool newIconMade) {
    if (newIconMade) return iconShown ? TrayCall::Modify : TrayCall::Add;
    return iconShown ? TrayCall::Delete : TrayCall::None;
}

NOTIFYICONDATAA BuildNotifyIconData(TrayCall call, HWND window, HICON icon, const char* tip) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = TrayIconId;
    if (call == TrayCall::Add || call == TrayCall::Modify) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = TrayCallbackMessage;
        data.hIcon = icon;
        // 62 bytes at most, even through a double-byte character: bytes 62
        // and 63 stay zero.
        if (tip) std::strncpy(data.szTip, tip, 62);
    }
    return data;
}

void SetTrayIcon(const uint8_t* iconBytes, size_t size, const char* tip) {
    UniqueIcon icon = CreateIconFromFile(iconBytes, size);
    const TrayCall call = ChooseTrayCall(static_cast<bool>(shownIcon), static_cast<bool>(icon));
    if (call != TrayCall::None) {
        NOTIFYICONDATAA data = BuildNotifyIconData(call, MainWindowHwnd(), icon.get(), tip);
        Shell_NotifyIconA(ShellMessage(call), &data);
    }
    // The previous icon is destroyed only now, after the shell has let go.
    shownIcon = std::move(icon);
}

void RemoveTrayIcon() { SetTrayIcon(); }

HICON ShownTrayIcon() { return shownIcon.get(); }

UniqueMenu BuildTrayPopup(const MenuEntry* entries, int count) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (int position = 0; position < count; ++position)
        if (entries[position].inTrayPopup)
            AppendMenuA(menu.get(), MF_STRING, MenuCommandBase + position, entries[position].caption);
    return menu;
}

void PopupTrayMenu(const MenuEntry* entries, int count) {
    UniqueMenu menu = BuildTrayPopup(entries, count);
    if (!menu) return;
    POINT mouse{};
    GetCursorPos(&mouse);
    HWND window = MainWindowHwnd();
    // The window must be foreground or the menu stays open when the user
    // clicks elsewhere; this holds while it is hidden too.
    SetForegroundWindow(window);
    TrackPopupMenu(menu.get(), TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, mouse.x - 5,
                   mouse.y - 5, 0, window, nullptr);
    // Without a message after the menu, its next opening misbehaves.
    PostMessageA(window, WM_NULL, 0, 0);
}

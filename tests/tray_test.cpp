// The notification-area icon, the mouse actions on it, and the tray menu.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/embedded.h"
#include "app/main_window.h"
#include "resources/resource_names.h"
#include "services/tray.h"
#include "services/window.h"
#include "tests/main_window_fixture.h"
#include "tests/support.h"

namespace {

TEST(TrayEventFromCallback, AnswersReleasesAndTheDoubleClickOnly) {
    const struct {
        LPARAM mouse;
        std::optional<int> code;
    } cases[] = {
        {WM_LBUTTONUP, 1},       {WM_LBUTTONDBLCLK, 2},   {WM_RBUTTONUP, 3},
        {WM_CONTEXTMENU, 3},     {WM_MOUSEMOVE, {}},      {WM_LBUTTONDOWN, {}},
        {WM_RBUTTONDOWN, {}},    {WM_RBUTTONDBLCLK, {}},  {WM_MBUTTONUP, {}},
        {WM_MBUTTONDOWN, {}},    {0x10000 | WM_LBUTTONUP, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(TrayEventFromCallback(c.mouse), c.code) << std::hex << c.mouse;
}

TEST(MenuPositionFromCommand, MapsIdentifiersFromTheBaseWithinTheList) {
    const struct {
        WPARAM wParam;
        std::optional<int> position;
    } cases[] = {
        {20000, 0}, {20001, 1}, {20003, 3}, {20004, {}}, {19999, {}}, {0, {}},
        {MAKEWPARAM(20002, 0), 2}, {MAKEWPARAM(20002, 1), 2},  // accelerator flag in the high word
    };
    for (const auto& c : cases) EXPECT_EQ(MenuPositionFromCommand(c.wParam, 4), c.position) << c.wParam;
}

// An icon file's directory with the given entries, followed by the image
// bytes the entries point at.
struct Entry {
    uint8_t width, colours;
    uint32_t size, offset;
};
std::vector<uint8_t> IconFile(std::initializer_list<Entry> entries, size_t total,
                              uint16_t type = 1, uint16_t count = 0) {
    std::vector<uint8_t> bytes(total);
    auto put16 = [&](size_t at, uint16_t v) { bytes[at] = v & 0xFF, bytes[at + 1] = v >> 8; };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    put16(2, type);
    put16(4, count ? count : static_cast<uint16_t>(entries.size()));
    size_t at = 6;
    for (const Entry& e : entries) {
        bytes[at] = bytes[at + 1] = e.width;
        bytes[at + 2] = e.colours;
        put16(at + 4, 1);
        put16(at + 6, 32);
        put32(at + 8, e.size);
        put32(at + 12, e.offset);
        at += 16;
    }
    return bytes;
}

TEST(ChooseIconImage, PrefersAColourEntryOfTheWidthElseTheLast) {
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        int preferred;
        std::optional<size_t> offset;
    } cases[] = {
        {"16 wide with 16 colours among others",
         IconFile({{32, 16, 10, 100}, {16, 16, 10, 110}, {48, 0, 10, 120}}, 200), 16, 110},
        {"16 wide but true colour: the last",
         IconFile({{16, 0, 10, 100}, {32, 0, 10, 110}}, 200), 16, 110},
        {"the first of two matches", IconFile({{16, 16, 10, 100}, {16, 255, 10, 110}}, 200), 16, 100},
        {"the second attempt's width", IconFile({{16, 0, 10, 100}, {32, 16, 10, 110}, {48, 16, 10, 120}}, 200), 32, 110},
        {"a cursor file", IconFile({{16, 16, 10, 100}}, 200, 2), 16, 100},
        {"directory cut short", IconFile({{16, 16, 10, 100}}, 30, 1, 2), 16, {}},
        {"image beyond the end", IconFile({{16, 16, 150, 100}}, 200), 16, {}},
        {"image offset beyond the end", IconFile({{16, 16, 1, 300}}, 200), 16, {}},
        {"no images", IconFile({}, 200), 16, {}},
        {"not an icon file", IconFile({{16, 16, 10, 100}}, 200, 3), 16, {}},
        {"header only", std::vector<uint8_t>{0, 0, 1, 0}, 16, {}},
    };
    for (const auto& c : cases) {
        const std::optional<IconImage> image = ChooseIconImage(c.file.data(), c.file.size(), c.preferred);
        EXPECT_EQ(image ? std::optional<size_t>(image->offset) : std::nullopt, c.offset) << c.what;
    }
}

// A destroyed icon has no bitmaps left to tell its size.
bool IsLiveIcon(HICON icon) { return IconSize(icon).cx > 0; }

TEST(CreateIconFromFile, MakesTheTrayIconAtItsOwnSize) {
    const EmbeddedBytes tray = EmbeddedResource(TRAY_ICON_RESOURCE);
    UniqueIcon icon = CreateIconFromFile(tray.data, tray.size);
    ASSERT_TRUE(icon);
    EXPECT_EQ(IconSize(icon.get()).cx, 72);
    EXPECT_EQ(IconSize(icon.get()).cy, 72);

    const std::vector<uint8_t> garbage(tray.data, tray.data + 200);
    EXPECT_FALSE(CreateIconFromFile(garbage.data(), garbage.size()));
    EXPECT_FALSE(CreateIconFromFile(nullptr, 0));
}

TEST(ChooseTrayCall, AddsModifiesDeletesOrLeavesAlone) {
    EXPECT_EQ(ChooseTrayCall(false, false), TrayCall::None);
    EXPECT_EQ(ChooseTrayCall(false, true), TrayCall::Add);
    EXPECT_EQ(ChooseTrayCall(true, true), TrayCall::Modify);
    EXPECT_EQ(ChooseTrayCall(true, false), TrayCall::Delete);
}

TEST(BuildNotifyIconData, FillsTheFirstRecordForAddAndDelete) {
#ifndef _WIN64
    static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the shell's first record");
#endif
    HWND window = reinterpret_cast<HWND>(0x1234);
    HICON icon = reinterpret_cast<HICON>(0x5678);
    const NOTIFYICONDATAA add = BuildNotifyIconData(TrayCall::Add, window, icon, "Kelvane");
    EXPECT_EQ(add.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(add.hWnd, window);
    EXPECT_EQ(add.uID, 100u);
    EXPECT_EQ(add.uFlags, 7u);
    EXPECT_EQ(add.uCallbackMessage, 0x8064u);
    EXPECT_EQ(add.hIcon, icon);
    EXPECT_STREQ(add.szTip, "Kelvane");
    EXPECT_EQ(BuildNotifyIconData(TrayCall::Modify, window, icon, nullptr).szTip[0], '\0');

    const NOTIFYICONDATAA remove = BuildNotifyIconData(TrayCall::Delete, window, icon, "Kelvane");
    EXPECT_EQ(remove.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(remove.hWnd, window);
    EXPECT_EQ(remove.uID, 100u);
    EXPECT_EQ(remove.uFlags, 0u);
    EXPECT_EQ(remove.uCallbackMessage, 0u);
    EXPECT_EQ(remove.hIcon, nullptr);
    EXPECT_EQ(remove.szTip[0], '\0');
}

TEST(BuildNotifyIconData, CutsTheTooltipAfter62BytesEvenInsideACharacter) {
    const std::string tip = std::string(61, 'a') + "\xB9\xD8" "more";
    const NOTIFYICONDATAA data = BuildNotifyIconData(TrayCall::Add, nullptr, nullptr, tip.c_str());
    EXPECT_EQ(std::string(data.szTip), tip.substr(0, 62));
    EXPECT_EQ(static_cast<uint8_t>(data.szTip[61]), 0xB9);
    EXPECT_EQ(data.szTip[62], '\0');
    EXPECT_EQ(data.szTip[63], '\0');
}

class TrayIconOfMainWindow : public MainWindowTest {
protected:
    void ShowTrayIcon() { SetTrayIcon(tray.data, tray.size, "Kelvane"); }

    EmbeddedBytes tray = EmbeddedResource(TRAY_ICON_RESOURCE);
};

TEST_F(TrayIconOfMainWindow, IsAddedReplacedAndRemovedDestroyingEachOldHandle) {
    EXPECT_FALSE(TrayIconExists(window));
    ShowTrayIcon();
    const HICON first = ShownTrayIcon();
    ASSERT_TRUE(first);
    EXPECT_TRUE(TrayIconExists(window));

    ShowTrayIcon();
    const HICON second = ShownTrayIcon();
    EXPECT_TRUE(TrayIconExists(window));
    EXPECT_TRUE(IsLiveIcon(second));
    EXPECT_FALSE(IsLiveIcon(first)) << "the replaced icon was not destroyed";

    RemoveTrayIcon();
    EXPECT_FALSE(TrayIconExists(window));
    EXPECT_EQ(ShownTrayIcon(), nullptr);
    EXPECT_FALSE(IsLiveIcon(second));
}

TEST_F(TrayIconOfMainWindow, BytesThatMakeNoIconRemoveTheShownOne) {
    ShowTrayIcon();
    const HICON shown = ShownTrayIcon();
    const uint8_t notAnIcon[] = {1, 2, 3, 4, 5, 6, 7, 8};
    SetTrayIcon(notAnIcon, sizeof notAnIcon, "Kelvane");
    EXPECT_FALSE(TrayIconExists(window));
    EXPECT_FALSE(IsLiveIcon(shown));
}

TEST_F(TrayIconOfMainWindow, GoesWithTheWindow) {
    ShowTrayIcon();
    DestroyWindow(window);
    EXPECT_FALSE(TrayIconExists(window));
    EXPECT_EQ(ShownTrayIcon(), nullptr);
}

TEST(BuildTrayPopup, HoldsTheThreeItemsWithTheirIdentifiersAndCaptions) {
    UniqueMenu popup = BuildTrayPopup(MenuList, MenuEntryCount);
    ASSERT_TRUE(popup);
    const struct {
        UINT id;
        const char* caption;
    } expected[] = {
        {20001, "\xB9\xD8\xB1\xD5\xB7\xFE\xCE\xF1"},  // 关闭服务 in code page 936
        {20002, "\xB9\xD8\xD3\xDA"},                  // 关于
        {20003, "\xCD\xCB\xB3\xF6"},                  // 退出
    };
    ASSERT_EQ(GetMenuItemCount(popup.get()), 3);
    for (int i = 0; i < 3; ++i) {
        char caption[64] = {};
        GetMenuStringA(popup.get(), i, caption, sizeof caption, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(popup.get(), i), expected[i].id);
        EXPECT_STREQ(caption, expected[i].caption);
        EXPECT_EQ(GetMenuState(popup.get(), i, MF_BYPOSITION), 0u) << "enabled, unchecked text";
    }
}

HWND OpenPopup() { return FindWindowA("#32768", nullptr); }

RECT popupBounds{};
bool popupSeen = false;

TEST_F(TrayIconOfMainWindow, PopupOpensBelowLeftOfTheMouseAndIsFollowedByANullMessage) {
    SetCursorPos(500, 400);
    popupSeen = false;
    // Runs inside the menu's own loop: notes where the menu is, then closes it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND menu = OpenPopup(); menu && IsWindowVisible(menu)) {
            GetWindowRect(menu, &popupBounds);
            popupSeen = true;
        }
        EndMenu();
    });
    PopupTrayMenu(MenuList, MenuEntryCount);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(popupSeen);
    EXPECT_EQ(popupBounds.right, 495);
    EXPECT_EQ(popupBounds.top, 395);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, window, WM_NULL, WM_NULL, PM_REMOVE));
}

std::vector<int> seen;

class MainWindowRouting : public MainWindowTest {
protected:
    MainWindowEvents Events() override {
        MainWindowEvents events;
        events.trayEvent = [](int code) { seen.push_back(code); };
        events.menuItemSelected = {nullptr, [] { seen.push_back(101); }, [] { seen.push_back(102); },
                                   [] { seen.push_back(103); }};
        return events;
    }
    void SetUp() override {
        seen.clear();
        MainWindowTest::SetUp();
    }
};

TEST_F(MainWindowRouting, MouseActionsOnTheIconBecomeTrayEvents) {
    TrayMouse({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 1})) << "a left double-click";
    seen.clear();
    TrayMouse({WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP});
    EXPECT_EQ(seen, (std::vector<int>{3, 3})) << "a right double-click";
}

TEST_F(MainWindowRouting, MenuCommandsRunTheirItemsHandlers) {
    for (WPARAM id : {20000, 20001, 20002, 20003, 20004, 19999})
        SendMessageA(window, WM_COMMAND, id, 0);
    EXPECT_EQ(seen, (std::vector<int>{101, 102, 103}));
}

}  // namespace

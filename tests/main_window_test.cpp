// MainWindow as Win32 reports it once built.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "services/window.h"
#include "tests/main_window_fixture.h"
#include "tests/support.h"

namespace {

HWND ChildOfClass(HWND parent, const char* className) {
    return FindWindowExA(parent, nullptr, className, nullptr);
}

class BuiltMainWindow : public MainWindowTest {};

TEST_F(BuiltMainWindow, IsAHiddenFixedFrameCentredOnThePrimaryScreen) {
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 450);
    EXPECT_EQ(outer.bottom - outer.top, 290);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 450) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 290) / 2);

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN),
              WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE | WS_DISABLED),
              0);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_APPWINDOW), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(GetWindowVisible());
}

TEST_F(BuiltMainWindow, IsOwnedByAHiddenToolWindowSoItHasNoTaskbarButton) {
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_TRUE(owner);
    EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(GetWindow(owner, GW_OWNER), nullptr);
}

TEST_F(BuiltMainWindow, CarriesItsTitleIconsFontAndAnEmptyMenuBar) {
    EXPECT_EQ(TextOf(window), "Moravik  ----  example.org       by:Tollbrin");

    const auto big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    ASSERT_TRUE(big);
    ASSERT_TRUE(small);
    EXPECT_EQ(IconSize(big).cx, 32);
    EXPECT_EQ(IconSize(small).cx, 16);

    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    HMENU bar = GetMenu(window);
    ASSERT_TRUE(bar);
    EXPECT_EQ(GetMenuItemCount(bar), 0);
}

TEST_F(BuiltMainWindow, HasAShownPictureBoxOverItsClientAreaAndAHiddenTimer) {
    HWND box = ChildOfClass(window, "KelvanePictureBox");
    ASSERT_TRUE(box);
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongA(box, GWL_EXSTYLE), 0);
    RECT bounds;
    GetWindowRect(box, &bounds);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, -3);
    EXPECT_EQ(bounds.top, -1);
    EXPECT_EQ(bounds.right - bounds.left, 450);
    EXPECT_EQ(bounds.bottom - bounds.top, 270);

    HWND timer = ChildOfClass(window, "KelvaneTimer");
    ASSERT_TRUE(timer);
    EXPECT_FALSE(GetWindowLongA(timer, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(BuiltMainWindow, ShowsHidesAndReportsVisibility) {
    SetWindowVisible(true);
    EXPECT_TRUE(GetWindowVisible());
    EXPECT_TRUE(IsWindowVisible(window));
    SetWindowVisible(true);  // already shown: stays shown
    EXPECT_TRUE(GetWindowVisible());
    SetWindowVisible(false);
    EXPECT_FALSE(GetWindowVisible());
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(BuiltMainWindow, TopmostWhileHiddenStaysHiddenAndIsTopmostWhenShown) {
    SetWindowTopmost(true);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowVisible(true);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(BuiltMainWindow, PublishesItsHandleAsA32BitNumber) {
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<intptr_t>(GetMainWindowHandle())), window);
}

TEST_F(BuiltMainWindow, WithoutTheWindowVisibilityIsTheLastValueSet) {
    SetWindowVisible(true);
    DestroyWindow(window);
    EXPECT_EQ(MainWindowHwnd(), nullptr);
    EXPECT_TRUE(GetWindowVisible());
    SetWindowVisible(false);
    EXPECT_FALSE(GetWindowVisible());
}

}  // namespace

// How the resident companion answers the tray and the window's close
// requests, with messages sent as the shell and the system send them.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "services/window.h"
#include "tests/main_window_fixture.h"
#include "tests/support.h"

namespace {

bool menuShown = false;

class TrayCommands : public MainWindowTest {
protected:
    MainWindowEvents Events() override { return CompanionEvents(); }
    // A right-click pops the menu up; this closes it from inside its loop
    // and notes whether it was shown.
    void RightClick() {
        menuShown = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
            HWND menu = FindWindowA("#32768", nullptr);
            menuShown = menu && IsWindowVisible(menu);
            EndMenu();
        });
        TrayMouse({WM_RBUTTONDOWN, WM_RBUTTONUP});
        KillTimer(nullptr, timer);
    }
    bool Visible() const { return IsWindowVisible(window) != FALSE; }
    bool Topmost() const { return GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }
};

TEST_F(TrayCommands, LeftClickShowsThenHidesWithoutTopmost) {
    TrayMouse({WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_TRUE(Visible());
    TrayMouse({WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(Topmost());
}

TEST_F(TrayCommands, DoubleClickLeavesVisibilityAsItWasAndMakesItTopmost) {
    TrayMouse({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(Topmost());
}

TEST_F(TrayCommands, RightClickPopsUpTheMenuAndMakesTheHiddenWindowTopmost) {
    RightClick();
    EXPECT_TRUE(menuShown);
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(Topmost());
    SendMessageA(window, WM_COMMAND, 20002, 0);  // "关于"
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(Topmost()) << "shown above other windows";
}

TEST_F(TrayCommands, AboutShowsAndKeepsShownWithoutTopmost) {
    SendMessageA(window, WM_COMMAND, 20002, 0);
    EXPECT_TRUE(Visible());
    SendMessageA(window, WM_COMMAND, 20002, 0);
    EXPECT_TRUE(Visible());
    EXPECT_FALSE(Topmost());
}

TEST_F(TrayCommands, CloseBoxAndEscapeOnlyHide) {
    SendMessageA(window, WM_COMMAND, 20002, 0);
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box, Alt+F4, the system menu
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(IsWindow(window));

    SendMessageA(window, WM_COMMAND, 20002, 0);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(50);
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(TrayCommands, LogOffAndShutDownQueriesAreRefusedAndHide) {
    SendMessageA(window, WM_COMMAND, 20002, 0);
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_FALSE(Visible());
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE) << "hidden: refused all the same";
    EXPECT_TRUE(IsWindow(window));
}

}  // namespace

// How MainWindow's messages reach its handlers: close requests, the Escape
// key, log-off queries, the deferred destruction and the timer.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "services/window.h"
#include "tests/main_window_fixture.h"
#include "tests/support.h"

namespace {

int closeRequests = 0;
bool closeAnswer = false;
int ticks = 0;

class MainWindowMessages : public MainWindowTest {
protected:
    MainWindowEvents Events() override {
        MainWindowEvents events;
        events.closeRequest = [] {
            ++closeRequests;
            return closeAnswer;
        };
        events.watchdogTick = [] { ++ticks; };
        return events;
    }
    void SetUp() override {
        closeRequests = 0;
        closeAnswer = false;
        ticks = 0;
        MainWindowTest::SetUp();
    }
};

void HoldKeys(std::initializer_list<int> keys) {
    BYTE state[256] = {};
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
}

struct EscapeCase {
    const char* what;
    UINT message;
    WPARAM key;
    std::initializer_list<int> held;
    int expectedCloseRequests;
};

TEST_F(MainWindowMessages, OnlyAPlainEscapeIsACloseRequest) {
    const EscapeCase cases[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, {}, 1},
        {"Escape as a system key", WM_SYSKEYDOWN, VK_ESCAPE, {}, 1},
        {"Ctrl+Escape", WM_KEYDOWN, VK_ESCAPE, {VK_CONTROL}, 0},
        {"Shift+Escape", WM_KEYDOWN, VK_ESCAPE, {VK_SHIFT}, 0},
        {"Alt+Escape", WM_SYSKEYDOWN, VK_ESCAPE, {VK_MENU}, 0},
        {"Enter", WM_KEYDOWN, VK_RETURN, {}, 0},
        {"Escape released", WM_KEYUP, VK_ESCAPE, {}, 0},
    };
    SetWindowVisible(true);
    for (const EscapeCase& c : cases) {
        closeRequests = 0;
        HoldKeys(c.held);
        PostMessageA(window, c.message, c.key, 0);
        PumpFor(50);
        EXPECT_EQ(closeRequests, c.expectedCloseRequests) << c.what;
        EXPECT_TRUE(IsWindow(window)) << c.what << ": a refused close leaves the window";
    }
    HoldKeys({});
}

TEST_F(MainWindowMessages, EscapeInAChildClosesTooButNotInADisabledWindow) {
    HWND box = FindWindowExA(window, nullptr, "KelvanePictureBox", nullptr);
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(50);
    EXPECT_EQ(closeRequests, 1);

    EnableWindow(window, FALSE);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(50);
    EXPECT_EQ(closeRequests, 1);
}

TEST_F(MainWindowMessages, RefusedCloseKeepsTheWindowAllowedCloseDestroysIt) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(IsWindow(window));

    closeAnswer = true;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closeRequests, 2);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MainWindowHwnd(), nullptr);
}

TEST(MainWindowWithoutHandlers, CloseWithNoHandlerDestroysTheWindow) {
    HWND window = BuildMainWindow(MainWindowEvents{});
    ASSERT_TRUE(window);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainWindowMessages, LogOffQueryIsAnsweredByTheCloseRequest) {
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(IsWindow(window));

    closeAnswer = true;
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(closeRequests, 2);
}

TEST_F(MainWindowMessages, DestroyMainWindowWaitsForTheLoop) {
    DestroyMainWindow();
    EXPECT_TRUE(IsWindow(window)) << "destroyed before the caller returned";
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 2000));
    EXPECT_EQ(MainWindowHwnd(), nullptr);
}

TEST_F(MainWindowMessages, AStrayDeferredDestroyMessageDoesNothing) {
    PostMessageA(window, DeferredDestroyMessage, 0, 0);
    PumpFor(50);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindowMessages, EveryTimerMessageIsATick) {
    HWND timer = FindWindowExA(window, nullptr, "KelvaneTimer", nullptr);
    ASSERT_TRUE(timer);
    SendMessageA(timer, WM_TIMER, 1000, 0);
    SendMessageA(timer, WM_TIMER, 7, 0);
    EXPECT_EQ(ticks, 2);
}

TEST_F(MainWindowMessages, SuppressedEventsRunNoHandler) {
    HWND timer = FindWindowExA(window, nullptr, "KelvaneTimer", nullptr);
    SuppressEvents();
    SendMessageA(timer, WM_TIMER, 1000, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(closeRequests, 0);
    ResumeEvents();
}

TEST_F(MainWindowMessages, TheTimerTicksEveryTenSeconds) {
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(PumpUntil([] { return ticks == 1; }, 15000));
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 9500u);
    EXPECT_LE(elapsed, 11500u);
}

}  // namespace

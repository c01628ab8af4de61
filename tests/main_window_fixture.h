// Tests that build MainWindow in their own process, bound to the events the
// test gives (none by default).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/main_window.h"

class MainWindowTest : public testing::Test {
protected:
    virtual MainWindowEvents Events() { return {}; }

    void SetUp() override {
        window = BuildMainWindow(Events());
        ASSERT_TRUE(window);
    }

    // Mouse messages on the tray icon, as the shell sends them.
    void TrayMouse(std::initializer_list<UINT> messages) {
        for (UINT message : messages) SendMessageA(window, TrayCallbackMessage, TrayIconId, message);
    }

    HWND window = nullptr;
};

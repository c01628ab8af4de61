// MainWindow: the companion's one window, its children and its menu, and the
// handlers its events run.
#pragma once

#include <windows.h>

#include <array>

#include "services/tray.h"

// The window class by which a second start finds the resident MainWindow.
constexpr char MainWindowClassName[] = "KelvaneMainWindow";

// The menu list in the order of MainWindow's definition. Entry 0 is TrayMenu
// itself, which is hidden; its items are reached through the tray popup.
constexpr int MenuEntryCount = 4;
constexpr MenuEntry MenuList[MenuEntryCount] = {
    {"托盘菜单", false},
    {"关闭服务", true},
    {"关于", true},
    {"退出", true},
};

// The routines MainWindow's events run. An event without one does nothing.
struct MainWindowEvents {
    void (*created)() = nullptr;
    bool (*closeRequest)() = nullptr;  // true lets the window close
    void (*trayEvent)(int trayEventCode) = nullptr;
    void (*destroying)() = nullptr;
    void (*watchdogTick)() = nullptr;  // 时钟1's periodic event
    std::array<void (*)(), MenuEntryCount> menuItemSelected{};
};

// The companion's own bindings.
MainWindowEvents CompanionEvents();

// Creates HiddenOwnerWindow and, with events suppressed, the hidden
// MainWindow with its children. Null when MainWindow cannot be created.
HWND BuildMainWindow(const MainWindowEvents& events);

// The start routine: prepares the process, builds MainWindow, raises its
// created event and runs the message loop. Answers the loop's exit code.
int RunCompanion(const MainWindowEvents& events);

// The handlers.
void OnMainWindowCreated();
void OnWatchdogTick();
[[noreturn]] void StopClientServicesAndExit();
void OnTrayEvent(int trayEventCode);
[[noreturn]] void OnCloseServicesCommand();
void OnAboutCommand();
[[noreturn]] void OnExitCommand();
bool OnMainWindowCloseRequest();

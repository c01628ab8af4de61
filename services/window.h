// MainWindow's state as the program's logic sees it, the message loop, and
// the ways the process ends.
#pragma once

#include <windows.h>

#include <cstdint>

#include "services/owners.h"

// Posted by DestroyMainWindow; MainWindow destroys itself when the loop
// dispatches it.
constexpr UINT DeferredDestroyMessage = WM_APP + 101;

// Hands the built windows, and the icons MainWindow shows, to this service,
// which releases them when the program ends.
void AdoptProgramWindows(HWND hiddenOwner, HWND mainWindow, UniqueIcon bigIcon,
                         UniqueIcon smallIcon);

// MainWindow, or null once it is destroyed.
HWND MainWindowHwnd();

// While events are suppressed no handler runs.
bool EventsSuppressed();
void SuppressEvents();
void ResumeEvents();

void MarkFirstShowPending();
void SetWindowVisible(bool visible);
bool GetWindowVisible();
void SetWindowTopmost(bool topmost);
int32_t GetMainWindowHandle();
void DestroyMainWindow();
[[noreturn]] void ExitProgram(int32_t exitCode);

// The pieces of MainWindow's window procedure that belong to this service.
void OnDeferredDestroy();
void OnMainWindowGone();

// True when the message was consumed: a plain Escape for MainWindow or one of
// its children becomes a close request.
bool PreTranslateMessage(const MSG& message);

// Runs until WM_QUIT and answers its exit code.
int RunMessageLoop();

// The clean-up that ends every run: no more events, MainWindow's icons
// destroyed, the windows destroyed, OLE released.
void ReleaseProgram();

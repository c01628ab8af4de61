// 时钟1: a hidden child window whose timer runs from its creation to its
// destruction and calls onTick for every WM_TIMER it receives.
#pragma once

#include <windows.h>

constexpr UINT_PTR WatchdogTimerId = 1000;
constexpr UINT WatchdogPeriodMs = 10000;

HWND CreateWatchdogTimer(HWND parent, void (*onTick)());

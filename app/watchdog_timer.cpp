#include "app/watchdog_timer.h"

namespace {

constexpr char TimerClassName[] = "KelvaneTimer";

LRESULT CALLBACK TimerProc(HWND timer, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const auto& create = *reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(timer, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create.lpCreateParams));
        SetTimer(timer, WatchdogTimerId, WatchdogPeriodMs, nullptr);
        return 0;
    }
    case WM_TIMER:
        if (auto onTick = reinterpret_cast<void (*)()>(GetWindowLongPtrA(timer, GWLP_USERDATA)))
            onTick();
        return 0;
    case WM_DESTROY:
        KillTimer(timer, WatchdogTimerId);
        return 0;
    }
    return DefWindowProcA(timer, message, wParam, lParam);
}

}  // namespace

HWND CreateWatchdogTimer(HWND parent, void (*onTick)()) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TimerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = TimerClassName;
    RegisterClassA(&windowClass);  // fails harmlessly once registered

    return CreateWindowExA(0, TimerClassName, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           nullptr, instance, reinterpret_cast<void*>(onTick));
}

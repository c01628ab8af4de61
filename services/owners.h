// Scoped owners for the handles this program makes: each destructor gives its
// handle back, so no early return can leak one.
#pragma once

#include <windows.h>

#include <type_traits>
#include <utility>

template <typename T, auto Release>
class Owned {
public:
    Owned() = default;
    explicit Owned(T handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    T get() const { return handle_; }
    explicit operator bool() const { return Holds(handle_); }

    T release() { return std::exchange(handle_, T{}); }
    void reset(T handle = T{}) {
        if (Holds(handle_)) Release(handle_);
        handle_ = handle;
    }

private:
    // Kernel functions disagree on "no handle": some return null, others
    // INVALID_HANDLE_VALUE. Neither is ever closed.
    static bool Holds(T handle) {
        if constexpr (std::is_same_v<T, HANDLE>)
            return handle != nullptr && handle != INVALID_HANDLE_VALUE;
        else
            return handle != nullptr;
    }

    T handle_{};
};

using UniqueHandle = Owned<HANDLE, CloseHandle>;
using UniqueIcon = Owned<HICON, DestroyIcon>;
using UniqueMenu = Owned<HMENU, DestroyMenu>;
using UniqueKey = Owned<HKEY, RegCloseKey>;
using UniqueBitmap = Owned<HBITMAP, DeleteObject>;
using UniqueMemoryDC = Owned<HDC, DeleteDC>;

// Selects an object into a device context and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint as one scope.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

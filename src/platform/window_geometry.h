#pragma once
// Where a window is, in the coordinates its callers work in, and at which DPI.

#include <windows.h>

namespace tavimo {

// A child's rectangle in its parent's client coordinates, in pixels.
inline RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The window's rectangle on the screen, in pixels.
inline RECT ScreenRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// The DPI the window is drawn at; the system's for no window (or a system that can't tell).
inline UINT WindowDpi(HWND window) {
    const UINT dpi = window ? ::GetDpiForWindow(window) : 0;
    return dpi ? dpi : ::GetDpiForSystem();
}

} // namespace tavimo

#pragma once
// Where a window is, in the coordinates its callers work in.

#include <windows.h>

namespace tavimo {

// A child's rectangle in its parent's client coordinates, in pixels.
inline RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace tavimo

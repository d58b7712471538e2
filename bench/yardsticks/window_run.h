#pragma once
// What both window yardsticks do around their own window: the end of the message loop when it is
// destroyed, and showing, painting and running it.

#include <windows.h>

namespace bench {

inline LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Shows and paints the window, then runs the message loop until it ends: 0, or 1 without a window.
inline int ShowAndRun(HWND window, int show) {
    if (!window) {
        return 1;
    }
    ::ShowWindow(window, show);
    ::UpdateWindow(window);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace bench

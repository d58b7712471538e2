#include "platform/window_subclass.h"

#include "app/busy.h"

#include <utility>

namespace tavimo {

namespace {

struct Subclass {
    HWND window = nullptr;
    WNDPROC previous = nullptr;
    WindowProcHooks hooks;
};
Subclass g_subclass;

// Private to this procedure; registered so it cannot collide with the window's own messages.
UINT UnloadRequestMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Tavimo.UnloadWhenInactive");
    return message;
}

void OnActivate(HWND window, WPARAM wParam) {
    if (wParam != 0 || IsBusy()) {
        return;
    }
    if (g_subclass.hooks.exitWhenInactive && g_subclass.hooks.exitWhenInactive()) {
        ::PostMessageW(window, UnloadRequestMessage(), 0, 0);
    }
}

void OnMouseWheel(HWND window, WPARAM wParam) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(window, &cursor);
    const bool raise = GET_WHEEL_DELTA_WPARAM(wParam) >= 0;
    const WindowProcHooks& hooks = g_subclass.hooks;
    if (!hooks.volumeButtons) {
        return;
    }
    const VolumePath path = hooks.volumePath ? hooks.volumePath() : VolumePathNow();
    if (WheelVolumeStep(cursor, raise, hooks.volumeButtons(), path, window) && hooks.refreshVolume) {
        auto refresh = hooks.refreshVolume;
        refresh();
    }
}

} // namespace

bool InstallWindowProc(HWND window, WindowProcHooks hooks) {
    if (g_subclass.window || !window) {
        return false;
    }
    // 0 is also a valid old value, so only the last error tells a failure apart.
    ::SetLastError(0);
    const LONG_PTR previous =
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    if (previous == 0 && ::GetLastError() != 0) {
        return false;
    }
    g_subclass.window = window;
    g_subclass.previous = reinterpret_cast<WNDPROC>(previous);
    g_subclass.hooks = std::move(hooks);
    return true;
}

void RemoveWindowProc() {
    if (g_subclass.window && ::IsWindow(g_subclass.window)) {
        ::SetWindowLongPtrW(g_subclass.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_subclass.previous));
    }
    g_subclass = {};
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = g_subclass.previous;
    if (!previous) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_ACTIVATE) {
        OnActivate(window, wParam);
    } else if (message == WM_MOUSEWHEEL) {
        OnMouseWheel(window, wParam);
    }
    const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed without an unload: nothing left to restore.
        g_subclass = {};
    } else if (message == UnloadRequestMessage() && g_subclass.window == window) {
        // Copied first: the unload removes the subclass and with it these hooks.
        auto unload = g_subclass.hooks.unload;
        if (unload) {
            unload();
        }
    }
    return result;
}

} // namespace tavimo

#include "platform/foreground.h"

#include "platform/unique_handle.h"

namespace tavimo {

bool ForceForeground(HWND window) {
    const HWND foreground = ::GetForegroundWindow();
    if (!foreground) {
        return false;
    }
    const DWORD foregroundThread = ::GetWindowThreadProcessId(foreground, nullptr);
    if (foregroundThread == 0) {
        return false;
    }
    const DWORD ownThread = ::GetCurrentThreadId();
    if (foregroundThread == ownThread) {
        ::SetForegroundWindow(window);
        return ::GetForegroundWindow() == window;
    }
    if (!::AttachThreadInput(ownThread, foregroundThread, TRUE)) {
        return false;
    }
    // Detached again whatever the two calls in between do.
    scope_exit detach([&] { ::AttachThreadInput(ownThread, foregroundThread, FALSE); });
    ::SetForegroundWindow(window);
    ::BringWindowToTop(window);
    return ::GetForegroundWindow() == window;
}

} // namespace tavimo

#pragma once
// Bringing a window to the foreground even when another process owns the foreground.

#include <windows.h>

namespace tavimo {

// Attaches this thread's input to the foreground window's thread for the moment of SetForegroundWindow
// and BringWindowToTop, and detaches again on every path. Nothing happens when there is no foreground
// window (or its thread can't be told). True when `window` is the foreground window afterwards.
bool ForceForeground(HWND window);

} // namespace tavimo

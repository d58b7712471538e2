#pragma once
// Closing every ordinary top-level window of the desktop in one pass, politely (WM_CLOSE, as the close
// box would) or forcibly (WM_QUIT, ending the window's thread loop without asking). Shell folder
// windows are closed by typing Alt+F4 into them; the desktop is never touched.

#include <windows.h>

#include <string_view>

namespace tavimo {

enum class CloseMode { Normal, Forced };

enum class CloseAction { Skip, AltF4, Close, Quit };

// What the rules look at in one top-level window.
struct WindowFacts {
    bool visible;
    bool owned;
    std::wstring_view title;
    std::wstring_view className;
};

// The rules, in this order: a hidden, owned or untitled window is skipped; a shell folder window (class
// starting with "CabinetWClass" or "ExploreWClass") gets Alt+F4 in either mode; the desktop (class
// starting with "Progman") is skipped; any other window gets WM_CLOSE, or WM_QUIT when forced. Class
// names compare case-sensitively.
CloseAction CloseRule(const WindowFacts& window, CloseMode mode);

// Lists the top-level windows: EnumWindows unless a test has put in a list of its own.
using EnumWindowsFunction = decltype(&::EnumWindows);
extern EnumWindowsFunction g_enumWindows;

// One pass over every top-level window, to the end whatever each window does. WM_CLOSE waits until the
// window has handled it (a program asking to save holds the pass) unless its thread is hung. Alt+F4
// goes only to a shell folder window that came to the foreground; one on a hung thread is left alone.
// `keepForLast`, the caller's own window, is not touched: the caller closes it after the pass through
// its own path. True when the rules would have closed it.
bool CloseAllWindows(CloseMode mode, HWND keepForLast = nullptr);

} // namespace tavimo

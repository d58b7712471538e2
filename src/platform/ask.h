#pragma once
// Every confirmation and message box goes through Ask, so handler tests can script the answers.

#include <windows.h>

namespace tavimo {

using AskFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// The box in use; MessageBoxW unless a test has put its own in.
extern AskFunction g_ask;

inline int Ask(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return g_ask(owner, text, caption, type);
}

} // namespace tavimo

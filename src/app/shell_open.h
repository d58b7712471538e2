#pragma once

#include <windows.h>

#include <string>

namespace tavimo {

// The program's home page, opened from the Help menu.
inline constexpr wchar_t kHomePageUrl[] = L"https://orvane.github.io/tavimo/";

// Asks the shell to open a file or web address; the shell shows no error box of its own. True when
// the shell reports success.
bool ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters,
               const std::wstring& directory);

} // namespace tavimo

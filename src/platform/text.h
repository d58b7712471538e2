#pragma once
// Text conversions: the program is UTF-16 inside; the ANSI entry points and files it shares with
// other programs speak the system code page.

#include <string>
#include <string_view>

namespace tavimo {

// 0 is CP_ACP, the system's ANSI code page.
inline constexpr unsigned kAnsiCodePage = 0;

// Bytes in `codePage` as UTF-16; characters the code page can't map become what the system maps them to.
std::wstring AnsiToWide(std::string_view text, unsigned codePage = kAnsiCodePage);

// UTF-16 as bytes in `codePage`; characters it lacks become the system's default character.
std::string WideToAnsi(std::wstring_view text, unsigned codePage = kAnsiCodePage);

// Lower case as the system maps it (Japanese full-width letters included).
std::wstring ToLower(std::wstring_view text);

} // namespace tavimo

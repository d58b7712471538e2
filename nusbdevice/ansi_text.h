#pragma once
// Text conversions at the library's boundary: callers read ANSI strings in the system code page.

#include <string>
#include <string_view>

namespace tavimo::nusb {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToAnsi(std::wstring_view wide);

// CopyToCallerBuffer with the system code page's lead bytes.
int CopyAnsiToCaller(std::string_view ansi, char* buffer, int length);

} // namespace tavimo::nusb

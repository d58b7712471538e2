#pragma once
// Text at the library's boundary: callers read ANSI strings in the system code page.

#include <string_view>

namespace tavimo::nusb {

// CopyToCallerBuffer with the system code page's lead bytes.
int CopyAnsiToCaller(std::string_view ansi, char* buffer, int length);

} // namespace tavimo::nusb

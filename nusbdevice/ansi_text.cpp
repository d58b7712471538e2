#include "ansi_text.h"

#include "device_match.h"
#include "platform/text.h"

#include <windows.h>

namespace tavimo::nusb {

std::wstring Utf8ToWide(std::string_view utf8) {
    return AnsiToWide(utf8, CP_UTF8);
}

std::string WideToAnsi(std::wstring_view wide) {
    return tavimo::WideToAnsi(wide);
}

int CopyAnsiToCaller(std::string_view ansi, char* buffer, int length) {
    return CopyToCallerBuffer(ansi, buffer, length,
                              [](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
}

} // namespace tavimo::nusb

#include "ansi_text.h"

#include "device_match.h"

#include <windows.h>

namespace tavimo::nusb {

int CopyAnsiToCaller(std::string_view ansi, char* buffer, int length) {
    return CopyToCallerBuffer(ansi, buffer, length,
                              [](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
}

} // namespace tavimo::nusb

#include "ansi_text.h"

#include "device_match.h"

#include <windows.h>

namespace tavimo::nusb {

std::wstring Utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), needed);
    return wide;
}

std::string WideToAnsi(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), needed, nullptr, nullptr);
    return ansi;
}

int CopyAnsiToCaller(std::string_view ansi, char* buffer, int length) {
    return CopyToCallerBuffer(ansi, buffer, length,
                              [](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
}

} // namespace tavimo::nusb

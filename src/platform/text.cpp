#include "platform/text.h"

#include <windows.h>

#include <climits>

namespace tavimo {

namespace {
// The conversion calls count in int: longer input is cut rather than wrapped to a negative length.
int ClampedLength(size_t size) {
    return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}
} // namespace

std::wstring AnsiToWide(std::string_view text, unsigned codePage) {
    const int length = ClampedLength(text.size());
    if (length == 0) {
        return {};
    }
    const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    const int written = ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
    wide.resize(static_cast<size_t>(written > 0 ? written : 0));
    return wide;
}

std::string WideToAnsi(std::wstring_view text, unsigned codePage) {
    const int length = ClampedLength(text.size());
    if (length == 0) {
        return {};
    }
    const int needed = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string ansi(static_cast<size_t>(needed), '\0');
    const int written =
        ::WideCharToMultiByte(codePage, 0, text.data(), length, ansi.data(), needed, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(written > 0 ? written : 0));
    return ansi;
}

std::wstring ToLower(std::wstring_view text) {
    std::wstring lower(text);
    if (!lower.empty()) {
        ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    }
    return lower;
}

} // namespace tavimo

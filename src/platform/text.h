#pragma once
// Text conversions: the program is UTF-16 inside; the ANSI entry points and files it shares with
// other programs speak the system code page.

#include <concepts>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

namespace tavimo {

// 0 is CP_ACP, the system's ANSI code page.
inline constexpr unsigned kAnsiCodePage = 0;

// Bytes in `codePage` as UTF-16; characters the code page can't map become what the system maps them to.
std::wstring AnsiToWide(std::string_view text, unsigned codePage = kAnsiCodePage);

// UTF-16 as bytes in `codePage`; characters it lacks become the system's default character.
std::string WideToAnsi(std::wstring_view text, unsigned codePage = kAnsiCodePage);

// Lower case as the system maps it (Japanese full-width letters included).
std::wstring ToLower(std::wstring_view text);

// A whole number in decimal digits, as std::to_wstring writes it, without the C runtime's formatter
// (the one behind std::to_wstring is the biggest part of a small program).
template <std::integral T> std::wstring DecimalText(T number) {
    using Unsigned = std::make_unsigned_t<T>;
    auto magnitude = static_cast<Unsigned>(number);
    bool negative = false;
    if constexpr (std::is_signed_v<T>) {
        negative = number < 0;
        if (negative) {
            magnitude = static_cast<Unsigned>(Unsigned{0} - magnitude); // exact for the most negative too
        }
    }
    wchar_t digits[24];
    wchar_t* const end = std::end(digits);
    wchar_t* first = end;
    do {
        *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude = static_cast<Unsigned>(magnitude / 10);
    } while (magnitude != 0);
    if (negative) {
        *--first = L'-';
    }
    return std::wstring(first, end);
}

} // namespace tavimo

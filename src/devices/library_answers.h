#pragma once
// What the device library hands back, read defensively: the library is a separate file anybody can
// replace, so its counts, flags and buffers are taken as hostile. Plain values only.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavimo {

// Each text call gets a buffer of this many bytes and is told so.
inline constexpr int kLibraryTextBufferSize = 256;

// The bytes a text call left in `buffer` of `size` bytes: up to the first NUL, and never the last
// byte, which stands in for the terminator a careless library forgot.
std::string_view LibraryText(const char* buffer, std::size_t size);

// How many device numbers to ask about for a reported count: none for a negative count, and no more
// than the 16-bit device numbers reach, so a huge count lists what fits instead of wrapping round.
int DeviceNumbersToAsk(int reportedCount);

// The removable answer is a 16-bit Boolean in the low word; whatever the high word holds is ignored.
bool IsRemovableAnswer(int answer);

// The text before the first NUL, or the whole text when it holds none.
std::wstring_view TrimNull(std::wstring_view text);

// "friendly name (E:)", the description standing in for an empty friendly name.
std::wstring DeviceRowText(std::wstring_view friendlyName, std::wstring_view description,
                           std::wstring_view letter);

} // namespace tavimo

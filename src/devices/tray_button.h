#pragma once
// The notification toolbar's answers, decoded from the bytes the shell wrote into our buffer in its
// process. Plain functions over bytes, with no system header: everything here comes from another
// process and is treated as untrusted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tavimo {

// The pointer width of the shell process that owns the toolbar; it sets the button record's layout.
enum class PointerWidth { Bits32, Bits64 };

// The toolbar's button record (TBBUTTON): 20 bytes from a 32-bit shell, 32 from a 64-bit one.
inline constexpr std::size_t kButtonRecordBytes32 = 20;
inline constexpr std::size_t kButtonRecordBytes64 = 32;
std::size_t ButtonRecordBytes(PointerWidth width);

// The buffer committed in the shell's process for the toolbar's answers, and the upper bound of a text
// read back from it.
inline constexpr std::size_t kRemoteBufferBytes = 65536;

inline constexpr std::uint8_t kButtonHidden = 0x08; // TBSTATE_HIDDEN

struct TrayButton {
    std::int32_t image = 0;
    std::int32_t command = 0;
    std::uint8_t state = 0;
    std::uint8_t style = 0;
    std::uint64_t data = 0;
    std::uint64_t text = 0; // an address in the shell's process, or a string-table index
};

// The record in the given layout; nothing when there are fewer bytes than the layout holds.
std::optional<TrayButton> DecodeButtonRecord(std::span<const std::uint8_t> bytes, PointerWidth width);

// True when the record's text field is an address in the shell's process rather than an index. In
// 32 bits that is "the upper 16 bits are not zero"; in 64 bits the value is above 0xFFFF, since a
// 64-bit address's top 16 bits are normally zero.
bool TextIsPointer(const TrayButton& button);

struct ButtonRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The rectangle the toolbar writes for TB_GETRECT: four 32-bit edges in both layouts.
inline constexpr std::size_t kButtonRectBytes = 16;
std::optional<ButtonRect> DecodeButtonRect(std::span<const std::uint8_t> bytes);

// Bytes to read for a text the toolbar says is `lengthInChars` UTF-16 units long: 0 (skip the button)
// when the length is not positive or the text would not fit the buffer.
std::size_t TextBytesToRead(std::int64_t lengthInChars);

// The tooltip of the system's safely-remove-hardware icon.
inline constexpr std::u16string_view kSafelyRemoveText = u"ハードウェアの安全な取り外し";

// True when the little-endian UTF-16 bytes are exactly kSafelyRemoveText, nothing more or less.
bool IsSafelyRemoveText(std::span<const std::uint8_t> utf16);

// The mouse message's lParam for the button's top-left corner inside the client area: y in the upper
// and x in the lower 16 bits.
std::uint32_t PackClickPoint(std::int32_t clientLeft, std::int32_t clientTop, const ButtonRect& button);

// The layout to read a shell's records in, from this build's pointer width and the two processes'
// WOW64 states. Nothing when this build can't read the shell: a 32-bit build facing a 64-bit shell.
std::optional<PointerWidth> ShellPointerWidth(bool selfIs64Bit, bool selfIsWow64, bool shellIsWow64);

} // namespace tavimo

#include "devices/tray_button.h"

namespace tavimo {

namespace {

// Little-endian reads at an offset the caller has checked against the size.
std::uint64_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = size; i > 0; --i) {
        value = (value << 8) | bytes[offset + i - 1];
    }
    return value;
}

std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadLittleEndian(bytes, offset, 4)));
}

} // namespace

std::size_t ButtonRecordBytes(PointerWidth width) {
    return width == PointerWidth::Bits64 ? kButtonRecordBytes64 : kButtonRecordBytes32;
}

std::optional<TrayButton> DecodeButtonRecord(std::span<const std::uint8_t> bytes, PointerWidth width) {
    if (bytes.size() < ButtonRecordBytes(width)) {
        return std::nullopt;
    }
    TrayButton button;
    button.image = ReadInt32(bytes, 0);
    button.command = ReadInt32(bytes, 4);
    button.state = bytes[8];
    button.style = bytes[9];
    if (width == PointerWidth::Bits64) {
        // Six reserved bytes align the two pointer-sized fields to 8.
        button.data = ReadLittleEndian(bytes, 16, 8);
        button.text = ReadLittleEndian(bytes, 24, 8);
    } else {
        button.data = ReadLittleEndian(bytes, 12, 4);
        button.text = ReadLittleEndian(bytes, 16, 4);
    }
    return button;
}

bool TextIsPointer(const TrayButton& button) {
    return button.text > 0xFFFF;
}

std::optional<ButtonRect> DecodeButtonRect(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kButtonRectBytes) {
        return std::nullopt;
    }
    return ButtonRect{ReadInt32(bytes, 0), ReadInt32(bytes, 4), ReadInt32(bytes, 8), ReadInt32(bytes, 12)};
}

std::size_t TextBytesToRead(std::int64_t lengthInChars) {
    constexpr std::int64_t kMaxChars = static_cast<std::int64_t>(kRemoteBufferBytes / 2);
    if (lengthInChars <= 0 || lengthInChars > kMaxChars) {
        return 0;
    }
    return static_cast<std::size_t>(lengthInChars) * 2;
}

bool IsSafelyRemoveText(std::span<const std::uint8_t> utf16) {
    if (utf16.size() != kSafelyRemoveText.size() * 2) {
        return false;
    }
    for (std::size_t i = 0; i < kSafelyRemoveText.size(); ++i) {
        if (ReadLittleEndian(utf16, i * 2, 2) != kSafelyRemoveText[i]) {
            return false;
        }
    }
    return true;
}

std::uint32_t PackClickPoint(std::int32_t clientLeft, std::int32_t clientTop, const ButtonRect& button) {
    // Unsigned sums: the rectangle comes from another process and may be anything.
    const std::uint32_t x =
        (static_cast<std::uint32_t>(clientLeft) + static_cast<std::uint32_t>(button.left)) & 0xFFFFu;
    const std::uint32_t y =
        (static_cast<std::uint32_t>(clientTop) + static_cast<std::uint32_t>(button.top)) & 0xFFFFu;
    return (y << 16) | x;
}

std::optional<PointerWidth> ShellPointerWidth(bool selfIs64Bit, bool selfIsWow64, bool shellIsWow64) {
    if (selfIs64Bit || shellIsWow64) {
        return shellIsWow64 ? PointerWidth::Bits32 : PointerWidth::Bits64;
    }
    // A 32-bit build: on a 32-bit system every process is 32-bit; on a 64-bit one (this process under
    // WOW64) a shell outside WOW64 is 64-bit, and its addresses are out of this build's reach.
    if (selfIsWow64) {
        return std::nullopt;
    }
    return PointerWidth::Bits32;
}

} // namespace tavimo

// What the notification toolbar wrote into our buffer in the shell's process: button records in either
// layout, a rectangle, a text length and the text itself, all from another process.
// Input: one byte choosing the layout (bit 0) and what the rest is read as (bits 1-2), then the bytes.

#include "devices/tray_button.h"

#include "fuzz_support.h"

#include <cstdint>
#include <span>

using namespace tavimo;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    const std::uint8_t choice = in.Byte();
    const PointerWidth width = (choice & 1) ? PointerWidth::Bits64 : PointerWidth::Bits32;
    const std::span<const std::uint8_t> rest = size > 0 ? std::span(data + 1, size - 1) : std::span(data, 0);

    switch ((choice >> 1) & 3) {
    case 0: {
        const auto button = DecodeButtonRecord(rest, width);
        Check(button.has_value() == (rest.size() >= ButtonRecordBytes(width)),
              "a record only from a whole one");
        if (button && width == PointerWidth::Bits32) {
            Check(button->text <= 0xFFFFFFFFu && button->data <= 0xFFFFFFFFu, "32-bit fields stay 32 bits");
            Check(TextIsPointer(*button) == (button->text > 0xFFFFu), "an address has its upper half set");
        }
        if (button && width == PointerWidth::Bits64) {
            Check(TextIsPointer(*button) == (button->text > 0xFFFFu), "an address lies above the indices");
        }
        break;
    }
    case 1: {
        const auto rect = DecodeButtonRect(rest);
        Check(rect.has_value() == (rest.size() >= kButtonRectBytes), "a rectangle only from 16 bytes");
        if (rect) {
            const std::int32_t clientLeft = in.Int();
            const std::int32_t clientTop = in.Int();
            const std::uint32_t point = PackClickPoint(clientLeft, clientTop, *rect);
            const auto low = static_cast<std::uint16_t>(static_cast<std::uint32_t>(clientLeft) +
                                                        static_cast<std::uint32_t>(rect->left));
            const auto high = static_cast<std::uint16_t>(static_cast<std::uint32_t>(clientTop) +
                                                         static_cast<std::uint32_t>(rect->top));
            Check(point == (std::uint32_t{high} << 16 | low), "x low, y high, each its own 16 bits");
        }
        break;
    }
    case 2: {
        std::int64_t length = 0;
        for (int i = 0; i < 8; ++i) {
            length = static_cast<std::int64_t>(static_cast<std::uint64_t>(length) << 8 | in.Byte());
        }
        const std::size_t bytes = TextBytesToRead(length);
        Check(bytes == 0 || (length > 0 && bytes == static_cast<std::uint64_t>(length) * 2),
              "two bytes a character, or nothing");
        Check(bytes <= kRemoteBufferBytes, "never more than the buffer holds");
        break;
    }
    default: {
        const bool match = IsSafelyRemoveText(rest);
        Check(!match || rest.size() == kSafelyRemoveText.size() * 2, "exactly the tooltip, nothing more");
        if (match) {
            for (std::size_t i = 0; i < kSafelyRemoveText.size(); ++i) {
                Check((rest[2 * i] | rest[2 * i + 1] << 8) == kSafelyRemoveText[i], "the same characters");
            }
        }
        const auto layout = ShellPointerWidth(choice & 8, choice & 16, choice & 32);
        Check(!(choice & 8) || layout.has_value(), "a 64-bit build reads any shell");
        break;
    }
    }
    return 0;
}

// The notification toolbar's answers decoded from byte images, as a shell of either width writes them.
#include "devices/tray_button.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tavimo {
namespace {

// "01 00 ff" -> {0x01, 0x00, 0xff}; the images read as they lie in memory.
std::vector<std::uint8_t> Bytes(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    std::istringstream in(hex);
    std::string pair;
    while (in >> pair) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> Utf16Le(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(TrayButton_Record, DecodesBothLayoutsAndTellsAddressesFromIndices) {
    struct Case {
        const char* name;
        PointerWidth width;
        std::string image;
        std::optional<TrayButton> expected;
        bool textIsPointer;
    };
    const Case cases[] = {
        {"32-bit, address", PointerWidth::Bits32,
         "fe ff ff ff 68 00 00 00 08 10 aa bb 44 33 22 11 00 10 b2 00",
         TrayButton{-2, 104, 0x08, 0x10, 0x11223344, 0x00B21000}, true},
        {"32-bit, lowest address", PointerWidth::Bits32,
         "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00", TrayButton{0, 1, 0, 0, 0, 0x10000},
         true},
        {"32-bit, string index", PointerWidth::Bits32,
         "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 ff ff 00 00", TrayButton{0, 1, 0, 0, 0, 0xFFFF},
         false},
        {"32-bit, extra bytes ignored", PointerWidth::Bits32,
         "00 00 00 00 02 00 00 00 04 00 00 00 00 00 00 00 00 00 40 00 ee ee ee ee",
         TrayButton{0, 2, 0x04, 0, 0, 0x400000}, true},
        {"64-bit, address with reserved bytes set", PointerWidth::Bits64,
         "03 00 00 00 68 00 00 00 08 00 de ad be ef 12 34 88 77 66 55 44 33 22 11 78 56 34 12 f6 7f 00 00",
         TrayButton{3, 104, 0x08, 0, 0x1122334455667788, 0x00007FF612345678}, true},
        {"64-bit, address above 4 GiB with a zero low half", PointerWidth::Bits64,
         "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00",
         TrayButton{0, 1, 0, 0, 0, 0x100000000}, true},
        {"64-bit, string index", PointerWidth::Bits64,
         "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ff ff 00 00 00 00 00 00",
         TrayButton{0, 1, 0, 0, 0, 0xFFFF}, false},
        {"32-bit, one byte short", PointerWidth::Bits32,
         "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 01", std::nullopt, false},
        {"64-bit read from a 32-bit record", PointerWidth::Bits64,
         "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00", std::nullopt, false},
        {"nothing", PointerWidth::Bits64, "", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> bytes = Bytes(c.image);
        const auto button = DecodeButtonRecord(bytes, c.width);
        ASSERT_EQ(button.has_value(), c.expected.has_value());
        if (!button) {
            continue;
        }
        EXPECT_EQ(button->image, c.expected->image);
        EXPECT_EQ(button->command, c.expected->command);
        EXPECT_EQ(button->state, c.expected->state);
        EXPECT_EQ(button->style, c.expected->style);
        EXPECT_EQ(button->data, c.expected->data);
        EXPECT_EQ(button->text, c.expected->text);
        EXPECT_EQ(TextIsPointer(*button), c.textIsPointer);
    }
}

TEST(TrayButton_Rect, DecodesSixteenBytesOnly) {
    const auto rect = DecodeButtonRect(Bytes("f6 ff ff ff 02 00 00 00 30 01 00 00 18 00 00 00"));
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, -10);
    EXPECT_EQ(rect->top, 2);
    EXPECT_EQ(rect->right, 304);
    EXPECT_EQ(rect->bottom, 24);
    EXPECT_FALSE(DecodeButtonRect(Bytes("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")));
}

TEST(TrayButton_Text, LengthIsBoundByTheBuffer) {
    const std::pair<std::int64_t, std::size_t> cases[] = {
        {-1, 0}, {0, 0}, {1, 2}, {14, 28}, {32768, 65536}, {32769, 0}, {INT64_MAX, 0}, {INT64_MIN, 0},
    };
    for (const auto& [length, bytes] : cases) {
        EXPECT_EQ(TextBytesToRead(length), bytes) << length;
    }
}

TEST(TrayButton_Text, OnlyTheExactTooltipMatches) {
    std::vector<std::uint8_t> withNul = Utf16Le(u"ハードウェアの安全な取り外し");
    withNul.insert(withNul.end(), {0, 0});
    std::vector<std::uint8_t> odd = Utf16Le(u"ハードウェアの安全な取り外し");
    odd.pop_back();
    std::vector<std::uint8_t> bigEndian;
    for (const char16_t unit : std::u16string_view(u"ハードウェアの安全な取り外し")) {
        bigEndian.push_back(static_cast<std::uint8_t>(unit >> 8));
        bigEndian.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    }
    const std::pair<std::vector<std::uint8_t>, bool> cases[] = {
        {Utf16Le(u"ハードウェアの安全な取り外し"), true},
        {Utf16Le(u"ハードウェアの安全な取り外す"), false},
        {Utf16Le(u"ハードウェアの安全な取り外しとメディアの取り出し"), false},
        {Utf16Le(u"ハードウェアの安全な取り外"), false},
        {Utf16Le(u"Safely Remove Hardware"), false},
        {withNul, false},
        {odd, false},
        {bigEndian, false},
        {{}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(IsSafelyRemoveText(cases[i].first), cases[i].second) << "case " << i;
    }
}

TEST(TrayButton_Click, PointPacksYHighAndXLow) {
    struct Case {
        std::int32_t clientLeft, clientTop;
        ButtonRect button;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0, 0, {15, 3, 39, 27}, 0x0003000F},
        {2, 5, {10, 20, 30, 40}, 0x0019000C},
        {0, 0, {-1, 0, 5, 5}, 0x0000FFFF},                // each half keeps its own 16 bits
        {0, 0, {70000, 1, 70010, 9}, 0x00011170},         // 70000 & 0xFFFF
        {INT32_MAX, INT32_MAX, {1, 1, 2, 2}, 0x00000000}, // wraps instead of overflowing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PackClickPoint(c.clientLeft, c.clientTop, c.button), c.expected) << c.button.left;
    }
}

TEST(TrayButton_Width, LayoutFollowsTheShellAndA32BitBuildLeavesA64BitShellAlone) {
    struct Case {
        bool selfIs64Bit, selfIsWow64, shellIsWow64;
        std::optional<PointerWidth> expected;
    };
    const Case cases[] = {
        {true, false, false, PointerWidth::Bits64},  {true, false, true, PointerWidth::Bits32},
        {false, true, true, PointerWidth::Bits32},   // both under WOW64
        {false, false, false, PointerWidth::Bits32}, // a 32-bit system
        {false, true, false, std::nullopt},          // 32-bit build, 64-bit shell
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellPointerWidth(c.selfIs64Bit, c.selfIsWow64, c.shellIsWow64), c.expected)
            << c.selfIs64Bit << c.selfIsWow64 << c.shellIsWow64;
    }
}

} // namespace
} // namespace tavimo

#include "devices/device_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tavimo {
namespace {

TEST(DeviceList_RowText, FriendlyNameElseDescription) {
    EXPECT_EQ(DeviceRowText(L"USB DISK", L"ディスク ドライブ", L"E"), L"USB DISK (E:)");
    EXPECT_EQ(DeviceRowText(L"", L"USB 大容量記憶装置", L"F"), L"USB 大容量記憶装置 (F:)");
}

TEST(DeviceList_CdRowText, ThreeFormsByDriveState) {
    struct Case {
        CdDrive drive;
        const wchar_t* text;
    };
    const Case cases[] = {
        {{L"D:", false, L"IGNORED"}, L"CD-ROM ドライブ (D:)"},
        {{L"D:", true, L""}, L"CD-ROM ドライブ (D:) is ready"},
        {{L"Q:", true, L"DATA"}, L"DATA (Q:) is ready"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CdRowText(c.drive), c.text);
    }
}

TEST(DeviceList_TrimNull, CutsAtFirstNul) {
    using namespace std::string_view_literals;
    EXPECT_EQ(TrimNull(L"abc\0def"sv), L"abc");
    EXPECT_EQ(TrimNull(L"abc"sv), L"abc");
    EXPECT_EQ(TrimNull(L"\0abc"sv), L"");
}

TEST(DeviceList_LibraryText, EndsAtTheFirstNulAndNeverAtTheBuffersLastByte) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string buffer;
        std::string text;
    };
    const Case cases[] = {
        {"letter and NULs", "E"s + std::string(255, '\0'), "E"},
        {"NUL first", "\0abc"s + std::string(252, 'x'), ""},
        {"255 bytes and the NUL", std::string(255, 'x') + '\0', std::string(255, 'x')},
        {"no NUL anywhere", std::string(256, 'x'), std::string(255, 'x')},
        {"a one-byte buffer holds only the terminator", "x", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LibraryText(c.buffer.data(), c.buffer.size()), c.text) << c.name;
    }
    EXPECT_EQ(LibraryText(nullptr, 0), "");
}

TEST(DeviceList_LibraryNumbers, CountStaysInSixteenBitsAndOnlyTheLowWordSaysRemovable) {
    const std::pair<int, int> counts[] = {{INT_MIN, 0},   {-1, 0},        {0, 0},          {3, 3},
                                          {32768, 32768}, {32769, 32768}, {INT_MAX, 32768}};
    for (const auto& [reported, asked] : counts) {
        EXPECT_EQ(DeviceNumbersToAsk(reported), asked) << reported;
    }
    const std::pair<int, bool> answers[] = {{0, false},       {1, true},           {-1, true},
                                            {0x10000, false}, {0x7FFF0000, false}, {0x18000, true}};
    for (const auto& [answer, removable] : answers) {
        EXPECT_EQ(IsRemovableAnswer(answer), removable) << std::hex << answer;
    }
}

} // namespace
} // namespace tavimo

#include "devices/device_list.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tavimo

#include "chores/cleanup.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

TEST(Cleanup_FormatByteSize, UnitsThresholdsAndRounding) {
    struct Case {
        std::uint64_t bytes;
        const wchar_t* separator;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L".", L"0 Byte"},
        {1023, L".", L"1023 Byte"},
        {1024, L".", L"1.00 KB"},
        {1536, L".", L"1.50 KB"},
        {1029, L".", L"1.00 KB"},       // 1.0048...
        {1030, L".", L"1.01 KB"},       // 1.0058...
        {1048575, L".", L"1024.00 KB"}, // just under the MB threshold, rounded
        {1048576, L".", L"1.00 MB"},
        {5u * 1048576 / 2, L".", L"2.50 MB"},
        {1073741823, L".", L"1024.00 MB"},
        {1073741824, L".", L"1.00 GB"},
        {5ull << 40, L".", L"5120.00 GB"},
        {~0ull, L".", L"17179869184.00 GB"}, // no overflow at the top
        {1536, L",", L"1,50 KB"},
        {1073741824 + 1073741824 / 4, L",", L"1,25 GB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatByteSize(c.bytes, c.separator), c.text) << c.bytes;
    }
}

TEST(Cleanup_FormatByteSize, UsesTheUserDecimalSeparator) {
    wchar_t separator[8] = {};
    ASSERT_GT(::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8), 1);
    EXPECT_EQ(FormatByteSize(1536), std::wstring(L"1") + separator + L"50 KB");
}

} // namespace
} // namespace tavimo

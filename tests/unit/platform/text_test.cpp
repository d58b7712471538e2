#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace tavimo {
namespace {

TEST(DecimalText, WritesWhatToWstringWrites) {
    EXPECT_EQ(DecimalText(0), L"0");
    EXPECT_EQ(DecimalText(-7), L"-7");
    EXPECT_EQ(DecimalText(1234567890u), L"1234567890");
    // The ends of each range: the most negative has no positive counterpart to negate into.
    for (const std::int64_t n :
         {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(),
          std::int64_t{std::numeric_limits<int>::min()}}) {
        EXPECT_EQ(DecimalText(n), std::to_wstring(n));
    }
    EXPECT_EQ(DecimalText(std::numeric_limits<std::uint64_t>::max()), L"18446744073709551615");
    EXPECT_EQ(DecimalText(std::numeric_limits<short>::min()), L"-32768");
}

} // namespace
} // namespace tavimo

#include "chores/ntp_reply.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tavimo {
namespace {

constexpr std::uint32_t kUnixEpochInNtp = 2208988800u;

std::string Show(const UtcTime& t) {
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

TEST(Ntp_Request, IsModeThreeVersionOneAndOtherwiseZero) {
    const auto request = NtpRequest();
    std::array<unsigned char, 48> expected{};
    expected[0] = 0x0B;
    EXPECT_EQ(request, expected);
}

TEST(Ntp_Seconds, ReadTheEraAndGiveTheUtcCalendarTime) {
    struct Case {
        std::uint32_t ntpSeconds;
        UtcTime expected;
    };
    const Case cases[] = {
        {kUnixEpochInNtp, {1970, 1, 1, 0, 0, 0}},
        {kUnixEpochInNtp + 19782u * 86400u, {2024, 2, 29, 0, 0, 0}}, // whole days: midnight of the leap day
        {kUnixEpochInNtp + 19782u * 86400u - 1u, {2024, 2, 28, 23, 59, 59}},
        {3960275696u, {2025, 6, 30, 12, 34, 56}},
        {0xFFFFFFFFu, {2036, 2, 7, 6, 28, 15}}, // the last second of the 1900 era
        {0u, {2036, 2, 7, 6, 28, 16}},          // the wrap: the next era begins
        {1u, {2036, 2, 7, 6, 28, 17}},
        {61505152u, {2038, 1, 19, 3, 14, 8}}, // past a signed 32-bit count since 1970
        {2021563904u, {2100, 3, 1, 0, 0, 0}}, // 2100 is no leap year
        {0x7FFFFFFFu, {2104, 2, 26, 9, 42, 23}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Show(UtcFromUnixSeconds(NtpSecondsToUnix(c.ntpSeconds))), Show(c.expected)) << c.ntpSeconds;
    }
}

std::vector<unsigned char> Reply(std::uint32_t seconds, unsigned char first = 0x24, unsigned char stratum = 2,
                                 std::size_t size = 48) {
    std::vector<unsigned char> bytes(size < 48 ? 48 : size, 0);
    bytes[0] = first; // leap indicator, version, mode
    bytes[1] = stratum;
    bytes[40] = static_cast<unsigned char>(seconds >> 24);
    bytes[41] = static_cast<unsigned char>(seconds >> 16);
    bytes[42] = static_cast<unsigned char>(seconds >> 8);
    bytes[43] = static_cast<unsigned char>(seconds);
    bytes.resize(size);
    return bytes;
}

TEST(Ntp_DecodeReply, TakesOnlyAServerReplyToSetAClockBy) {
    constexpr std::uint32_t kSeconds = 3960275696u; // 2025-06-30 12:34:56
    auto withFraction = Reply(kSeconds);
    withFraction[44] = withFraction[45] = withFraction[46] = withFraction[47] = 0xFF;
    struct Case {
        const char* name;
        std::vector<unsigned char> datagram;
        bool accepted;
    };
    const Case cases[] = {
        {"version 4 server reply", Reply(kSeconds), true},
        {"version 3, leap second ahead", Reply(kSeconds, 0x5C), true},
        {"stratum 1", Reply(kSeconds, 0x24, 1), true},
        {"stratum 15", Reply(kSeconds, 0x24, 15), true},
        {"fraction dropped, not rounded", withFraction, true},
        {"extension fields after the 48 bytes", Reply(kSeconds, 0x24, 2, 68), true},
        {"47 bytes", Reply(kSeconds, 0x24, 2, 47), false},
        {"empty", {}, false},
        {"client mode", Reply(kSeconds, 0x23), false},
        {"broadcast mode", Reply(kSeconds, 0x25), false},
        {"leap indicator 3: server not synchronised", Reply(kSeconds, 0xE4), false},
        {"stratum 0: Kiss-o'-Death", Reply(kSeconds, 0x24, 0), false},
        {"stratum 16", Reply(kSeconds, 0x24, 16), false},
        {"transmit seconds zero", Reply(0), false},
        {"before 1970", Reply(kUnixEpochInNtp - 1u), false},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeNtpReply(c.datagram);
        ASSERT_EQ(decoded.has_value(), c.accepted) << c.name;
        if (decoded) {
            EXPECT_EQ(Show(*decoded), "2025-06-30 12:34:56") << c.name;
        }
    }
}

} // namespace
} // namespace tavimo

#include "chores/ntp_reply.h"

namespace tavimo {

namespace {

constexpr std::int64_t kSecondsFrom1900To1970 = 2208988800;
constexpr std::int64_t kEraSeconds = std::int64_t{1} << 32;
constexpr std::int64_t kSecondsPerDay = 86400;

constexpr std::size_t kTransmitSecondsOffset = 40;

std::uint32_t BigEndian32(std::span<const unsigned char> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) << 24 |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 8 | static_cast<std::uint32_t>(bytes[offset + 3]);
}

// Days since 1970-01-01 as year, month and day (H. Hinnant's civil_from_days).
void CivilFromDays(std::int64_t days, UtcTime& time) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
}

} // namespace

std::array<unsigned char, kNtpPacketSize> NtpRequest() {
    std::array<unsigned char, kNtpPacketSize> request{};
    request[0] = 0x0B;
    return request;
}

std::int64_t NtpSecondsToUnix(std::uint32_t ntpSeconds) {
    const std::int64_t sinceEraStart = (ntpSeconds & 0x80000000u) ? ntpSeconds : ntpSeconds + kEraSeconds;
    return sinceEraStart - kSecondsFrom1900To1970;
}

UtcTime UtcFromUnixSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t inDay = seconds % kSecondsPerDay;
    if (inDay < 0) {
        inDay += kSecondsPerDay;
        --days;
    }
    UtcTime time;
    CivilFromDays(days, time);
    time.hour = static_cast<int>(inDay / 3600);
    time.minute = static_cast<int>(inDay % 3600 / 60);
    time.second = static_cast<int>(inDay % 60);
    return time;
}

std::optional<UtcTime> DecodeNtpReply(std::span<const unsigned char> datagram) {
    if (datagram.size() < kNtpPacketSize) {
        return std::nullopt;
    }
    const unsigned leap = datagram[0] >> 6;
    const unsigned mode = datagram[0] & 0x07;
    const unsigned stratum = datagram[1];
    if (mode != 4 || leap == 3 || stratum < 1 || stratum > 15) {
        return std::nullopt;
    }
    const std::uint32_t transmitSeconds = BigEndian32(datagram, kTransmitSecondsOffset);
    if (transmitSeconds == 0) {
        return std::nullopt; // the server never filled it in
    }
    const std::int64_t unixSeconds = NtpSecondsToUnix(transmitSeconds);
    if (unixSeconds < 0) {
        return std::nullopt;
    }
    return UtcFromUnixSeconds(unixSeconds);
}

} // namespace tavimo

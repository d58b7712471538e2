// A datagram that reached the time-sync socket, as it came: any length, any bytes. A reply is accepted
// only as the server's answer it claims to be, and the time it gives is a real calendar time that
// counts back to the same second.

#include "chores/ntp_reply.h"

#include "fuzz_support.h"

#include <cstdint>
#include <span>

using namespace tavimo;
using fuzz::Check;

namespace {

// Days from 1970-01-01 to the date, by the proleptic Gregorian calendar (the civil-from-days inverse,
// written out independently of the decoder).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned shiftedMonth = month > 2 ? month - 3 : month + 9; // March is month 0
    const unsigned dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> datagram(data, size);
    const auto decoded = DecodeNtpReply(datagram);
    if (!decoded) {
        return 0;
    }
    Check(size >= kNtpPacketSize, "nothing is read past a short datagram");
    const unsigned leap = data[0] >> 6;
    const unsigned mode = data[0] & 7u;
    const unsigned stratum = data[1];
    const std::uint32_t seconds = static_cast<std::uint32_t>(data[40]) << 24 |
                                  static_cast<std::uint32_t>(data[41]) << 16 |
                                  static_cast<std::uint32_t>(data[42]) << 8 | data[43];
    Check(mode == 4, "only a server's reply");
    Check(leap != 3, "never from an unsynchronised server");
    Check(stratum >= 1 && stratum <= 15, "never a Kiss-o'-Death or an unknown stratum");
    Check(seconds != 0, "never an unset transmit time");

    const UtcTime& t = *decoded;
    Check(t.year >= 1970 && t.year <= 2106, "a year the two eras can give");
    Check(t.month >= 1 && t.month <= 12, "a month");
    Check(t.day >= 1 && t.day <= DaysInMonth(t.year, t.month), "a day of that month");
    Check(t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59,
          "a time of day");
    const std::int64_t counted =
        DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) * 86400 +
        t.hour * 3600 + t.minute * 60 + t.second;
    Check(counted == NtpSecondsToUnix(seconds), "the calendar time is the transmit second");
    // The 1900 era has the top bit set; a clear one counts from the 2036 wrap.
    const std::int64_t expected = (seconds & 0x80000000u) ? std::int64_t{seconds} - 2208988800
                                                          : std::int64_t{seconds} + 4294967296 - 2208988800;
    Check(NtpSecondsToUnix(seconds) == expected, "the era rule");
    return 0;
}

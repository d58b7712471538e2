#pragma once
// The time server's side of the exchange as plain data: the request to send, and the reply's bytes
// turned into a UTC calendar time or refused. No system headers: the bytes come from the network.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tavimo {

inline constexpr std::size_t kNtpPacketSize = 48;

// A UTC time to the whole second, in the Gregorian calendar.
struct UtcTime {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const UtcTime&) const = default;
};

// A client request: leap indicator 0, version 1, mode 3 (0x0B), every other byte zero.
std::array<unsigned char, kNtpPacketSize> NtpRequest();

// The transmit time's whole seconds as seconds since 1970-01-01 00:00:00 UTC. The 32-bit count wraps
// on 2036-02-07 06:28:16; the era is read as RFC 4330 says: top bit set counts from 1900, top bit clear
// from that wrap.
std::int64_t NtpSecondsToUnix(std::uint32_t ntpSeconds);

// Seconds since 1970-01-01 00:00:00 UTC as a calendar date and time of day.
UtcTime UtcFromUnixSeconds(std::int64_t seconds);

// The transmit time of a reply to set a clock by, its fraction dropped; nothing when the datagram is
// not one: shorter than 48 bytes, not server mode (4), leap indicator 3 (server unsynchronised), stratum
// outside 1..15 (0 is a Kiss-o'-Death), transmit seconds zero, or a time before 1970.
std::optional<UtcTime> DecodeNtpReply(std::span<const unsigned char> datagram);

} // namespace tavimo

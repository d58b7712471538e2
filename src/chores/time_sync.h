#pragma once
// Setting the system clock from a time server: one SNTP request over UDP, one reply. The server and
// the clock itself are reached through g_timeSync, so tests talk to a server of their own and never
// set the clock.

#include <windows.h>

#include "chores/ntp_reply.h"

namespace tavimo {

// A public time server in Japan.
inline constexpr char kNtpServerHost[] = "ntp.nict.jp";
inline constexpr unsigned short kNtpServerPort = 123;
// The request always leaves from this port, so a second exchange at the same time fails to bind.
inline constexpr unsigned short kNtpLocalPort = 1024;
inline constexpr DWORD kNtpReplyLimitMs = 10000;

struct TimeSyncApi {
    const char* host;
    unsigned short port;
    BOOL(WINAPI* setSystemTime)(const SYSTEMTIME* time);
};
// kNtpServerHost, kNtpServerPort and SetSystemTime.
extern TimeSyncApi g_timeSync;

// The time as SetSystemTime takes it (UTC): day of week 0, milliseconds 0.
SYSTEMTIME SystemTimeFromUtc(const UtcTime& time);

// Sets the clock to the time; true when the system took it. The process is not given the privilege:
// where it may not set the clock, this fails.
bool ApplyNtpReply(const UtcTime& time);

// "/time": sends the request from local port 1024 and waits up to `limitMs` (by timeGetTime), one
// message pass and a 1 ms sleep per round, for a reply from the server's address and port that
// DecodeNtpReply accepts; anything else is dropped and the wait goes on. No delay is compensated and no
// time zone applied. True when the clock was set; false when the port is taken, the server can't be
// named, no valid reply came in time, a quit message came, or the clock refused.
bool SyncTimeNtp(DWORD limitMs = kNtpReplyLimitMs);

} // namespace tavimo

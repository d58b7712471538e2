// The clock switch in-line, as "/time" runs it (its exit code is 1 when this is false).
// Winsock's headers come before windows.h.
#include <winsock2.h>

#include "app/app_main.h"

#include "chores/time_sync.h"
#include "seam.h"
#include "udp_port.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

int g_clockSets = 0;
BOOL WINAPI RecordClockSet(const SYSTEMTIME*) {
    ++g_clockSets;
    return TRUE;
}

TEST(Switches, TimeFailsQuietlyWhenPort1024IsTaken) {
    test_support::HeldUdpPort held(1024);
    ASSERT_TRUE(held.Held());
    // Loopback and a recorder, so even a wrong turn reaches no server and no clock.
    test_support::ScopedOverride<TimeSyncApi> seam(g_timeSync, TimeSyncApi{"127.0.0.1", 9, &RecordClockSet});
    EXPECT_FALSE(RunSwitch(Switch::Time, {L"/time"}));
    EXPECT_EQ(g_clockSets, 0);
}

} // namespace
} // namespace tavimo

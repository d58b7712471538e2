// The Windows-exit chores through the power seam: the privilege steps, the one request, the token.
#include "chores/power.h"

#include "ask_recorder.h"
#include "power_fakes.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

using test_support::FakePower;
using Calls = std::vector<std::string>;

const char kOpen[] = "OpenProcessToken self 40"; // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
const char kLookUp[] = "LookupPrivilegeValueA local SeShutdownPrivilege";
const char kAdjust[] =
    "AdjustTokenPrivileges token disableAll 0 count 1 luid 19/0 attributes 2 length 16 previous";

TEST(Power_ShutdownWindows, EnablesThePrivilegeThenRequestsWithTheFlagsAsGiven) {
    for (const UINT flags : {EWX_LOGOFF, EWX_REBOOT, EWX_POWEROFF}) {
        FakePower power;
        EXPECT_EQ(ShutdownWindows(flags), TRUE);
        EXPECT_EQ(power.Calls(),
                  (Calls{kOpen, kLookUp, kAdjust, "ExitWindowsEx " + std::to_string(flags) + " 0"}));
        EXPECT_TRUE(power.TokenClosed());
    }
}

TEST(Power_ShutdownWindows, AFailingStepReturnsZeroAndTheTokenIsClosed) {
    struct Case {
        FakePower::Step failing;
        Calls calls;
    };
    const Case cases[] = {
        {FakePower::Step::OpenToken, {kOpen}},
        {FakePower::Step::LookUp, {kOpen, kLookUp}},
        {FakePower::Step::Adjust, {kOpen, kLookUp, kAdjust}},
        {FakePower::Step::Exit, {kOpen, kLookUp, kAdjust, "ExitWindowsEx 8 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls.back());
        FakePower power(c.failing);
        EXPECT_EQ(ShutdownWindows(EWX_POWEROFF), FALSE);
        EXPECT_EQ(power.Calls(), c.calls);
        if (power.TokenHandedOut()) {
            EXPECT_TRUE(power.TokenClosed());
        }
    }
}

// Suspending needs the same privilege; one that can't be enabled still leaves the request to the system,
// which then refuses it.
TEST(Power_Suspend, EnablesThePrivilegeFirstAndAsksWithTheIndexAsHibernate) {
    struct Case {
        int index;
        FakePower::Step failing;
        Calls calls;
    };
    const Case cases[] = {
        {0, FakePower::Step::None, {kOpen, kLookUp, kAdjust, "SetSuspendState 0 0 0"}},
        {1, FakePower::Step::None, {kOpen, kLookUp, kAdjust, "SetSuspendState 1 0 0"}},
        {1, FakePower::Step::Adjust, {kOpen, kLookUp, kAdjust, "SetSuspendState 1 0 0"}},
        {1, FakePower::Step::OpenToken, {kOpen, "SetSuspendState 1 0 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls.size());
        FakePower power(c.failing);
        test_support::AskRecorder asks(IDOK);
        EXPECT_EQ(RunPowerItem(nullptr, c.index, L"休止(&H)..."), PowerOutcome::Requested);
        EXPECT_EQ(power.Calls(), c.calls);
        if (power.TokenHandedOut()) {
            EXPECT_TRUE(power.TokenClosed());
        }
    }
}

TEST(Power_Items, OutcomesFollowTheAnswerAndTheSystem) {
    struct Case {
        int index;
        int answer;
        FakePower::Step failing;
        PowerOutcome outcome;
        size_t questions;
    };
    const Case cases[] = {
        {3, IDOK, FakePower::Step::None, PowerOutcome::NotAnItem, 0}, // a gap in the indices
        {11, IDOK, FakePower::Step::None, PowerOutcome::NotAnItem, 0},
        {1, IDCANCEL, FakePower::Step::None, PowerOutcome::Cancelled, 1},
        {1, IDOK, FakePower::Step::Suspend, PowerOutcome::Refused, 1},
        {4, IDOK, FakePower::Step::Exit, PowerOutcome::Refused, 1},
        {4, IDOK, FakePower::Step::None, PowerOutcome::Requested, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        FakePower power(c.failing);
        test_support::AskRecorder asks(c.answer);
        EXPECT_EQ(RunPowerItem(nullptr, c.index, L"再起動(&R)..."), c.outcome);
        EXPECT_EQ(asks.Calls().size(), c.questions);
        EXPECT_EQ(power.Actions().size(),
                  c.outcome == PowerOutcome::Requested || c.outcome == PowerOutcome::Refused ? 1u : 0u);
    }
}

TEST(Power_Items, AShortCaptionLeavesOnlyTheEnding) {
    EXPECT_EQ(PowerQuestion(L"スタンバイ(&S)..."), L"スタンバイしますか？");
    EXPECT_EQ(PowerQuestion(L"(&S)..."), L"しますか？");
    EXPECT_EQ(PowerQuestion(L""), L"しますか？");
}

} // namespace
} // namespace tavimo

#include "volume/endpoint.h"
#include "volume/endpoint_warm_up.h"

#include "volume_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimo {
namespace {

using fakes::Step;
using EndpointTest = fakes::SoundTest;
using Calls = std::vector<std::string>;

const Calls kOpening = {"Create", "GetDefault", "Activate"};

Calls Then(Calls calls, const Calls& more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

GUID Guid(const wchar_t* text) {
    GUID guid{};
    ::CLSIDFromString(text, &guid);
    return guid;
}

TEST_F(EndpointTest, OpensTheVolumeOfTheDefaultRenderEndpoint) {
    int percent = -1;
    ASSERT_EQ(EndpointVolume(-1, percent), S_OK);
    EXPECT_EQ(endpoint.createdClass, Guid(L"{BCDE0395-E52F-467C-8E3D-C4579291692E}"));
    EXPECT_EQ(endpoint.createdInterface, Guid(L"{A95664D2-9614-4F35-A746-DE8DB63617E6}"));
    EXPECT_EQ(endpoint.flow, eRender);
    EXPECT_EQ(endpoint.role, eConsole);
    EXPECT_EQ(endpoint.activatedInterface, Guid(L"{5CDF2C82-841E-4546-9722-0CF74078229A}"));
    EXPECT_EQ(endpoint.activateContext, 23u);
    EXPECT_FALSE(endpoint.activationParams);
}

TEST_F(EndpointTest, ReadingGivesThePercentRoundedToEvenAndChangesNothing) {
    struct Case {
        float scalar;
        int percent;
    };
    const Case cases[] = {{0.125f, 12}, {0.375f, 38}, {1.0f, 100}, {0.0f, 0}};
    for (const auto& c : cases) {
        endpoint.calls.clear();
        endpoint.scalar = c.scalar;
        int percent = -1;
        ASSERT_EQ(EndpointVolume(-1, percent), S_OK);
        EXPECT_EQ(percent, c.percent) << c.scalar;
        EXPECT_EQ(endpoint.calls, Then(kOpening, {"GetScalar"}));
        EXPECT_EQ(endpoint.scalar, c.scalar);
    }
}

TEST_F(EndpointTest, SettingWritesPercentOverHundredWithAnEmptyEventContext) {
    struct Case {
        short level;
        float scalar;
        const char* call;
    };
    const Case cases[] = {{0, 0.0f, "SetScalar 0"}, {100, 1.0f, "SetScalar 1"}, {50, 0.5f, "SetScalar 0.5"}};
    for (const auto& c : cases) {
        endpoint.calls.clear();
        endpoint.scalar = 0.3f;
        int percent = -1;
        ASSERT_EQ(EndpointVolume(c.level, percent), S_OK);
        EXPECT_EQ(percent, 0);
        EXPECT_EQ(endpoint.calls, Then(kOpening, {c.call}));
        EXPECT_EQ(endpoint.scalar, c.scalar);
        ASSERT_EQ(EndpointVolume(-1, percent), S_OK);
        EXPECT_EQ(percent, c.level);
    }
    EXPECT_TRUE(endpoint.contextsEmpty);
}

TEST_F(EndpointTest, MuteToggleInvertsAndReportsTheStateReadAfterwards) {
    struct Case {
        BOOL before;
        bool toggle;
        BOOL after;
        Calls calls;
    };
    const Case cases[] = {
        {FALSE, true, TRUE, {"GetMute", "SetMute 1", "GetMute"}},
        {TRUE, true, FALSE, {"GetMute", "SetMute 0", "GetMute"}},
        {TRUE, false, TRUE, {"GetMute"}},
        {FALSE, false, FALSE, {"GetMute"}},
    };
    for (const auto& c : cases) {
        endpoint.calls.clear();
        endpoint.muted = c.before;
        BOOL muted = -1;
        ASSERT_EQ(EndpointMute(c.toggle, muted), S_OK);
        EXPECT_EQ(muted, c.after);
        EXPECT_EQ(endpoint.muted, c.after);
        EXPECT_EQ(endpoint.calls, Then(kOpening, c.calls));
    }
    EXPECT_TRUE(endpoint.contextsEmpty);
}

// Each failing call ends the operation with its HRESULT: nothing after it is called, and the fixture
// checks that every object obtained so far was released.
TEST_F(EndpointTest, AFailingCallStopsThereAndHandsBackItsHresult) {
    struct Case {
        const char* operation;
        Step failAt;
        Calls calls;
    };
    const Case cases[] = {
        {"read", Step::Create, {"Create"}},
        {"read", Step::GetDefault, {"Create", "GetDefault"}},
        {"read", Step::Activate, kOpening},
        {"read", Step::GetScalar, Then(kOpening, {"GetScalar"})},
        {"set", Step::SetScalar, Then(kOpening, {"SetScalar 0.4"})},
        {"toggle", Step::GetDefault, {"Create", "GetDefault"}},
        {"toggle", Step::GetMute, Then(kOpening, {"GetMute"})},
        {"toggle", Step::SetMute, Then(kOpening, {"GetMute", "SetMute 1"})},
    };
    for (const auto& c : cases) {
        endpoint.calls.clear();
        endpoint.failAt = c.failAt;
        endpoint.scalar = 0.7f;
        endpoint.muted = FALSE;
        const std::string op = c.operation;
        int percent = -1;
        BOOL muted = -1;
        const HRESULT hr = op == "read"  ? EndpointVolume(-1, percent)
                           : op == "set" ? EndpointVolume(40, percent)
                                         : EndpointMute(true, muted);
        EXPECT_EQ(hr, endpoint.failure) << op << " " << static_cast<int>(c.failAt);
        EXPECT_EQ(endpoint.calls, c.calls) << op;
        EXPECT_EQ(endpoint.live, 0) << op;
        EXPECT_EQ(endpoint.scalar, 0.7f);
        EXPECT_EQ(endpoint.muted, FALSE);
    }
}

DWORD g_createThread = 0;
HRESULT STDAPICALLTYPE CreateRecordingThread(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                             LPVOID* out) {
    g_createThread = ::GetCurrentThreadId();
    return fakes::FakeCreate(clsid, outer, context, iid, out);
}

// The warm-up opens the endpoint off the calling thread, only reads, releases everything (the fixture
// checks), and is over once Wait returns; Wait without a start, or twice, returns at once.
TEST_F(EndpointTest, WarmUpReadsOnceOnAWorkerAndIsOverWhenWaitReturns) {
    test_support::ScopedOverride<CreateEnumeratorFunction> seam{g_createDeviceEnumerator,
                                                                &CreateRecordingThread};
    EndpointWarmUp idle;
    idle.Wait();
    EXPECT_TRUE(endpoint.calls.empty());

    endpoint.muted = TRUE;
    EndpointWarmUp warmUp;
    warmUp.Start();
    warmUp.Wait();
    warmUp.Wait();
    EXPECT_EQ(endpoint.calls, Then(kOpening, {"GetMute"}));
    EXPECT_EQ(endpoint.muted, TRUE);
    EXPECT_NE(g_createThread, ::GetCurrentThreadId());
}

} // namespace
} // namespace tavimo

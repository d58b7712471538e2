#include "volume/mixer.h"

#include "volume_fakes.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

using fakes::MixerWrite;
using MixerTest = fakes::SoundTest;

const HWND kOwner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));

TEST_F(MixerTest, ErrorBoxShowsCodeAndTextForEveryCode) {
    struct Case {
        MMRESULT code;
        const wchar_t* text;
    };
    const Case cases[] = {
        {1, L"[1] "},
        {2, L"[2] 指定されたデバイスIDは無効です。"},
        {3, L"[3] "},
        {4, L"[4] 指定リソースはすでに割り当て済みです。"},
        {5, L"[5] 指定されたハンドルは無効です。"},
        {6, L"[6] 利用可能なミキサーデバイスがありません。"},
        {7, L"[7] リソースを割り当てることはできません｡"}, // half-width full stop
        {8, L"[8] "},
        {9, L"[9] "},
        {10, L"[10] 1つ以上の無効なフラグがあります。"},
        {11, L"[11] 1つ以上の無効なパラメータがあります。"},
        {12, L"[12] "},
        {1024, L"[1024] "},
    };
    for (const auto& c : cases) {
        asks.Clear();
        ShowMixerError(c.code, kOwner);
        ASSERT_EQ(asks.Calls().size(), 1u) << c.code;
        const test_support::AskCall& box = asks.Calls()[0];
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, L"Tavimo");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(box.owner, kOwner);
    }
    asks.Clear();
    ShowMixerError(MMSYSERR_NOERROR, kOwner);
    EXPECT_TRUE(asks.Calls().empty());
}

// While the box is up, losing the activation to it must not close the window; afterwards the flag is
// as the calling handler left it.
TEST_F(MixerTest, ErrorBoxHoldsTheBusyFlagAndRestoresIt) {
    for (const bool before : {false, true}) {
        asks.Clear();
        SetBusy(before);
        ShowMixerError(MMSYSERR_NODRIVER, kOwner);
        ASSERT_EQ(asks.Calls().size(), 1u);
        EXPECT_TRUE(asks.Calls()[0].busy);
        EXPECT_EQ(IsBusy(), before);
    }
}

// The mute is the speakers' mute control, found by type: control 2 is the WAVE level on this mixer.
TEST_F(MixerTest, MuteToggleWritesMinusOneThenZeroToTheSpeakersMute) {
    EXPECT_EQ(ToggleMixerMute(false), 0);
    EXPECT_EQ(ToggleMixerMute(true), 1);
    EXPECT_EQ(ToggleMixerMute(false), 1);
    EXPECT_EQ(ToggleMixerMute(true), 0);
    EXPECT_EQ(mixer.writes, (std::vector<MixerWrite>{{1, 0xFFFFFFFF}, {1, 0}}));
    EXPECT_EQ(mixer.Value(2), 65535u);
    EXPECT_TRUE(asks.Calls().empty());
}

TEST_F(MixerTest, UnreadableMuteCountsAsOffSoATogglesSwitchesItOn) {
    mixer.unreadable = {1};
    mixer.Value(1) = 0xFFFFFFFF;
    EXPECT_EQ(ToggleMixerMute(false), 0);
    EXPECT_EQ(ToggleMixerMute(true), 1);
    EXPECT_EQ(mixer.writes, (std::vector<MixerWrite>{{1, 0xFFFFFFFF}}));
}

TEST_F(MixerTest, WithoutAMuteOnTheSpeakersNothingIsWritten) {
    mixer.lines[0].controls.pop_back();
    EXPECT_EQ(ToggleMixerMute(true), 0);
    EXPECT_TRUE(mixer.writes.empty());
    EXPECT_TRUE(asks.Calls().empty());
}

// "/mute" succeeds only when the switch really changed; a mixer that opened is not enough.
TEST_F(MixerTest, MuteSwitchSucceedsOnlyWhenTheSwitchWasToggled) {
    struct Case {
        const char* name;
        void (*arrange)(fakes::FakeMixer&);
        bool toggled;
        std::vector<MixerWrite> writes;
    };
    const Case cases[] = {
        {"a mute on the speakers", [](fakes::FakeMixer&) {}, true, {{1, 0xFFFFFFFF}}},
        {"a mute that cannot be read",
         [](fakes::FakeMixer& m) { m.unreadable = {1}; },
         true,
         {{1, 0xFFFFFFFF}}},
        {"no mute on the speakers", [](fakes::FakeMixer& m) { m.lines[0].controls.pop_back(); }, false, {}},
        {"no speakers line", [](fakes::FakeMixer& m) { m.lines.erase(m.lines.begin()); }, false, {}},
        {"a mute that refuses the change",
         [](fakes::FakeMixer& m) { m.unwritable = {1}; },
         false,
         {{1, 0xFFFFFFFF}}},
    };
    for (const auto& c : cases) {
        mixer = {};
        c.arrange(mixer);
        EXPECT_EQ(ToggleMuteSwitch(), c.toggled) << c.name;
        EXPECT_EQ(mixer.writes, c.writes) << c.name;
        EXPECT_EQ(mixer.opens, mixer.closes) << c.name;
    }
    EXPECT_TRUE(asks.Calls().empty());
}

TEST_F(MixerTest, LevelsAreWrittenTruncatedAndReadBackRoundedToEven) {
    struct Case {
        int percent;
        LONG maximum;
        DWORD raw;
        int readBack;
    };
    const Case cases[] = {
        {100, 65535, 65535, 100}, {0, 65535, 0, 0},  {50, 65535, 32767, 50},
        {75, 65535, 49151, 75},   {37, 200, 74, 37},
    };
    for (const auto& c : cases) {
        mixer.writes.clear();
        mixer.Control(2)->maximum = c.maximum;
        SetMixerVolume(c.percent, kMixerWaveOut);
        EXPECT_EQ(mixer.writes, (std::vector<MixerWrite>{{2, c.raw}})) << c.percent;
        EXPECT_EQ(GetMixerVolume(kMixerWaveOut), c.readBack) << c.percent;
    }
    mixer.Value(2) = 25;
    mixer.Control(2)->maximum = 200;
    EXPECT_EQ(GetMixerVolume(kMixerWaveOut), 12);
    mixer.Value(2) = 75;
    EXPECT_EQ(GetMixerVolume(kMixerWaveOut), 38);
    EXPECT_EQ(mixer.Value(0), 65535u) << "the master line was touched";
}

TEST_F(MixerTest, MissingLineOrUnreadableLevelReadsZeroSilently) {
    EXPECT_EQ(GetMixerVolume(kMixerCompactDisc), 0);
    SetMixerVolume(50, kMixerCompactDisc);
    EXPECT_TRUE(mixer.writes.empty());
    mixer.unreadable = {0};
    EXPECT_EQ(GetMixerVolume(kMixerSpeakers), 0);
    EXPECT_TRUE(asks.Calls().empty());
}

// Only the setter, the mute and "/mute" report a mixer that cannot be opened; reading a level is silent.
TEST_F(MixerTest, OnlyChangesAndTheMuteReportAMixerThatWillNotOpen) {
    struct Case {
        const char* name;
        void (*run)();
        bool box;
    };
    const Case cases[] = {
        {"GetMixerVolume", [] { EXPECT_EQ(GetMixerVolume(kMixerSpeakers), 0); }, false},
        {"SetMixerVolume", [] { SetMixerVolume(50, kMixerSpeakers, kOwner); }, true},
        {"ToggleMixerMute read", [] { EXPECT_EQ(ToggleMixerMute(false, kOwner), 0); }, true},
        {"ToggleMixerMute toggle", [] { EXPECT_EQ(ToggleMixerMute(true, kOwner), 0); }, true},
        {"ToggleMuteSwitch", [] { EXPECT_FALSE(ToggleMuteSwitch()); }, true},
    };
    for (const MMRESULT code : {MMSYSERR_BADDEVICEID, MMSYSERR_NODRIVER}) {
        mixer.openResult = code;
        for (const auto& c : cases) {
            asks.Clear();
            c.run();
            ASSERT_EQ(asks.Calls().size(), c.box ? 1u : 0u) << c.name;
            if (c.box) {
                EXPECT_EQ(asks.Calls()[0].text, MixerErrorText(code)) << c.name;
            }
        }
    }
    EXPECT_TRUE(mixer.writes.empty());
}

} // namespace
} // namespace tavimo

#include "volume/volume_menu.h"

#include "volume/volume_texts.h"
#include "volume_fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tavimo {
namespace {

using fakes::MixerWrite;
using fakes::Step;
using Kind = VolumeMenuAction::Kind;
using VolumeMenuTest = fakes::SoundTest;

const HWND kOwner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));

using Texts = std::array<std::optional<std::wstring>, kVolumeButtonCount>;
Texts TextsOf(const VolumeCaptions& captions) {
    Texts texts;
    for (int i = 0; i < kVolumeButtonCount; ++i)
        texts[i] = captions.text[i];
    return texts;
}

TEST(VolumeMenu_Texts, ItemsAreTenPercentStepsThenTheMute) {
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(std::wstring(volume_texts::kVolItemCaptions[i]), std::to_wstring(i * 10) + L" %");
    }
    EXPECT_STREQ(volume_texts::kVolItemCaptions[volume_texts::kMuteItem], L"ミュート(&M)");
}

TEST(VolumeMenu_ButtonClick, StoresTheIndexAndListsTheMuteForTheMasterOnly) {
    struct Case {
        int button;
        int target;
        bool showMute;
    };
    const Case cases[] = {{2, 2, true}, {3, 3, false}, {4, 4, false}, {5, 5, false}};
    for (const auto& c : cases) {
        const VolumeMenuRequest request = VolumeButtonClick(c.button);
        EXPECT_EQ(request.target, c.target);
        EXPECT_EQ(request.showMute, c.showMute) << c.button;
    }
}

TEST(VolumeMenu_Choose, FollowsTheTargetOnlyOnTheMixerPath) {
    struct Case {
        VolumePath path;
        int index;
        int target;
        Kind kind;
        int percent;
        DWORD component;
        bool clear;
    };
    const auto E = VolumePath::Endpoint;
    const auto M = VolumePath::Mixer;
    const Case cases[] = {
        {E, 11, 2, Kind::EndpointMute, 0, 0, false},
        {E, 5, 3, Kind::EndpointLevel, 50, 0, false}, // the target is neither read nor emptied
        {E, 0, kNoVolumeTarget, Kind::EndpointLevel, 0, 0, false},
        {E, 10, 4, Kind::EndpointLevel, 100, 0, false},
        {M, 11, 3, Kind::MixerMute, 0, 0, true},
        {M, 5, 3, Kind::MixerLevel, 50, kMixerWaveOut, true},
        {M, 7, 4, Kind::MixerLevel, 70, kMixerSynth, true},
        {M, 10, 5, Kind::MixerLevel, 100, kMixerCompactDisc, true},
        {M, 0, 2, Kind::MixerLevel, 0, kMixerSpeakers, true},
        {M, 3, kNoVolumeTarget, Kind::MixerLevel, 30, kMixerSpeakers, true},
        {M, 3, 6, Kind::MixerLevel, 30, kMixerSpeakers, true}, // no such button: the master
        {M, 3, -1, Kind::MixerLevel, 30, kMixerSpeakers, true},
    };
    for (const auto& c : cases) {
        const VolumeMenuAction a = ChooseVolumeMenuAction(c.index, c.target, c.path);
        const bool mixer = c.path == M;
        EXPECT_EQ(a.kind, c.kind) << mixer << " " << c.index;
        EXPECT_EQ(a.percent, c.percent) << mixer << " " << c.index;
        if (c.kind == Kind::MixerLevel) {
            EXPECT_EQ(a.component, c.component) << c.index;
        }
        EXPECT_EQ(a.clearTarget, c.clear) << mixer << " " << c.index;
    }
}

TEST_F(VolumeMenuTest, WaveButtonThenFiftyPercentSetsTheWaveLineAndEmptiesTheTarget) {
    int target = VolumeButtonClick(kWaveButton).target;
    EXPECT_EQ(DoVolumeMenuItem(5, target, VolumePath::Mixer, kOwner), S_OK);
    EXPECT_EQ(mixer.writes, (std::vector<MixerWrite>{{2, 32767}}));
    EXPECT_EQ(target, kNoVolumeTarget);
    EXPECT_EQ(ReadVolumeCaptions(VolumePath::Mixer, kOwner).text[1], L"WA&VE 50");

    target = VolumeButtonClick(kMasterButton).target;
    DoVolumeMenuItem(volume_texts::kMuteItem, target, VolumePath::Mixer, kOwner);
    EXPECT_EQ(mixer.writes.back(), (MixerWrite{1, 0xFFFFFFFF}));
    EXPECT_EQ(target, kNoVolumeTarget);
}

TEST_F(VolumeMenuTest, EndpointItemsLeaveTheTargetAndFailQuietly) {
    int target = kMidiButton;
    EXPECT_EQ(DoVolumeMenuItem(10, target, VolumePath::Endpoint, kOwner), S_OK);
    EXPECT_EQ(endpoint.scalar, 1.0f);
    EXPECT_EQ(ReadVolumeCaptions(VolumePath::Endpoint, kOwner).text[0], L"&Master 100");
    EXPECT_EQ(DoVolumeMenuItem(volume_texts::kMuteItem, target, VolumePath::Endpoint, kOwner), S_OK);
    EXPECT_TRUE(endpoint.muted);
    EXPECT_EQ(ReadVolumeCaptions(VolumePath::Endpoint, kOwner).text[0], L"消音 100");
    EXPECT_EQ(target, kMidiButton);

    endpoint.failAt = Step::GetDefault;
    EXPECT_EQ(DoVolumeMenuItem(3, target, VolumePath::Endpoint, kOwner), endpoint.failure);
    EXPECT_EQ(endpoint.scalar, 1.0f);
    EXPECT_TRUE(asks.Calls().empty());
    EXPECT_TRUE(mixer.writes.empty());
}

TEST_F(VolumeMenuTest, MixerCaptionsShowAllFourLinesWithMidiOnM) {
    mixer.Value(0) = 26214; // 40 %
    mixer.Value(2) = 49151; // 75 %
    EXPECT_EQ(TextsOf(ReadVolumeCaptions(VolumePath::Mixer, kOwner)),
              (Texts{L"&Master 40", L"WA&VE 75", L"&MIDI 0", L"&CD 0"}));
    mixer.Value(1) = 0xFFFFFFFF;
    EXPECT_EQ(TextsOf(ReadVolumeCaptions(VolumePath::Mixer, kOwner)),
              (Texts{L"消音 40", L"WA&VE 75", L"&MIDI 0", L"&CD 0"}));
    EXPECT_TRUE(asks.Calls().empty());
}

TEST_F(VolumeMenuTest, MixerThatWillNotOpenShowsOneBoxPerRefreshAndZeros) {
    mixer.openResult = MMSYSERR_NODRIVER;
    EXPECT_EQ(TextsOf(ReadVolumeCaptions(VolumePath::Mixer, kOwner)),
              (Texts{L"&Master 0", L"WA&VE 0", L"&MIDI 0", L"&CD 0"}));
    ASSERT_EQ(asks.Calls().size(), 1u);
    EXPECT_EQ(asks.Calls()[0].text, L"[6] 利用可能なミキサーデバイスがありません。");
    EXPECT_EQ(asks.Calls()[0].owner, kOwner);
}

TEST_F(VolumeMenuTest, EndpointCaptionIsTheMasterOnlyAndNothingWhenItFails) {
    struct Case {
        BOOL muted;
        float scalar;
        Step failAt;
        std::optional<std::wstring> master;
    };
    const Case cases[] = {
        {FALSE, 1.0f, Step::None, L"&Master 100"},     {TRUE, 1.0f, Step::None, L"消音 100"},
        {TRUE, 0.0f, Step::None, L"消音 0"},           {FALSE, 0.375f, Step::None, L"&Master 38"},
        {FALSE, 0.5f, Step::GetDefault, std::nullopt}, // no playback device
        {FALSE, 0.5f, Step::GetScalar, std::nullopt},  {FALSE, 0.5f, Step::GetMute, std::nullopt},
    };
    for (const auto& c : cases) {
        endpoint.muted = c.muted;
        endpoint.scalar = c.scalar;
        endpoint.failAt = c.failAt;
        EXPECT_EQ(TextsOf(ReadVolumeCaptions(VolumePath::Endpoint, kOwner)),
                  (Texts{c.master, std::nullopt, std::nullopt, std::nullopt}));
    }
    EXPECT_TRUE(asks.Calls().empty());
    EXPECT_EQ(mixer.opens, 0);
}

TEST_F(VolumeMenuTest, RefreshRewritesOnlyTheCaptionsItCouldRead) {
    const HWND parent =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 700, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    const wchar_t* design[] = {L"&Master 100", L"WA&VE 100", L"M&IDI 100", L"&CD 100"};
    HWND buttons[kVolumeButtonCount] = {};
    for (int i = 0; i < kVolumeButtonCount; ++i) {
        buttons[i] = ::CreateWindowExW(0, L"BUTTON", design[i], WS_CHILD, 400 + 64 * i, 104, 65, 33, parent,
                                       nullptr, nullptr, nullptr);
    }
    auto textOf = [](HWND w) {
        wchar_t text[64] = {};
        ::GetWindowTextW(w, text, 64);
        return std::wstring(text);
    };

    endpoint.failAt = Step::GetDefault;
    UpdateVolumeCaptions(VolumePath::Endpoint, kOwner, buttons);
    for (int i = 0; i < kVolumeButtonCount; ++i)
        EXPECT_EQ(textOf(buttons[i]), design[i]);

    endpoint.failAt = Step::None;
    endpoint.scalar = 0.4f;
    UpdateVolumeCaptions(VolumePath::Endpoint, kOwner, buttons);
    EXPECT_EQ(textOf(buttons[0]), L"&Master 40");
    EXPECT_EQ(textOf(buttons[2]), L"M&IDI 100");

    UpdateVolumeCaptions(VolumePath::Mixer, kOwner, buttons);
    EXPECT_EQ(textOf(buttons[2]), L"&MIDI 0");

    const VolumeButtonLayout layout = VolumeButtonLayoutOf(buttons);
    EXPECT_EQ(layout.top, 104);
    EXPECT_EQ(layout.left[0], 400);
    EXPECT_EQ(layout.left[3], 592);
    ::DestroyWindow(parent);
}

const VolumeButtonLayout kLayout{104, {400, 464, 528, 592}};

TEST(VolumeMenu_WheelHit, BelowTheTopAndRightOfALeftEdgeOnly) {
    struct Case {
        VolumePath path;
        POINT at;
        bool act;
        std::optional<DWORD> component;
    };
    const auto E = VolumePath::Endpoint;
    const auto M = VolumePath::Mixer;
    const Case cases[] = {
        {M, {401, 105}, true, kMixerSpeakers},
        {M, {464, 105}, true, kMixerSpeakers}, // on an edge: still the button to its left
        {M, {465, 105}, true, kMixerWaveOut},
        {M, {529, 200}, true, kMixerSynth},
        {M, {593, 105}, true, kMixerCompactDisc},
        {M, {5000, 5000}, true, kMixerCompactDisc}, // no right or bottom edge
        {M, {400, 105}, true, std::nullopt},        // left of the master: refresh only
        {M, {10, 300}, true, std::nullopt},
        {M, {500, 104}, false, std::nullopt}, // on the top edge: nothing
        {M, {500, 50}, false, std::nullopt},
        {E, {401, 105}, true, std::nullopt},
        {E, {5000, 5000}, true, std::nullopt},
        {E, {400, 105}, false, std::nullopt},
        {E, {401, 104}, false, std::nullopt},
    };
    for (const auto& c : cases) {
        const WheelHit hit = HitVolumeButtons(c.at, kLayout, c.path);
        EXPECT_EQ(hit.act, c.act) << c.at.x << "," << c.at.y << (c.path == M ? " mixer" : " endpoint");
        EXPECT_EQ(hit.component, c.component) << c.at.x << "," << c.at.y;
    }
}

TEST_F(VolumeMenuTest, MixerWheelStepsTheLineUnderTheCursorByOnePoint) {
    struct Case {
        POINT at;
        bool raise;
        DWORD control;
        DWORD before;
        std::vector<MixerWrite> writes;
        bool refresh;
    };
    const Case cases[] = {
        {{470, 120}, true, 2, 32767, {{2, 33422}}, true},  // WAVE 50 -> 51
        {{410, 120}, false, 0, 32767, {{0, 32112}}, true}, // master 50 -> 49
        {{410, 120}, true, 0, 65535, {}, true},            // at 100: nothing, still refreshed
        {{410, 120}, false, 0, 0, {}, true},               // at 0
        {{10, 120}, true, 0, 32767, {}, true},             // left of the buttons: refresh only
        {{470, 50}, true, 2, 32767, {}, false},            // above the row: nothing at all
        {{600, 120}, true, 2, 32767, {}, true},            // the CD line is missing: reads 0, set ignored
    };
    for (const auto& c : cases) {
        mixer.writes.clear();
        mixer.Value(c.control) = c.before;
        EXPECT_EQ(WheelVolumeStep(c.at, c.raise, kLayout, VolumePath::Mixer, kOwner), c.refresh)
            << c.at.x << "," << c.at.y;
        EXPECT_EQ(mixer.writes, c.writes) << c.at.x << "," << c.at.y;
    }
    EXPECT_TRUE(asks.Calls().empty());
}

TEST_F(VolumeMenuTest, EndpointWheelStepsTheMasterByOnePoint) {
    struct Case {
        POINT at;
        bool raise;
        float before;
        Step failAt;
        float after;
        bool refresh;
    };
    const Case cases[] = {
        {{500, 120}, false, 0.4f, Step::None, 0.39f, true},
        {{500, 120}, true, 0.4f, Step::None, 0.41f, true},
        {{500, 120}, true, 1.0f, Step::None, 1.0f, true},
        {{500, 120}, false, 0.0f, Step::None, 0.0f, true},
        {{300, 120}, true, 0.4f, Step::None, 0.4f, false},
        {{500, 120}, true, 0.4f, Step::GetDefault, 0.4f, true}, // ignored; the refresh keeps the caption
        {{500, 120}, true, 0.4f, Step::SetScalar, 0.4f, true},
    };
    for (const auto& c : cases) {
        endpoint.scalar = c.before;
        endpoint.failAt = c.failAt;
        EXPECT_EQ(WheelVolumeStep(c.at, c.raise, kLayout, VolumePath::Endpoint, kOwner), c.refresh);
        EXPECT_EQ(endpoint.scalar, c.after) << c.before << (c.raise ? " up" : " down");
    }
    EXPECT_TRUE(asks.Calls().empty());
    EXPECT_EQ(mixer.opens, 0);
}

} // namespace
} // namespace tavimo

#include "volume/volume_menu.h"

#include "platform/os_version.h"
#include "platform/window_geometry.h"

#include "volume/endpoint.h"
#include "volume/mixer.h"
#include "volume/volume_math.h"
#include "volume/volume_texts.h"
#include "platform/text.h"

#include <commctrl.h>

namespace tavimo {

namespace {

// The mixer line behind a volume target; anything but the WAVE, MIDI and CD buttons means the speakers.
DWORD ComponentOfTarget(int target) {
    switch (target) {
    case kWaveButton:
        return kMixerWaveOut;
    case kMidiButton:
        return kMixerSynth;
    case kCdButton:
        return kMixerCompactDisc;
    default:
        return kMixerSpeakers;
    }
}

std::wstring Caption(const wchar_t* prefix, int level) {
    return prefix + DecimalText(level);
}

} // namespace

VolumePath VolumePathNow() {
    return IsVistaOrLater() ? VolumePath::Endpoint : VolumePath::Mixer;
}

VolumeCaptions ReadVolumeCaptions(VolumePath path, HWND owner) {
    VolumeCaptions captions;
    if (path == VolumePath::Endpoint) {
        BOOL muted = FALSE;
        int level = 0;
        if (SUCCEEDED(EndpointMute(false, muted)) && SUCCEEDED(EndpointVolume(-1, level))) {
            captions.text[0] =
                Caption(muted == 1 ? volume_texts::kMutedPrefix : volume_texts::kMasterPrefix, level);
        }
        return captions;
    }
    const wchar_t* master =
        ToggleMixerMute(false, owner) != 0 ? volume_texts::kMutedPrefix : volume_texts::kMasterPrefix;
    captions.text[0] = Caption(master, GetMixerVolume(kMixerSpeakers));
    captions.text[1] = Caption(volume_texts::kWavePrefix, GetMixerVolume(kMixerWaveOut));
    captions.text[2] = Caption(volume_texts::kMidiPrefix, GetMixerVolume(kMixerSynth));
    captions.text[3] = Caption(volume_texts::kCdPrefix, GetMixerVolume(kMixerCompactDisc));
    return captions;
}

void ApplyVolumeCaptions(const VolumeCaptions& captions, const HWND* buttons) {
    for (int i = 0; i < kVolumeButtonCount; ++i) {
        if (captions.text[i]) {
            ::SetWindowTextW(buttons[i], captions.text[i]->c_str());
        }
    }
}

void UpdateVolumeCaptions(VolumePath path, HWND owner, const HWND* buttons) {
    ApplyVolumeCaptions(ReadVolumeCaptions(path, owner), buttons);
}

VolumeMenuRequest VolumeButtonClick(int buttonIndex) {
    return {buttonIndex, buttonIndex == kMasterButton};
}

VolumeMenuAction ChooseVolumeMenuAction(int index, int target, VolumePath path) {
    using Kind = VolumeMenuAction::Kind;
    const bool mute = index == volume_texts::kMuteItem;
    if (path == VolumePath::Endpoint) {
        return mute ? VolumeMenuAction{Kind::EndpointMute}
                    : VolumeMenuAction{Kind::EndpointLevel, index * 10};
    }
    if (mute) {
        return {Kind::MixerMute, 0, 0, true};
    }
    return {Kind::MixerLevel, index * 10, ComponentOfTarget(target), true};
}

HRESULT RunVolumeMenuAction(const VolumeMenuAction& action, HWND owner) {
    using Kind = VolumeMenuAction::Kind;
    switch (action.kind) {
    case Kind::EndpointMute: {
        BOOL muted = FALSE;
        return EndpointMute(true, muted);
    }
    case Kind::EndpointLevel: {
        int ignored = 0;
        return EndpointVolume(static_cast<short>(action.percent), ignored);
    }
    case Kind::MixerMute:
        ToggleMixerMute(true, owner);
        return S_OK;
    case Kind::MixerLevel:
        SetMixerVolume(action.percent, action.component, owner);
        return S_OK;
    }
    return S_OK;
}

HRESULT DoVolumeMenuItem(int index, int& target, VolumePath path, HWND owner) {
    const VolumeMenuAction action = ChooseVolumeMenuAction(index, target, path);
    const HRESULT hr = RunVolumeMenuAction(action, owner);
    if (action.clearTarget) {
        target = kNoVolumeTarget;
    }
    return hr;
}

VolumeButtonLayout VolumeButtonLayoutOf(const HWND* buttons) {
    VolumeButtonLayout layout;
    layout.top = ChildRect(buttons[0]).top;
    for (int i = 0; i < kVolumeButtonCount; ++i) {
        layout.left[i] = ChildRect(buttons[i]).left;
    }
    return layout;
}

WheelHit HitVolumeButtons(POINT client, const VolumeButtonLayout& layout, VolumePath path) {
    if (!(layout.top < client.y)) {
        return {};
    }
    if (path == VolumePath::Endpoint) {
        return layout.left[0] < client.x ? WheelHit{true, std::nullopt} : WheelHit{};
    }
    static constexpr DWORD kLines[kVolumeButtonCount] = {kMixerSpeakers, kMixerWaveOut, kMixerSynth,
                                                         kMixerCompactDisc};
    for (int i = kVolumeButtonCount - 1; i >= 0; --i) {
        if (layout.left[i] < client.x) {
            return {true, kLines[i]};
        }
    }
    return {true, std::nullopt};
}

bool WheelVolumeStep(POINT client, bool raise, const VolumeButtonLayout& layout, VolumePath path,
                     HWND owner) {
    const WheelHit hit = HitVolumeButtons(client, layout, path);
    if (!hit.act) {
        return false;
    }
    if (path == VolumePath::Endpoint) {
        int level = 0;
        if (SUCCEEDED(EndpointVolume(-1, level))) {
            if (const auto next = WheelLevel(level, raise)) {
                int ignored = 0;
                EndpointVolume(static_cast<short>(*next), ignored);
            }
        }
    } else if (hit.component) {
        if (const auto next = WheelLevel(GetMixerVolume(*hit.component), raise)) {
            SetMixerVolume(*next, *hit.component, owner);
        }
    }
    return true;
}

} // namespace tavimo

#include "volume/mixer.h"

#include "platform/app_title.h"
#include "platform/ask.h"
#include "platform/busy.h"
#include "platform/unique_handle.h"
#include "volume/volume_math.h"
#include "volume/volume_texts.h"
#include "platform/text.h"

namespace tavimo {

MixerApi g_mixerApi = {
    &::mixerOpen,
    &::mixerClose,
    &::mixerGetLineInfoA,
    &::mixerGetLineControlsA,
    &::mixerGetControlDetailsA,
    &::mixerSetControlDetails,
};

namespace {

void CloseMixerFn(HMIXER mixer) noexcept {
    g_mixerApi.close(mixer);
}
using unique_hmixer = unique_any<HMIXER, CloseMixerFn>;

// Every call names the open handle as a handle. Without MIXER_OBJECTF_HMIXER the documented meaning is
// a device number; that a handle works there too is leniency, not contract.
HMIXEROBJ AsObject(HMIXER mixer) {
    return reinterpret_cast<HMIXEROBJ>(mixer);
}

MMRESULT OpenMixer(unique_hmixer& mixer) {
    HMIXER opened = nullptr;
    const MMRESULT result = g_mixerApi.open(&opened, 0, 0, 0, 0);
    if (result == MMSYSERR_NOERROR) {
        mixer.reset(opened);
    }
    return result;
}

// One 4-byte value for all channels of the control.
MIXERCONTROLDETAILS DetailsFor(DWORD controlId, void* value) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof(details);
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = value;
    return details;
}

struct MuteOutcome {
    bool toggled; // the new state was written and the mixer took it
    int muted;
};

MuteOutcome ToggleMute(bool toggle, HWND owner) {
    unique_hmixer mixer;
    const MMRESULT opened = OpenMixer(mixer);
    if (opened != MMSYSERR_NOERROR) {
        ShowMixerError(opened, owner);
        return {false, 0};
    }
    // The mute is looked up by type on the speakers line: a fixed control number names whatever
    // control the driver put there (on Wine, the WAVE level).
    MIXERCONTROLA mute{};
    if (GetMixerControl(mixer.get(), kMixerSpeakers, MIXERCONTROL_CONTROLTYPE_MUTE, mute) !=
        MMSYSERR_NOERROR) {
        return {false, 0};
    }
    MIXERCONTROLDETAILS_BOOLEAN value{};
    MIXERCONTROLDETAILS details = DetailsFor(mute.dwControlID, &value);
    if (g_mixerApi.getControlDetails(AsObject(mixer.get()), &details,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR) {
        value.fValue = 0; // an unreadable switch counts as off
    }
    bool toggled = false;
    if (toggle) {
        value.fValue = value.fValue == 0 ? -1 : 0;
        toggled = SetMixerControlValue(mixer.get(), mute.dwControlID, static_cast<DWORD>(value.fValue)) ==
                  MMSYSERR_NOERROR;
    }
    return {toggled, static_cast<int>(value.fValue & 1)};
}

} // namespace

MMRESULT GetMixerControl(HMIXER mixer, DWORD componentType, DWORD controlType, MIXERCONTROLA& control) {
    MIXERLINEA line{};
    line.cbStruct = sizeof(line);
    line.dwComponentType = componentType;
    MMRESULT result = g_mixerApi.getLineInfo(AsObject(mixer), &line,
                                             MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
    if (result != MMSYSERR_NOERROR) {
        return result;
    }
    MIXERCONTROLA found{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(found);
    controls.pamxctrl = &found;
    result = g_mixerApi.getLineControls(AsObject(mixer), &controls,
                                        MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (result == MMSYSERR_NOERROR) {
        control = found;
    }
    return result;
}

MMRESULT SetMixerControlValue(HMIXER mixer, DWORD controlId, DWORD value) {
    MIXERCONTROLDETAILS_UNSIGNED detail{value};
    MIXERCONTROLDETAILS details = DetailsFor(controlId, &detail);
    return g_mixerApi.setControlDetails(AsObject(mixer), &details,
                                        MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

int GetMixerVolume(DWORD componentType) {
    unique_hmixer mixer;
    if (OpenMixer(mixer) != MMSYSERR_NOERROR) {
        return 0;
    }
    MIXERCONTROLA control{};
    if (GetMixerControl(mixer.get(), componentType, MIXERCONTROL_CONTROLTYPE_VOLUME, control) !=
        MMSYSERR_NOERROR) {
        return 0;
    }
    MIXERCONTROLDETAILS_UNSIGNED value{};
    MIXERCONTROLDETAILS details = DetailsFor(control.dwControlID, &value);
    if (g_mixerApi.getControlDetails(AsObject(mixer.get()), &details,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR) {
        return 0;
    }
    return MixerPercent(static_cast<LONG>(value.dwValue), control.Bounds.lMaximum);
}

void SetMixerVolume(int percent, DWORD componentType, HWND owner) {
    unique_hmixer mixer;
    const MMRESULT opened = OpenMixer(mixer);
    if (opened != MMSYSERR_NOERROR) {
        ShowMixerError(opened, owner);
        return;
    }
    MIXERCONTROLA control{};
    if (GetMixerControl(mixer.get(), componentType, MIXERCONTROL_CONTROLTYPE_VOLUME, control) !=
        MMSYSERR_NOERROR) {
        return;
    }
    SetMixerControlValue(mixer.get(), control.dwControlID, MixerRawValue(percent, control.Bounds.lMaximum));
}

int ToggleMixerMute(bool toggle, HWND owner) {
    return ToggleMute(toggle, owner).muted;
}

bool ToggleMuteSwitch() {
    return ToggleMute(true, nullptr).toggled;
}

std::wstring MixerErrorText(MMRESULT code) {
    if (code == MMSYSERR_NOERROR) {
        return {};
    }
    std::wstring text = L"[" + DecimalText(code) + L"] ";
    if (code < static_cast<MMRESULT>(volume_texts::kMixerErrorTextCount) &&
        volume_texts::kMixerErrorTexts[code]) {
        text += volume_texts::kMixerErrorTexts[code];
    }
    return text;
}

void ShowMixerError(MMRESULT code, HWND owner) {
    if (code == MMSYSERR_NOERROR) {
        return;
    }
    const std::wstring text = MixerErrorText(code);
    // Volume handlers show this box without a busy flag of their own; without it, the box taking the
    // activation would close the window under it when "exit when inactive" is on.
    BusyScope busy;
    Ask(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace tavimo

#pragma once
// Volume levels and the mute switch through the multimedia mixer (the volume path before Vista, and
// "/mute" on every version). Every operation opens mixer device 0, does its work and closes it again.

#include <windows.h>
#include <mmsystem.h>

#include <string>

namespace tavimo {

// The mixer calls, winmm's unless a test has put its own in: the test machine has no mixer, and
// levels set through a real one would leak out of the test.
struct MixerApi {
    decltype(&::mixerOpen) open;
    decltype(&::mixerClose) close;
    decltype(&::mixerGetLineInfoA) getLineInfo;
    decltype(&::mixerGetLineControlsA) getLineControls;
    decltype(&::mixerGetControlDetailsA) getControlDetails;
    decltype(&::mixerSetControlDetails) setControlDetails;
};
extern MixerApi g_mixerApi;

// Lines by component type, as the volume buttons use them.
inline constexpr DWORD kMixerSpeakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;       // 4
inline constexpr DWORD kMixerWaveOut = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;         // 0x1008
inline constexpr DWORD kMixerSynth = MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER;       // 0x1004
inline constexpr DWORD kMixerCompactDisc = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC; // 0x1005

// The first control of `controlType` on the line of `componentType`, copied into `control` on success.
// Returns the mixer error code (0 = found).
MMRESULT GetMixerControl(HMIXER mixer, DWORD componentType, DWORD controlType, MIXERCONTROLA& control);

// Writes one 32-bit value to all channels of a control; mixerSetControlDetails' error code.
MMRESULT SetMixerControlValue(HMIXER mixer, DWORD controlId, DWORD value);

// The line's volume in percent (ties to even); 0 on any failure, without a message.
int GetMixerVolume(DWORD componentType);

// Sets the line's volume (maximum * percent / 100, truncated). Only a mixer that cannot be opened is
// reported, with the error box owned by `owner`; a missing line or control does nothing.
void SetMixerVolume(int percent, DWORD componentType, HWND owner = nullptr);

// Reads, and with `toggle` inverts, the mute switch of the speakers line (writing -1 for on, 0 for
// off). Returns 1 when muted after the call, else 0. A failing query counts as not muted; a mixer
// without a mute on that line is left alone and reads 0. A mixer that cannot be opened shows the
// error box and returns 0.
int ToggleMixerMute(bool toggle, HWND owner = nullptr);

// "/mute": toggles the mixer's mute. True when the switch was toggled (exit code 0); false when nothing
// could be: the mixer did not open (after the error box), the speakers line has no mute, or the mixer
// refused the new state.
bool ToggleMuteSwitch();

// The error box's text for a mixer error code: "[code] " and the code's text; empty for 0.
std::wstring MixerErrorText(MMRESULT code);

// Shows the mixer error box (exclamation, OK, the program's title) unless `code` is 0.
void ShowMixerError(MMRESULT code, HWND owner = nullptr);

} // namespace tavimo

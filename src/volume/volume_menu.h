#pragma once
// The volume buttons (cmdMenu 2 to 5), their captions, the hidden volume menu (mnuVol) and the mouse
// wheel over the buttons. The window owns the controls and the menu; these functions decide and act.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavimo {

// Which volume path a handler takes: the mixer before Vista, the default endpoint from Vista on.
enum class VolumePath { Mixer, Endpoint };

// Asked afresh at every call, as each handler chooses when it runs.
VolumePath VolumePathNow();

// cmdMenu indices of the volume buttons.
inline constexpr int kMasterButton = 2;
inline constexpr int kWaveButton = 3;
inline constexpr int kMidiButton = 4;
inline constexpr int kCdButton = 5;
inline constexpr int kVolumeButtonCount = 4;
// No button's menu chose the line: the volume menu sets the master.
inline constexpr int kNoVolumeTarget = 0;

// --- captions (sUpdateVol) --------------------------------------------------------------------

// New captions for cmdMenu(2) .. cmdMenu(5), in that order; an empty entry keeps its caption.
struct VolumeCaptions {
    std::optional<std::wstring> text[kVolumeButtonCount];
};

// Reads the levels. Mixer path: all four, master first (a mixer that cannot be opened shows its error
// box once, from the mute read, and every level reads 0). Endpoint path: the master only, and nothing
// at all when the endpoint fails.
VolumeCaptions ReadVolumeCaptions(VolumePath path, HWND owner);

// Writes the captions that are present; `buttons` are cmdMenu(2) .. cmdMenu(5).
void ApplyVolumeCaptions(const VolumeCaptions& captions, const HWND* buttons);

// ReadVolumeCaptions then ApplyVolumeCaptions: the body of sUpdateVol, with VolumePathNow().
void UpdateVolumeCaptions(VolumePath path, HWND owner, const HWND* buttons);

// --- the volume menu ----------------------------------------------------------------------------

// A volume button's click (cmdMenu_Click, index 2 to 5): the target to store (the button's index) and
// whether the menu lists its mute item. The window then opens the menu at the mouse.
struct VolumeMenuRequest {
    int target = kNoVolumeTarget;
    bool showMute = false;
};
VolumeMenuRequest VolumeButtonClick(int buttonIndex);

// What choosing menu item `index` does with the stored target (mnuVol_Click).
struct VolumeMenuAction {
    enum class Kind { EndpointMute, EndpointLevel, MixerMute, MixerLevel };
    Kind kind = Kind::MixerLevel;
    int percent = 0;     // the level kinds
    DWORD component = 0; // MixerLevel: the mixer line
    bool clearTarget = false;
};
VolumeMenuAction ChooseVolumeMenuAction(int index, int target, VolumePath path);

// Carries the action out. The endpoint's HRESULT, or S_OK on the mixer path (whose only failure, a
// mixer that cannot be opened, shows its error box). A failure changes nothing more: the caller's
// caption refresh then keeps the captions as they are.
HRESULT RunVolumeMenuAction(const VolumeMenuAction& action, HWND owner);

// mnuVol_Click without its closing sUpdateVol (pass VolumePathNow()): chooses, runs, and forgets
// `target` on the mixer path.
HRESULT DoVolumeMenuItem(int index, int& target, VolumePath path, HWND owner);

// --- the mouse wheel ------------------------------------------------------------------------------

// Where the volume buttons are, in the window's client pixels: cmdMenu(2)'s top and the left edges of
// cmdMenu(2) .. cmdMenu(5).
struct VolumeButtonLayout {
    int top = 0;
    int left[kVolumeButtonCount] = {};
};
VolumeButtonLayout VolumeButtonLayoutOf(const HWND* buttons);

// What a wheel turn at `client` reaches. Only the top and left edges count (strictly below, strictly
// right of). Endpoint path: right of and below the master button, else nothing. Mixer path: below the
// row, the line of the rightmost button whose left edge is passed, or no line (refresh only).
struct WheelHit {
    bool act = false;               // false: no level change and no caption refresh
    std::optional<DWORD> component; // mixer path: the line to step
};
WheelHit HitVolumeButtons(POINT client, const VolumeButtonLayout& layout, VolumePath path);

// One wheel message: steps the level under `client` by one point towards `raise`, within 0..100.
// True when the captions should be refreshed now.
bool WheelVolumeStep(POINT client, bool raise, const VolumeButtonLayout& layout, VolumePath path, HWND owner);

} // namespace tavimo

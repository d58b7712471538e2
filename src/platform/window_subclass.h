#pragma once
// The main window's own window procedure, put in front of its class procedure. It adds two things:
// closing the program when the window loses the activation (option "非アクティブで終了(&A)"), and the
// volume wheel over the volume buttons. Every message still reaches the previous procedure.

#include <windows.h>

#include "volume/volume_menu.h"

#include <functional>

namespace tavimo {

// What the procedure asks of the window. An empty hook counts as "no" / does nothing.
struct WindowProcHooks {
    std::function<bool()> exitWhenInactive;                 // the option is checked at this moment
    std::function<void()> unload;                           // the window's normal unload (saves, destroys)
    std::function<VolumeButtonLayout()> volumeButtons;      // where cmdMenu(2..5) are now
    std::function<void()> refreshVolume;                    // sUpdateVol
    std::function<VolumePath()> volumePath = VolumePathNow; // chosen afresh for each wheel message
};

// Installs WindowProc on `window` (one window per program), keeping the previous procedure.
// False when the window already has it or SetWindowLongPtrW failed.
bool InstallWindowProc(HWND window, WindowProcHooks hooks);

// Puts the previous procedure back. Harmless when nothing is installed.
void RemoveWindowProc();

// The procedure itself. WM_ACTIVATE with wParam 0 (made inactive, not minimised), the busy flag down and
// the option checked posts a request to unload; the unload runs when that arrives, so the WM_ACTIVATE
// being forwarded never reaches a destroyed window. WM_MOUSEWHEEL steps the volume under the cursor.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace tavimo

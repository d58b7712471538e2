#pragma once
// CD trays through the multimedia command strings: open a tray, or close it when it was open already.

#include <windows.h>
#include <mmsystem.h>

#include "devices/cd_device.h"
#include "devices/removal.h"

#include <string_view>

namespace tavimo {

// mciSendStringA and timeGetTime; tests record the command sequence and drive the clock.
struct MciApi {
    MCIERROR(WINAPI* sendString)(LPCSTR command, LPSTR returnString, UINT returnLength, HWND callback);
    DWORD(WINAPI* now)();
};

MciApi DefaultMciApi();
extern MciApi g_mci;

// A door command that comes back sooner than this found the tray open already, so it is closed.
inline constexpr DWORD kDoorToggleMs = 200;

// Opens the tray of `drive` ("cdaudio" or a drive such as "D:"), or closes it when it was open. True
// when MCI accepted every command sent: the exit code of "/cdopen" is 0 then, 1 otherwise.
bool fCdDoor(std::wstring_view drive);

inline void sCdDoor(std::wstring_view drive) {
    (void)fCdDoor(drive);
}

// Enter or a left click on a row of the CD tray list: the question (unless `noConfirm`), then the tray
// of that row's drive; with `hideFirst` (the program closes after it) the window is hidden before the
// tray moves. Busy flag up throughout. Removed once the door command was sent.
RemovalOutcome sEjectTray(HWND window, HWND cdList, int row, bool noConfirm, bool hideFirst);

} // namespace tavimo

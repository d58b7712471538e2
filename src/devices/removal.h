#pragma once
// Safe removal of the device list's devices, one or all. The configuration-manager calls and the pause
// between remove-all passes go through g_removal, so tests eject nothing and never wait for real.

#include <windows.h>
#include <cfgmgr32.h>

namespace tavimo {

// The configuration manager's signatures, as cfgmgr32 exports them.
using RequestDeviceEjectFn = CONFIGRET(WINAPI*)(DEVINST device, PPNP_VETO_TYPE vetoType, LPWSTR vetoName,
                                                ULONG vetoNameLength, ULONG flags);
using SubTreeFn = CONFIGRET(WINAPI*)(DEVINST device, ULONG flags);

struct RemovalApi {
    RequestDeviceEjectFn requestDeviceEject;
    SubTreeFn queryRemoveSubTree;
    SubTreeFn removeSubTree;
    bool (*isWindowsNT)();
    void (*wait)(DWORD milliseconds);
};

// The real configuration-manager functions, IsWindowsNT and WaitMilliseconds.
RemovalApi DefaultRemovalApi();
extern RemovalApi g_removal;

// The pause after a remove-all pass while rows remain.
inline constexpr DWORD kRemoveAllPauseMs = 3000;

// What a removal came to; the window decides from it whether the program closes.
enum class RemovalOutcome {
    NothingToDo, // no row, or no selected row
    Cancelled,   // the question was answered with anything but Yes
    Removed,     // every device asked for went (a tray: its door command was sent)
    Refused,     // a device stayed: the configuration manager refused or failed
};

// CM_Request_Device_EjectW on the NT family; on the older family CM_Query_Remove_SubTree, then, when the
// query agreed, CM_Remove_SubTree. The configuration-manager result of the last call: CR_SUCCESS (0) is
// success.
CONFIGRET fEjectDevice(DEVINST device, PNP_VETO_TYPE& vetoType);

// A device row's lParam as the device instance handle it holds.
DEVINST DeviceOfRow(HWND deviceList, int row);

// Lets the thread's messages run, sleeping 1 ms between rounds, until `milliseconds` have passed by
// timeGetTime, or WM_QUIT comes.
void WaitMilliseconds(DWORD milliseconds);

// The remove-all passes: one pass per row present at the start, each on the first row. A device that
// agrees loses every row that carries it; while rows remain, each pass ends with the pause. True when
// every row listed at the start was removed (also when there was none).
bool fRemoveAllPasses(HWND deviceList);

// The button "全て取り外す(&A)", the File menu's item and the "/eject" run: busy flag up, the question
// unless `noConfirm`, then the passes with the window disabled and the hourglass shown. Nothing is asked
// when the list is empty. Window, busy flag and cursor are restored on every way out, an exception
// included. Removed when every device listed at the start went, Refused when one stayed.
RemovalOutcome fRemoveAllDevices(HWND window, HWND deviceList, bool noConfirm);

// Enter or a left click on a device row: removes the selected row's device after the question (unless
// `noConfirm`); on success every row of that device goes. A refusal shows nothing and keeps the row.
RemovalOutcome sEjectSelected(HWND window, HWND deviceList, bool noConfirm);

} // namespace tavimo

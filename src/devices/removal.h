#pragma once
// Safe removal of the device list's devices, one or all. The configuration-manager calls and the pause
// between remove-all passes go through g_removal, so tests eject nothing and never wait for real.

#include <windows.h>
#include <cfgmgr32.h>

#include <functional>

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

// The two options of the Option menu that shape removal, read from their check marks by the window.
struct RemovalOptions {
    bool noConfirm = false;       // "取り外し確認をしない(&E)"
    bool exitAfterRemoval = true; // "取り外し後は終了(&X)"
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
// unless options.noConfirm, then the passes with the window disabled and the hourglass shown, then
// `unload` when options.exitAfterRemoval, whatever the passes achieved. Nothing is asked and nothing
// unloaded when the list is empty or the answer is not Yes. Window, busy flag and cursor are restored
// on every way out; an exception ends it silently. True when every device listed at the start was
// removed (or there was none): the exit code of "/eject" is 0 then, 1 otherwise.
bool fRemoveAllDevices(HWND window, HWND deviceList, const RemovalOptions& options,
                       const std::function<void()>& unload) noexcept;

// Enter or a left click on a device row: removes the selected row's device after the question (unless
// options.noConfirm); on success its rows go and `unload` runs when options.exitAfterRemoval. A refusal
// shows nothing and keeps the row and the window.
void sEjectSelected(HWND window, HWND deviceList, const RemovalOptions& options,
                    const std::function<void()>& unload) noexcept;

} // namespace tavimo

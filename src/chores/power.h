#pragma once
// Standby, hibernation, log-off, restart and shut-down from the Windows-exit menu, each after a
// confirmation. The token, privilege and power calls go through g_power, so no test can suspend, log
// off or shut down the machine it runs on.

#include <windows.h>

#include <string>
#include <string_view>

namespace tavimo {

using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE process, DWORD access, PHANDLE token);
using LookupPrivilegeValueFn = BOOL(WINAPI*)(LPCSTR systemName, LPCSTR name, PLUID luid);
using AdjustTokenPrivilegesFn = BOOL(WINAPI*)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState,
                                              DWORD bufferLength, PTOKEN_PRIVILEGES previousState,
                                              PDWORD returnLength);
using ExitWindowsExFn = BOOL(WINAPI*)(UINT flags, DWORD reason);
using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled);

struct PowerApi {
    OpenProcessTokenFn openProcessToken;
    LookupPrivilegeValueFn lookupPrivilegeValue;
    AdjustTokenPrivilegesFn adjustTokenPrivileges;
    ExitWindowsExFn exitWindowsEx;
    SetSuspendStateFn setSuspendState;
};

// The real advapi32, user32 and powrprof functions.
PowerApi DefaultPowerApi();
extern PowerApi g_power;

// Indices of the Windows-exit menu's items; the gaps are part of the action code.
enum class PowerItem : int {
    Standby = 0,   // SetSuspendState, hibernate = the index
    Hibernate = 1, // SetSuspendState, hibernate = the index
    LogOff = 2,    // ExitWindowsEx with the index minus 2: EWX_LOGOFF
    Restart = 4,   // EWX_REBOOT
    ShutDown = 10, // EWX_POWEROFF
};

bool IsPowerItem(int index);

// The confirmation for an item: its caption without the last seven characters (the accelerator and
// the ellipsis), then "しますか？". A caption of seven characters or fewer leaves only the ending.
std::wstring PowerQuestion(std::wstring_view itemCaption);

// Enables the shutdown privilege in the program's own token: open it for 0x28, look the privilege up,
// enable that one entry. True when all three steps succeeded; the token is closed on every path.
bool EnableShutdownPrivilege();

// Enables the shutdown privilege in the program's own token, then ExitWindowsEx(flags, 0). Its result
// (nonzero on success), or 0 when the token could not be opened or the privilege not enabled, without
// ExitWindowsEx being called. The token is closed on every path.
BOOL ShutdownWindows(UINT flags);

enum class PowerOutcome {
    NotAnItem, // no such item: nothing asked, nothing done
    Cancelled, // anything but OK
    Requested, // the system accepted the request
    Refused,   // the system (or the privilege step) refused it; the machine keeps running
};

// One item of the menu: the question under "Windows の終了" (OK/Cancel, no icon), then the action.
PowerOutcome RunPowerItem(HWND owner, int index, std::wstring_view itemCaption);

} // namespace tavimo

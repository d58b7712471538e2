#include "chores/power.h"

#include "chores/power_texts.h"
#include "platform/ask.h"
#include "platform/unique_handle.h"

#include <powrprof.h>

namespace tavimo {

namespace {

constexpr size_t kAcceleratorAndEllipsis = 7; // "(&S)..."

} // namespace

PowerApi DefaultPowerApi() {
    return {&::OpenProcessToken, &::LookupPrivilegeValueA, &::AdjustTokenPrivileges, &::ExitWindowsEx,
            &::SetSuspendState};
}

PowerApi g_power = DefaultPowerApi();

bool IsPowerItem(int index) {
    switch (static_cast<PowerItem>(index)) {
    case PowerItem::Standby:
    case PowerItem::Hibernate:
    case PowerItem::LogOff:
    case PowerItem::Restart:
    case PowerItem::ShutDown:
        return true;
    }
    return false;
}

std::wstring PowerQuestion(std::wstring_view itemCaption) {
    const size_t kept =
        itemCaption.size() > kAcceleratorAndEllipsis ? itemCaption.size() - kAcceleratorAndEllipsis : 0;
    return std::wstring(itemCaption.substr(0, kept)) + power_texts::kQuestionEnding;
}

bool EnableShutdownPrivilege() {
    unique_handle token;
    if (!g_power.openProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                                  token.put())) {
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!g_power.lookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        return false;
    }
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    // A nonzero answer counts as enabled: when the privilege is not held at all, the request itself is
    // the one that refuses, and the machine keeps running either way.
    return g_power.adjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(previous), &previous,
                                         &previousLength) != FALSE;
}

BOOL ShutdownWindows(UINT flags) {
    if (!EnableShutdownPrivilege()) {
        return FALSE;
    }
    return g_power.exitWindowsEx(flags, 0);
}

PowerOutcome RunPowerItem(HWND owner, int index, std::wstring_view itemCaption) {
    if (!IsPowerItem(index)) {
        return PowerOutcome::NotAnItem;
    }
    if (Ask(owner, PowerQuestion(itemCaption).c_str(), power_texts::kCaption, MB_OKCANCEL) != IDOK) {
        return PowerOutcome::Cancelled;
    }
    bool accepted = false;
    if (index <= static_cast<int>(PowerItem::Hibernate)) {
        // Suspending needs the shutdown privilege enabled just as shutting down does. Asked for all the
        // same when it can't be enabled: the system then refuses, as it would have anyway.
        EnableShutdownPrivilege();
        accepted = g_power.setSuspendState(static_cast<BOOLEAN>(index), FALSE, FALSE) != FALSE;
    } else {
        accepted = ShutdownWindows(static_cast<UINT>(index - 2)) != FALSE;
    }
    return accepted ? PowerOutcome::Requested : PowerOutcome::Refused;
}

} // namespace tavimo

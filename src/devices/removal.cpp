#include "devices/removal.h"

#include "platform/message_pump.h"

#include "platform/app_title.h"
#include "platform/ask.h"
#include "platform/busy.h"
#include "platform/os_version.h"
#include "platform/process_start.h"
#include "platform/wait_cursor.h"
#include "devices/device_list.h"
#include "devices/devices_texts.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

namespace tavimo {

namespace {

// Resolved when first used rather than imported: Wine's cfgmgr32 lacks CM_Request_Device_EjectW (its
// setupapi has it), and an import bound to Wine's missing-function stub aborts the process when called.
FARPROC SystemProc(const char* name) {
    for (const wchar_t* dll : {L"cfgmgr32.dll", L"setupapi.dll"}) {
        const std::wstring path = SystemProgramPath(dll);
        // Loaded once and kept for the life of the process.
        if (const HMODULE module = path.empty() ? nullptr : ::LoadLibraryW(path.c_str())) {
            if (const FARPROC proc = ::GetProcAddress(module, name)) {
                return proc;
            }
        }
    }
    return nullptr;
}

template <typename F> F ResolveSystemProc(const char* name) {
    // Through a plain function-pointer type: a direct cast from FARPROC trips -Wcast-function-type.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(SystemProc(name)));
}

CONFIGRET WINAPI RealRequestDeviceEject(DEVINST device, PPNP_VETO_TYPE vetoType, LPWSTR vetoName,
                                        ULONG vetoNameLength, ULONG flags) {
    static const auto real = ResolveSystemProc<RequestDeviceEjectFn>("CM_Request_Device_EjectW");
    return real ? real(device, vetoType, vetoName, vetoNameLength, flags) : CR_CALL_NOT_IMPLEMENTED;
}

CONFIGRET WINAPI RealQueryRemoveSubTree(DEVINST device, ULONG flags) {
    static const auto real = ResolveSystemProc<SubTreeFn>("CM_Query_Remove_SubTree");
    return real ? real(device, flags) : CR_CALL_NOT_IMPLEMENTED;
}

CONFIGRET WINAPI RealRemoveSubTree(DEVINST device, ULONG flags) {
    static const auto real = ResolveSystemProc<SubTreeFn>("CM_Remove_SubTree");
    return real ? real(device, flags) : CR_CALL_NOT_IMPLEMENTED;
}

// Every row of one device goes with it: a stick with two partitions has a row per drive letter, and a
// row left behind would be retried by the remaining passes in place of the devices after it.
int DeleteRowsOfDevice(HWND list, DEVINST device) {
    int deleted = 0;
    for (int row = ListView_GetItemCount(list) - 1; row >= 0; --row) {
        if (DeviceOfRow(list, row) == device && ListView_DeleteItem(list, row)) {
            ++deleted;
        }
    }
    return deleted;
}

// The window is disabled while the passes run and enabled again on every way out; the keyboard focus
// goes back where it was when the window is still the active one.
class DisabledWindowScope {
  public:
    explicit DisabledWindowScope(HWND window) noexcept
        : window_(window), focus_(::GetFocus()), wasEnabled_(::IsWindowEnabled(window) != FALSE) {
        ::EnableWindow(window_, FALSE);
    }
    ~DisabledWindowScope() {
        if (!wasEnabled_ || !::IsWindow(window_)) {
            return;
        }
        ::EnableWindow(window_, TRUE);
        if (focus_ && ::GetFocus() == nullptr && ::GetActiveWindow() == window_ && ::IsWindow(focus_) &&
            (focus_ == window_ || ::IsChild(window_, focus_))) {
            ::SetFocus(focus_);
        }
    }
    DisabledWindowScope(const DisabledWindowScope&) = delete;
    DisabledWindowScope& operator=(const DisabledWindowScope&) = delete;

  private:
    HWND window_;
    HWND focus_;
    bool wasEnabled_;
};

bool Confirmed(HWND window, const wchar_t* question, bool noConfirm) {
    return noConfirm || Ask(window, question, kAppTitle, MB_YESNO) == IDYES;
}

} // namespace

RemovalApi DefaultRemovalApi() {
    return {&RealRequestDeviceEject, &RealQueryRemoveSubTree, &RealRemoveSubTree, &IsWindowsNT,
            &WaitMilliseconds};
}

RemovalApi g_removal = DefaultRemovalApi();

CONFIGRET fEjectDevice(DEVINST device, PNP_VETO_TYPE& vetoType) {
    if (g_removal.isWindowsNT()) {
        return g_removal.requestDeviceEject(device, &vetoType, nullptr, 0, 0);
    }
    const CONFIGRET query = g_removal.queryRemoveSubTree(device, 0);
    if (query != CR_SUCCESS) {
        return query;
    }
    // A removal that fails after the query agreed leaves the device in place: it must not count as done.
    return g_removal.removeSubTree(device, 0);
}

DEVINST DeviceOfRow(HWND deviceList, int row) {
    // The handle is stored as a 32-bit value; on 64-bit builds only the low half is meaningful.
    return static_cast<DEVINST>(static_cast<DWORD>(ListRowTag(deviceList, row)));
}

void WaitMilliseconds(DWORD milliseconds) {
    const DWORD start = ::timeGetTime();
    // Unsigned difference: correct across the 49.7-day wrap of timeGetTime.
    while (::timeGetTime() - start < milliseconds) {
        if (!RunPendingMessages()) {
            return;
        }
        ::Sleep(1);
    }
}

bool fRemoveAllPasses(HWND deviceList) {
    const int rowsAtStart = ListView_GetItemCount(deviceList);
    int removed = 0;
    for (int pass = 0; pass < rowsAtStart; ++pass) {
        // Rows can only vanish from outside during a pause when the window itself was destroyed; then
        // there is no row left whose device could be asked for.
        if (!::IsWindow(deviceList) || ListView_GetItemCount(deviceList) == 0) {
            break;
        }
        const DEVINST device = DeviceOfRow(deviceList, 0);
        PNP_VETO_TYPE vetoType = PNP_VetoTypeUnknown;
        if (fEjectDevice(device, vetoType) == CR_SUCCESS) {
            removed += DeleteRowsOfDevice(deviceList, device);
        }
        if (ListView_GetItemCount(deviceList) > 0) {
            g_removal.wait(kRemoveAllPauseMs);
        }
    }
    return removed == rowsAtStart;
}

RemovalOutcome fRemoveAllDevices(HWND window, HWND deviceList, bool noConfirm) {
    BusyScope busy;
    if (ListView_GetItemCount(deviceList) == 0) {
        return RemovalOutcome::NothingToDo;
    }
    if (!Confirmed(window, devices_texts::kRemoveAllQuestion, noConfirm)) {
        return RemovalOutcome::Cancelled;
    }
    WaitCursorScope hourglass;
    DisabledWindowScope disabled(window);
    return fRemoveAllPasses(deviceList) ? RemovalOutcome::Removed : RemovalOutcome::Refused;
}

RemovalOutcome sEjectSelected(HWND window, HWND deviceList, bool noConfirm) {
    BusyScope busy;
    const int row = ListView_GetNextItem(deviceList, -1, LVNI_SELECTED);
    if (row < 0) {
        return RemovalOutcome::NothingToDo; // nothing selected: nothing to ask about
    }
    // Taken before the question: the rows are found again by the device, not by a position that might
    // have changed while the box was open.
    const DEVINST device = DeviceOfRow(deviceList, row);
    if (!Confirmed(window, devices_texts::kRemoveSelectedQuestion, noConfirm)) {
        return RemovalOutcome::Cancelled;
    }
    PNP_VETO_TYPE vetoType = PNP_VetoTypeUnknown;
    if (fEjectDevice(device, vetoType) != CR_SUCCESS) {
        return RemovalOutcome::Refused;
    }
    DeleteRowsOfDevice(deviceList, device);
    return RemovalOutcome::Removed;
}

} // namespace tavimo

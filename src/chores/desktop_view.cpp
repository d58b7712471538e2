#include "chores/desktop_view.h"

#include <commctrl.h>

namespace tavimo {

DWORD DesktopViewAfterToggle(DWORD style) {
    if ((style & LVS_TYPEMASK) != LVS_ICON) {
        return (style & ~static_cast<DWORD>(LVS_TYPEMASK)) | LVS_NOSCROLL;
    }
    return (style & ~static_cast<DWORD>(LVS_NOSCROLL)) | LVS_LIST;
}

HWND GetDesktopListView() {
    HWND progman = ::FindWindowExW(nullptr, nullptr, L"Progman", L"Program Manager");
    HWND view = progman ? ::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    return view ? ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

bool ToggleDesktopView() {
    HWND list = GetDesktopListView();
    if (!list) {
        return false;
    }
    const auto style = static_cast<DWORD>(::GetWindowLongW(list, GWL_STYLE));
    // A previous style of 0 is also what a failure returns: only the last error tells them apart.
    ::SetLastError(0);
    const LONG previous = ::SetWindowLongW(list, GWL_STYLE, static_cast<LONG>(DesktopViewAfterToggle(style)));
    return previous != 0 || ::GetLastError() == ERROR_SUCCESS;
}

} // namespace tavimo

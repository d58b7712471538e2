// Keys and clicks on the main window's two lists.
#include "app/frm_device.h"

#include "devices/cd_tray.h"
#include "devices/device_list.h"
#include "devices/removal.h"
#include "devices/shell_menu.h"
#include "platform/busy.h"
#include "platform/wait_cursor.h"

#include <commctrl.h>
#include <windowsx.h>

namespace tavimo {

void frmDevice::OnNotify(const NMHDR& header) {
    const int list = header.hwndFrom == ListView1[kDeviceList] ? kDeviceList
                     : header.hwndFrom == ListView1[kCdList]   ? kCdList
                                                               : -1;
    if (list < 0) {
        return;
    }
    switch (header.code) {
    case LVN_COLUMNCLICK:
        ListView1_ColumnClick(list);
        break;
    case LVN_KEYDOWN:
        ListView1_KeyDown(list, reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        break;
    case NM_CLICK:
    case NM_RCLICK: {
        // The list view swallows the button-up in its drag detection; these notes come after it.
        const DWORD pos = ::GetMessagePos();
        POINT at{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
        ::ScreenToClient(header.hwndFrom, &at);
        ListView1_MouseUp(list, header.code == NM_CLICK ? 1 : 2, at);
        break;
    }
    default:
        break;
    }
}

void frmDevice::ListView1_ColumnClick(int index) {
    if (index == kDeviceList) {
        WaitCursorScope wait;
        sRefreshUsbList();
    } else {
        sRefreshCdList();
    }
}

void frmDevice::ListView1_KeyDown(int index, WORD keyCode) {
    HWND list = ListView1[index];
    const int count = ListView_GetItemCount(list);
    if (count == 0) {
        return;
    }
    BusyScope busy;
    Act(index, ListKeyAction(index, keyCode, count, ListView_GetNextItem(list, -1, LVNI_SELECTED)));
}

void frmDevice::ListView1_MouseMove(int index, POINT at) {
    HWND list = ListView1[index];
    LVHITTESTINFO hit{};
    hit.pt = at;
    const int row = ListView_HitTest(list, &hit);
    if (row < 0) {
        return;
    }
    if (::GetFocus() != list && ::GetActiveWindow() == hwnd_) {
        ::SetFocus(list);
    }
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void frmDevice::ListView1_MouseUp(int index, int button, POINT at) {
    BusyScope busy;
    HWND list = ListView1[index];
    LVHITTESTINFO hit{};
    hit.pt = at;
    ListClick click;
    click.list = index;
    click.button = button;
    click.hitRow = ListView_HitTest(list, &hit);
    click.at = at;
    click.lastClick = lastClick_;
    click.itemCount = ListView_GetItemCount(list);
    click.focusedRow = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    click.focusedSelected =
        click.focusedRow >= 0 &&
        (ListView_GetItemState(list, click.focusedRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const ListAction action = ListMouseUpAction(click);
    if (action.remember) {
        lastClick_ = at;
    }
    Act(index, action);
}

void frmDevice::Act(int list, const ListAction& action) {
    const bool noConfirm = IsOptionChecked(kOptNoConfirm);
    switch (action.kind) {
    case ListActionKind::None:
        break;
    case ListActionKind::EjectDevice:
        AfterRemoval(sEjectSelected(hwnd_, ListView1[kDeviceList], noConfirm), false);
        break;
    case ListActionKind::EjectTray:
        AfterRemoval(sEjectTray(hwnd_, ListView1[kCdList], action.row, noConfirm,
                                IsOptionChecked(kOptExitAfterRemoval)),
                     false);
        break;
    case ListActionKind::DriveMenu:
        sShellMenu(hwnd_, popupMenu_.get(),
                   list == kDeviceList ? DeviceRowDrivePath(ListRowText(ListView1[kDeviceList], action.row))
                                       : CdRowDrivePath(ListView1[kCdList], action.row));
        break;
    case ListActionKind::FileMenu: {
        POINT screen{};
        ::GetCursorPos(&screen);
        ::TrackPopupMenu(menus_.Popup(MenuId::File), TPM_LEFTALIGN, screen.x, screen.y, 0, hwnd_, nullptr);
        break;
    }
    }
}

LRESULT CALLBACK frmDevice::ListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR refData) {
    try {
        if (message == WM_MOUSEMOVE) {
            reinterpret_cast<frmDevice*>(refData)->ListView1_MouseMove(
                static_cast<int>(id), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        } else if (message == WM_MOUSEWHEEL) {
            // The wheel goes to the focused control, which is usually a list: turned over the volume
            // buttons it belongs to the window, whose rule decides by where the cursor is.
            RECT list{};
            ::GetWindowRect(hwnd, &list);
            const POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!::PtInRect(&list, cursor)) {
                return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
            }
        } else if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(hwnd, &frmDevice::ListSubclassProc, id);
        }
    } catch (...) {
        // The list still gets its message below.
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace tavimo

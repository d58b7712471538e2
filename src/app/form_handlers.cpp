// The main window's buttons and menus.
#include "app/frm_device.h"

#include "app/app_info.h"
#include "app/menu_texts.h"
#include "app/shell_open.h"
#include "app/window_texts.h"
#include "chores/cleanup.h"
#include "chores/desktop_view.h"
#include "chores/screen_saver.h"
#include "chores/close_windows.h"
#include "chores/power.h"
#include "devices/device_list.h"
#include "devices/removal.h"
#include "platform/app_title.h"
#include "platform/ask.h"
#include "platform/busy.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/wait_cursor.h"
#include "volume/volume_menu.h"
#include "volume/volume_texts.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <string_view>

namespace tavimo {

namespace {

// The item's caption at run time says what choosing it does: on or off.
void ShowScreenSaverItems(HMENU extra) {
    const ScreenSaverState state = ReadScreenSaver().state;
    ::EnableMenuItem(extra, MenuCommand(MenuId::Extra, kExtraSaverStartItem),
                     MF_BYCOMMAND | (state == ScreenSaverState::Chosen ? MF_ENABLED : MF_GRAYED));
    // Only a value known to be absent reads as off: one the program can't read may still be a choice.
    const wchar_t* caption =
        state == ScreenSaverState::None ? menu_texts::kExtraSaverSwitchOn : menu_texts::kExtraSaverSwitchOff;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(caption);
    ::SetMenuItemInfoW(extra, MenuCommand(MenuId::Extra, kExtraSaverToggleItem), FALSE, &item);
}

bool SaverItemSwitchesOn(HMENU extra) {
    wchar_t caption[64] = {};
    ::GetMenuStringW(extra, MenuCommand(MenuId::Extra, kExtraSaverToggleItem), caption, 64, MF_BYCOMMAND);
    return std::wstring_view(caption) == menu_texts::kExtraSaverSwitchOn;
}
} // namespace

void frmDevice::OnCommand(WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    if (id >= kCmdMenuBase && id < kCmdMenuBase + kCmdMenuCount) {
        if (HIWORD(wParam) == BN_CLICKED) {
            cmdMenu_Click(static_cast<int>(id - kCmdMenuBase));
        }
        return;
    }
    if (id < kFirstMenuCommand || id > kLastMenuCommand) {
        return;
    }
    const int index = IndexOfCommand(id);
    switch (MenuOfCommand(id)) {
    case MenuId::File:
        mnuFileItem_Click(index);
        break;
    case MenuId::Opt:
        mnuOptItem_Click(index);
        break;
    case MenuId::Help:
        mnuHelpItem_Click(index);
        break;
    case MenuId::Extra:
        mnuExtra_Click(index);
        break;
    case MenuId::Win:
        mnuWinOff_Click(index);
        break;
    case MenuId::Delete:
        RunCleanupMenu(hwnd_, index);
        break;
    case MenuId::Volume:
        mnuVol_Click(index);
        break;
    default:
        break;
    }
}

void frmDevice::sRefreshUsbList() {
    tavimo::sRefreshUsbList(ListView1[kDeviceList]);
}
void frmDevice::sRefreshCdList() {
    tavimo::sRefreshCdList(ListView1[kCdList]);
}

void frmDevice::sUpdateVol() {
    UpdateVolumeCaptions(VolumePathNow(), hwnd_, &cmdMenu[kMasterButton]);
}

void frmDevice::AfterRemoval(RemovalOutcome outcome, bool removeAll) {
    if (ExitsAfterRemoval(outcome, removeAll, IsOptionChecked(kOptExitAfterRemoval))) {
        UnloadLater();
    }
}

RemovalOutcome frmDevice::RemoveAll() {
    return fRemoveAllDevices(hwnd_, ListView1[kDeviceList], IsOptionChecked(kOptNoConfirm));
}

void frmDevice::cmdMenu_Click(int index) {
    BusyScope busy;
    switch (index) {
    case 0: {
        WaitCursorScope wait;
        sRefreshUsbList();
        sRefreshCdList();
        sUpdateVol();
        break;
    }
    case 1:
        AfterRemoval(RemoveAll(), true);
        break;
    default:
        ShowVolumeMenu(index);
        break;
    }
}

void frmDevice::ShowVolumeMenu(int index) {
    const VolumeMenuRequest request = VolumeButtonClick(index);
    volumeTarget_ = request.target;
    // The mute item belongs to the master line only: a menu can't hide an item, so it comes and goes.
    HMENU menu = menus_.Popup(MenuId::Volume);
    const UINT mute = MenuCommand(MenuId::Volume, volume_texts::kMuteItem);
    const bool present = ::GetMenuState(menu, mute, MF_BYCOMMAND) != static_cast<UINT>(-1);
    if (request.showMute && !present) {
        ::AppendMenuW(menu, MF_STRING, mute, volume_texts::kVolItemCaptions[volume_texts::kMuteItem]);
    } else if (!request.showMute && present) {
        ::DeleteMenu(menu, mute, MF_BYCOMMAND);
    }
    POINT at{};
    ::GetCursorPos(&at);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN, at.x, at.y, 0, hwnd_, nullptr);
}

void frmDevice::mnuVol_Click(int index) {
    DoVolumeMenuItem(index, volumeTarget_, VolumePathNow(), hwnd_);
    sUpdateVol();
}

void frmDevice::mnuFileItem_Click(int index) {
    switch (index) {
    case 0:
        cmdMenu_Click(1);
        break;
    case 1:
        cmdMenu_Click(0);
        break;
    case 3:
        Unload();
        break;
    default:
        break;
    }
}

void frmDevice::mnuOptItem_Click(int index) {
    const bool checked = !IsOptionChecked(index);
    SetOptionChecked(menus_.bar, index, checked);
    if (index == kOptCenter && checked && !::IsIconic(hwnd_) && !::IsZoomed(hwnd_)) {
        // Centring applies to a normal window; a minimised or maximised one keeps its place.
        controls_.MoveToScreenCenter();
    } else if (index == kOptTop) {
        ::SetWindowPos(hwnd_, checked ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

void frmDevice::mnuHelpItem_Click(int index) {
    switch (index) {
    case 0:
        if (::PathFileExistsW(ReadMePath().c_str())) {
            ShellOpen(hwnd_, ReadMePath(), L"", L"");
        }
        break;
    case 1:
        ShellOpen(hwnd_, kHomePageUrl, L"", L"");
        break;
    case 2: {
        BusyScope busy;
        ShowVersionMessage(hwnd_);
        break;
    }
    default:
        break;
    }
}

void frmDevice::mnuExtra_Click(int index) {
    BusyScope busy;
    switch (index) {
    case kExtraTimeItem:
        // A second copy waits for the time server, so this window never does. Nothing is shown when it
        // can't start (another file name, for one).
        StartProgram(JoinPath(ExeFolder(), L"Tavimo.exe"), L"/time", SW_SHOWNORMAL);
        break;
    case kExtraDesktopItem:
        ToggleDesktopView();
        break;
    case kExtraSaverStartItem:
        StartScreenSaver(hwnd_);
        break;
    case kExtraSaverToggleItem:
        ToggleScreenSaver(SaverItemSwitchesOn(menus_.Popup(MenuId::Extra)), SettingsPath());
        break;
    case kExtraCloseAllItem:
    case kExtraCloseAllForcedItem: {
        const bool forced = index == kExtraCloseAllForcedItem;
        if (Ask(hwnd_, forced ? texts::kCloseAllForcedQuestion : texts::kCloseAllQuestion, kAppTitle,
                MB_YESNO) != IDYES) {
            break;
        }
        // This window is among those closed, but not from inside its own menu handler: it goes last,
        // through its unload, so the settings are saved.
        if (CloseAllWindows(forced ? CloseMode::Forced : CloseMode::Normal, hwnd_)) {
            UnloadLater();
        }
        break;
    }
    default:
        break;
    }
}

void frmDevice::mnuWinOff_Click(int index) {
    BusyScope busy;
    // The question is made from the item's caption as the menu shows it.
    wchar_t caption[64] = {};
    if (::GetMenuStringW(menus_.bar, MenuCommand(MenuId::Win, index), caption, 64, MF_BYCOMMAND) <= 0) {
        return;
    }
    // Nothing to do after a request: the system suspends the machine or ends the program.
    RunPowerItem(hwnd_, index, caption);
}

void frmDevice::ClearHighlights() {
    for (HWND list : ListView1) {
        const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
        if (ListView_GetItemCount(list) > 0 && focused >= 0) {
            ListView_SetItemState(list, focused, 0, LVIS_SELECTED);
        }
    }
}

void frmDevice::OnMenuOpen(HMENU popup) {
    if (popup == menus_.Popup(MenuId::File)) {
        const bool any = ListView_GetItemCount(ListView1[kDeviceList]) > 0;
        ::EnableMenuItem(popup, MenuCommand(MenuId::File, 0), MF_BYCOMMAND | (any ? MF_ENABLED : MF_GRAYED));
        ClearHighlights();
    } else if (popup == menus_.Popup(MenuId::Opt) || popup == menus_.Popup(MenuId::Volume) ||
               popup == menus_.Popup(MenuId::Extra) || popup == menus_.Popup(MenuId::Win)) {
        ClearHighlights();
    } else if (popup == menus_.Popup(MenuId::Help)) {
        ClearHighlights();
        const bool readMe = ::PathFileExistsW(ReadMePath().c_str()) != FALSE;
        ::EnableMenuItem(popup, MenuCommand(MenuId::Help, 0),
                         MF_BYCOMMAND | (readMe ? MF_ENABLED : MF_GRAYED));
    }
    if (popup == menus_.Popup(MenuId::Extra)) {
        ShowScreenSaverItems(popup);
    }
}

} // namespace tavimo

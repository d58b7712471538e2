#include "app/frm_device.h"

#include "app/app_info.h"
#include "app/ask.h"
#include "app/busy.h"
#include "app/command_line.h"
#include "app/form_layout.h"
#include "app/resources/resource.h"
#include "app/settings.h"
#include "app/shell_open.h"
#include "app/wait_cursor.h"
#include "app/window_texts.h"
#include "chores/cleanup.h"
#include "devices/cd_tray.h"
#include "devices/device_list.h"
#include "devices/removal.h"
#include "devices/shell_menu.h"
#include "platform/window_geometry.h"
#include "platform/window_subclass.h"
#include "volume/volume_menu.h"
#include "volume/volume_texts.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <windowsx.h>

namespace tavimo {

namespace {

// Designed geometry at 96 DPI, in pixels: left, top, width, height.
struct DesignRect {
    double left, top, width, height;
};
constexpr DesignRect kListDesign[2] = {{0, 0, 401, 104}, {400, 0, 257, 104}};
constexpr DesignRect kCmdMenuDesign[kCmdMenuCount] = {
    {0, 104, 105, 33.333},  {104, 104, 105, 33.333}, {400, 104, 65, 33.333},
    {464, 104, 65, 33.333}, {528, 104, 65, 33.333},  {592, 104, 65, 33.333},
};
constexpr double kDesignClientWidth = 657;
constexpr int kColumnMargin = 23;

// One window instance per session; the lock is held until the window unloads.
constexpr wchar_t kInstanceLockName[] = L"Local\\Tavimo.frmDevice";

UINT WindowDpi(HWND hwnd) {
    const UINT dpi = hwnd ? ::GetDpiForWindow(hwnd) : 0;
    return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

} // namespace

frmDevice::frmDevice(std::wstring commandTail) : commandTail_(std::move(commandTail)) {}

frmDevice::~frmDevice() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
    }
}

int frmDevice::Scale(double designPixels) const { return ScaleDesign(designPixels, dpi_); }

double frmDevice::TwipsPerPixel() const { return 1440.0 / dpi_; }

bool frmDevice::IsOptionChecked(int index) const { return tavimo::IsOptionChecked(menus_.bar, index); }

bool frmDevice::Load() {
    // Another window instance is running: end before anything is read or written.
    instanceLock_.reset(::CreateMutexW(nullptr, FALSE, kInstanceLockName));
    if (!instanceLock_ || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return false;
    }

    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &frmDevice::StaticWndProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVIMO));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAVIMO), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    ::RegisterClassExW(&wc);

    menus_ = CreateMenuBar();
    volumeMenuOwner_.reset(menus_.Popup(MenuId::Volume));
    ACCEL refresh{FVIRTKEY, VK_F5, static_cast<WORD>(MenuCommand(MenuId::File, 1))};
    accelerators_.reset(::CreateAcceleratorTableW(&refresh, 1));
    const UINT systemDpi = ::GetDpiForSystem();
    ::CreateWindowExW(0, kMainWindowClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                      CW_USEDEFAULT, TwipsToPixels(kDefaultWidthTwips, systemDpi),
                      TwipsToPixels(kDefaultHeightTwips, systemDpi), nullptr, menus_.bar, instance, this);
    return hwnd_ != nullptr && !unloaded_;
}

void frmDevice::Show() {
    ::ShowWindow(hwnd_, startState_ == kStateMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
}

void frmDevice::CreateControls() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (int i = 0; i < 2; ++i) {
        const DesignRect& r = kListDesign[i];
        // Neither list owns its image list: the device list shows the library's, the CD list ours.
        ListView1[i] = ::CreateWindowExW(
            WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS, Scale(r.left),
            Scale(r.top),
            Scale(r.width), Scale(r.height), hwnd_, reinterpret_cast<HMENU>(INT_PTR{kListView1Base + i}), instance,
            nullptr);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(texts::kListHeaders[i]);
        column.cx = Scale(r.width - kColumnMargin);
        ListView_InsertColumn(ListView1[i], 0, &column);
        ::SetWindowSubclass(ListView1[i], &frmDevice::ListSubclassProc, static_cast<UINT_PTR>(i),
                            reinterpret_cast<DWORD_PTR>(this));
    }
    for (int i = 0; i < kCmdMenuCount; ++i) {
        const DesignRect& r = kCmdMenuDesign[i];
        cmdMenu[i] = ::CreateWindowExW(0, WC_BUTTONW, texts::kCmdMenuCaptions[i],
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, Scale(r.left),
                                       Scale(r.top), Scale(r.width), Scale(r.height), hwnd_,
                                       reinterpret_cast<HMENU>(INT_PTR{kCmdMenuBase + i}), instance, nullptr);
    }

    // Unowned: under Wine an owned popup above the window keeps "always on top" from taking effect.
    tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr));
    for (int i = 0; i < kCmdMenuCount; ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(cmdMenu[i]);
        tool.lpszText = const_cast<wchar_t*>(texts::kCmdMenuTooltips[i]);
        ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    // ImageList1: the one picture of the CD tray list, a disc over a drive.
    const int icon = ::GetSystemMetricsForDpi(SM_CXSMICON, dpi_);
    imageList1_.reset(::ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 1, 0));
    if (const auto cd = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_CDROM), IMAGE_ICON, icon, icon, 0))) {
        ::ImageList_AddIcon(imageList1_.get(), cd);
        ::DestroyIcon(cd);
    }
    ListView_SetImageList(ListView1[kCdList], imageList1_.get(), LVSIL_SMALL);
    ApplyFont();
}

void frmDevice::RescaleControls() {
    // Sizes (and the fixed left edges of the two left buttons) at the new DPI; Form_Resize places the rest.
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    const RECT cd = ChildRect(ListView1[kCdList]);
    ::SetWindowPos(ListView1[kCdList], nullptr, 0, 0, Scale(kListDesign[kCdList].width), cd.bottom - cd.top,
                   flags | SWP_NOMOVE);
    for (int i = 0; i < kCmdMenuCount; ++i) {
        const DesignRect& d = kCmdMenuDesign[i];
        const RECT b = ChildRect(cmdMenu[i]);
        const double width = i == kMasterButton && masterOnly_ ? kDesignClientWidth - d.left : d.width;
        ::SetWindowPos(cmdMenu[i], nullptr, i < 2 ? Scale(d.left) : b.left, b.top, Scale(width), Scale(d.height),
                       flags);
    }
}

void frmDevice::ApplyFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_) &&
        !::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return;
    }
    font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
    for (HWND list : ListView1) {
        ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
    for (HWND button : cmdMenu) {
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
}

void frmDevice::MoveTwips(int left, int top) {
    ::SetWindowPos(hwnd_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmDevice::MoveToScreenCenter() {
    const RECT r = WindowRect(hwnd_);
    const POINT at = CenterPlacement(PixelsToTwips(r.right - r.left, dpi_), PixelsToTwips(r.bottom - r.top, dpi_),
                                     PixelsToTwips(::GetSystemMetrics(SM_CXSCREEN), dpi_),
                                     PixelsToTwips(::GetSystemMetrics(SM_CYSCREEN), dpi_));
    MoveTwips(at.x, at.y);
}

void frmDevice::sMoveToCursor() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const RECT r = WindowRect(hwnd_);
    const POINT at = CursorPlacement(cursor, PixelsToTwips(r.right - r.left, dpi_),
                                     PixelsToTwips(r.bottom - r.top, dpi_),
                                     PixelsToTwips(::GetSystemMetrics(SM_CXSCREEN), dpi_),
                                     PixelsToTwips(::GetSystemMetrics(SM_CYSCREEN), dpi_), TwipsPerPixel());
    MoveTwips(at.x, at.y);
}

void frmDevice::Form_Load() {
    const std::wstring& ini = SettingsPath();
    dpi_ = WindowDpi(hwnd_);
    CreateControls();

    masterOnly_ = IsVistaOrLater();
    if (masterOnly_) {
        // One master volume only: as wide as the CD tray list, under it.
        for (int i = kMasterButton + 1; i < kCmdMenuCount; ++i) {
            ::ShowWindow(cmdMenu[i], SW_HIDE);
        }
        const RECT master = ChildRect(cmdMenu[kMasterButton]);
        ::SetWindowPos(cmdMenu[kMasterButton], nullptr, 0, 0, Scale(kDesignClientWidth) - master.left,
                       master.bottom - master.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    sUpdateVol();
    popupMenu_.reset(::CreatePopupMenu());
    const DWORD style = ListView_GetExtendedListViewStyle(ListView1[kDeviceList]);
    startState_ = LoadWindowPos(hwnd_, ini);
    for (HWND list : ListView1) {
        ListView_SetExtendedListViewStyleEx(list, 0, style | LVS_EX_FULLROWSELECT);
    }

    SetOptionChecked(menus_.bar, kOptNoConfirm, ReadIniOption(ini_keys::kEject, false, ini));
    SetOptionChecked(menus_.bar, kOptExitAfterRemoval, ReadIniOption(ini_keys::kAutoC, true, ini));
    SetOptionChecked(menus_.bar, kOptCenter, ReadIniOption(ini_keys::kCenter, false, ini));
    // A maximised start stays maximised on the primary screen, where LoadWindowPos put it.
    if (startState_ != kStateMaximized) {
        if (IsOptionChecked(kOptCenter)) {
            MoveToScreenCenter();
        } else {
            sMoveToCursor();
        }
    }
    SetOptionChecked(menus_.bar, kOptTop, ReadIniOption(ini_keys::kTop, false, ini));
    if (IsOptionChecked(kOptTop)) {
        ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    SetOptionChecked(menus_.bar, kOptExitWhenInactive, ReadIniOption(ini_keys::kActivate, false, ini));

    for (HWND list : ListView1) {
        const RECT r = WindowRect(list);
        ListView_SetColumnWidth(list, 0, (r.right - r.left) - Scale(kColumnMargin));
    }
    sRefreshUsbList();
    if (ToLower(commandTail_) == L"/eject") {
        // Remove-all mode: never shown, no CD list. The removal's own close request, when the exit option
        // made one, arrives after this unload and finds the window gone.
        exitCode_ = RemoveAll() ? 0 : 1;
        Unload();
        return;
    }
    sRefreshCdList();

    WindowProcHooks hooks;
    hooks.exitWhenInactive = [this] { return IsOptionChecked(kOptExitWhenInactive); };
    hooks.unload = [this] { Unload(); };
    hooks.volumeButtons = [this] { return VolumeButtonLayoutOf(&cmdMenu[kMasterButton]); };
    hooks.refreshVolume = [this] { sUpdateVol(); };
    subclassed_ = InstallWindowProc(hwnd_, std::move(hooks));
}

void frmDevice::Form_Resize() {
    if (!ListView1[kCdList]) {
        return; // WM_SIZE from creation, before the controls exist
    }
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const RECT cd = ChildRect(ListView1[kCdList]);
    const FormLayout layout = ComputeFormLayout(client.right, client.bottom, cd.right - cd.left, dpi_);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;

    // Apply exactly the steps that could be computed; the rest wait for the next size change.
    ::SetWindowPos(ListView1[kCdList], nullptr, layout.cdLeft, cd.top, 0, 0, flags | SWP_NOSIZE);
    if (layout.steps < 2) return;
    ::SetWindowPos(ListView1[kCdList], nullptr, 0, 0, cd.right - cd.left, layout.listHeight, flags | SWP_NOMOVE);
    if (layout.steps < 3) return;
    ::SetWindowPos(ListView1[kDeviceList], nullptr, 0, 0, layout.deviceWidth, layout.listHeight, flags);
    if (layout.steps < 4) return;
    ListView_SetColumnWidth(ListView1[kDeviceList], 0, layout.deviceColumnWidth);
    if (layout.steps < 6) return;
    for (int i = 0; i < 2; ++i) {
        const RECT b = ChildRect(cmdMenu[i]);
        ::SetWindowPos(cmdMenu[i], nullptr, b.left, layout.buttonTop, 0, 0, flags | SWP_NOSIZE);
    }
    if (layout.steps < kLayoutSteps) return;
    for (int i = 0; i < 4; ++i) {
        ::SetWindowPos(cmdMenu[2 + i], nullptr, layout.volumeLeft[i], layout.buttonTop, 0, 0, flags | SWP_NOSIZE);
    }
}

void frmDevice::Form_KeyUp(WORD keyCode, int /*shift*/) {
    switch (keyCode) {
    case VK_ESCAPE:
        Unload();
        break;
    case 'U':
        ::SetFocus(ListView1[kDeviceList]);
        break;
    case 'C':
        ::SetFocus(ListView1[kCdList]);
        break;
    default:
        break;
    }
}

void frmDevice::Form_Unload() {
    const std::wstring& ini = SettingsPath();
    WriteIniOption(ini_keys::kEject, IsOptionChecked(kOptNoConfirm), ini);
    WriteIniOption(ini_keys::kAutoC, IsOptionChecked(kOptExitAfterRemoval), ini);
    WriteIniOption(ini_keys::kCenter, IsOptionChecked(kOptCenter), ini);
    WriteIniOption(ini_keys::kTop, IsOptionChecked(kOptTop), ini);
    WriteIniOption(ini_keys::kActivate, IsOptionChecked(kOptExitWhenInactive), ini);
    if (subclassed_) {
        RemoveWindowProc();
        subclassed_ = false;
    }
    SaveWindowPos(hwnd_, ini);
}

void frmDevice::UnloadLater() {
    // These requests come from inside a control's own notification: destroying the window under it
    // would pull the control away while its procedure still runs.
    if (hwnd_) {
        ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

void frmDevice::Unload() {
    if (unloaded_ || !hwnd_) {
        return;
    }
    unloaded_ = true;
    Form_Unload();
    tooltip_.reset();
    ::DestroyWindow(hwnd_);
    instanceLock_.reset();
}

void frmDevice::sRefreshUsbList() { tavimo::sRefreshUsbList(ListView1[kDeviceList]); }
void frmDevice::sRefreshCdList() { tavimo::sRefreshCdList(ListView1[kCdList]); }

void frmDevice::sUpdateVol() { UpdateVolumeCaptions(VolumePathNow(), hwnd_, &cmdMenu[kMasterButton]); }

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
RemovalOptions frmDevice::CurrentRemovalOptions() const {
    return RemovalOptions{IsOptionChecked(kOptNoConfirm), IsOptionChecked(kOptExitAfterRemoval)};
}

void frmDevice::sEjectSelected() {
    tavimo::sEjectSelected(hwnd_, ListView1[kDeviceList], CurrentRemovalOptions(), [this] { UnloadLater(); });
}

void frmDevice::EjectCdRow(int row) {
    sEjectTray(hwnd_, ListView1[kCdList], row, CurrentRemovalOptions(), [this] { UnloadLater(); });
}

bool frmDevice::RemoveAll() {
    return fRemoveAllDevices(hwnd_, ListView1[kDeviceList], CurrentRemovalOptions(), [this] { UnloadLater(); });
}

void frmDevice::ShowDriveMenu(const std::wstring& drivePath) { sShellMenu(hwnd_, popupMenu_.get(), drivePath); }

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
        RemoveAll();
        break;
    default:
        ShowVolumeMenu(index);
        break;
    }
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
        MoveToScreenCenter();
    } else if (index == kOptTop) {
        ::SetWindowPos(hwnd_, checked ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

namespace {
std::wstring ReadMePath() { return ExeFolder() + L"\\ReadMe.txt"; }
} // namespace

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
        ::EnableMenuItem(popup, MenuCommand(MenuId::Help, 0), MF_BYCOMMAND | (readMe ? MF_ENABLED : MF_GRAYED));
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
    if (ListView_GetItemCount(list) == 0) {
        return;
    }
    BusyScope busy;
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (keyCode == VK_RETURN && selected >= 0) {
        if (index == kDeviceList) {
            sEjectSelected();
        } else {
            EjectCdRow(selected);
        }
    }
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
    const int row = ListView_HitTest(list, &hit);
    if (row < 0) {
        if (button == 2) {
            POINT screen{};
            ::GetCursorPos(&screen);
            ::TrackPopupMenu(menus_.Popup(MenuId::File), TPM_LEFTALIGN, screen.x, screen.y, 0, hwnd_, nullptr);
        }
        return;
    }
    if (at.x == lastClick_.x && at.y == lastClick_.y) {
        return;
    }
    const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    if (ListView_GetItemCount(list) > 0 && focused >= 0 &&
        (ListView_GetItemState(list, focused, LVIS_SELECTED) & LVIS_SELECTED) == 0) {
        return;
    }
    lastClick_ = at;
    if (index == kDeviceList) {
        if (button == 1) {
            sEjectSelected();
        } else {
            ShowDriveMenu(DeviceRowDrivePath(ListRowText(list, row)));
        }
    } else {
        if (button == 1) {
            EjectCdRow(row);
        } else {
            ShowDriveMenu(CdRowDrivePath(list, row));
        }
    }
}

LRESULT CALLBACK frmDevice::ListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR refData) {
    if (message == WM_MOUSEMOVE) {
        reinterpret_cast<frmDevice*>(refData)->ListView1_MouseMove(static_cast<int>(id),
                                                                   POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &frmDevice::ListSubclassProc, id);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

bool frmDevice::PreTranslate(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) {
        return false;
    }
    if (accelerators_ && ::TranslateAcceleratorW(hwnd_, accelerators_.get(), &msg)) {
        return true;
    }
    if (msg.message == WM_KEYDOWN) {
        keysDown_.set(msg.wParam & 0xFF);
    }
    if (msg.message == WM_KEYUP) {
        // Only a key pressed in this window counts: the Esc that closed a message box or a menu comes up
        // here after the box's own loop took its press.
        if (!keysDown_.test(msg.wParam & 0xFF)) {
            return false;
        }
        keysDown_.reset(msg.wParam & 0xFF);
        const int shift = (::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                          (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
        Form_KeyUp(static_cast<WORD>(msg.wParam), shift);
        return hwnd_ == nullptr; // unloaded: nothing left to deliver to
    }
    // Tab moves between controls, Alt+letter presses a button; plain letters stay with the key handlers.
    if ((msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) || msg.message == WM_SYSCHAR) {
        return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
    }
    return false;
}

LRESULT CALLBACK frmDevice::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    frmDevice* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<frmDevice*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<frmDevice*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        ::PostQuitMessage(0);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->WndProc(message, wParam, lParam);
}

LRESULT frmDevice::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Form_Load();
        return 0;
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            Unload(); // Windows is ending the session: save as a close would
        }
        return 0;
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (id >= kCmdMenuBase && id < kCmdMenuBase + kCmdMenuCount && HIWORD(wParam) == BN_CLICKED) {
            cmdMenu_Click(static_cast<int>(id - kCmdMenuBase));
        } else if (id >= kFirstMenuCommand && id <= kLastMenuCommand) {
            const int index = IndexOfCommand(id);
            switch (MenuOfCommand(id)) {
            case MenuId::File: mnuFileItem_Click(index); break;
            case MenuId::Opt: mnuOptItem_Click(index); break;
            case MenuId::Help: mnuHelpItem_Click(index); break;
            case MenuId::Delete: RunCleanupMenu(hwnd_, index); break;
            case MenuId::Volume: mnuVol_Click(index); break;
            default: break;
            }
        }
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const int list = header->hwndFrom == ListView1[kDeviceList] ? kDeviceList
                         : header->hwndFrom == ListView1[kCdList]   ? kCdList
                                                                    : -1;
        if (list < 0) {
            return 0;
        }
        switch (header->code) {
        case LVN_COLUMNCLICK:
            ListView1_ColumnClick(list);
            break;
        case LVN_KEYDOWN:
            ListView1_KeyDown(list, reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
            break;
        case NM_CLICK:
        case NM_RCLICK: {
            // The list view swallows the button-up in its drag detection; these notes come after it.
            const DWORD pos = ::GetMessagePos();
            POINT at{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
            ::ScreenToClient(header->hwndFrom, &at);
            ListView1_MouseUp(list, header->code == NM_CLICK ? 1 : 2, at);
            break;
        }
        default:
            break;
        }
        return 0;
    }
    case WM_INITMENUPOPUP:
        OnMenuOpen(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_SETCURSOR:
        if (IsWaitCursorShown()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        ApplyFont();
        RescaleControls();
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        Form_Resize();
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

int RunMainWindow(const std::wstring& commandTail) {
    frmDevice form(commandTail);
    if (!form.Load()) {
        return form.ExitCode(); // a second instance, or the "/eject" run that has already ended
    }
    form.Show();
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (form.PreTranslate(msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return form.ExitCode();
}

} // namespace tavimo

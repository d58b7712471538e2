#include "app/frm_device.h"

#include "app/app_info.h"
#include "app/form_options.h"
#include "app/resources/resource.h"
#include "platform/app_title.h"
#include "platform/busy.h"
#include "platform/com_apartment.h"
#include "platform/os_version.h"
#include "platform/text.h"
#include "platform/wait_cursor.h"
#include "platform/window_geometry.h"
#include "volume/volume_menu.h"

#include <commctrl.h>
#include <windowsx.h>

namespace tavimo {

namespace {

// One window instance per session; the lock is held until the window unloads.
constexpr wchar_t kInstanceLockName[] = L"Local\\Tavimo.frmDevice";

void RegisterWindowClass(WNDPROC procedure) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVIMO));
    wc.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAVIMO), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    ::RegisterClassExW(&wc); // a second registration in the same process fails harmlessly
}

// What a window procedure answers when its handler threw: creation fails, anything else is taken as
// handled.
LRESULT ResultAfterException(UINT message) {
    return message == WM_CREATE ? -1 : 0;
}

} // namespace

frmDevice::frmDevice(std::wstring commandTail)
    : ListView1(controls_.ListView1), cmdMenu(controls_.cmdMenu), commandTail_(std::move(commandTail)),
      ejectRun_(ToLower(commandTail_) == L"/eject") {}

frmDevice::~frmDevice() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
    }
}

bool frmDevice::IsOptionChecked(int index) const {
    return tavimo::IsOptionChecked(menus_.bar, index);
}

frmDevice::LoadResult frmDevice::Load(bool warmUpSound) {
    // Another window instance is running: end before anything is read or written.
    instanceLock_.reset(::CreateMutexW(nullptr, FALSE, kInstanceLockName));
    if (!instanceLock_ || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return LoadResult::SecondInstance;
    }
    if (warmUpSound && IsVistaOrLater()) {
        soundWarmUp_.Start();
    }
    RegisterWindowClass(&frmDevice::StaticWndProc);
    menus_ = CreateMenuBar();
    volumeMenuOwner_.reset(menus_.Popup(MenuId::Volume));
    ACCEL refresh{FVIRTKEY, VK_F5, static_cast<WORD>(MenuCommand(MenuId::File, 1))};
    accelerators_.reset(::CreateAcceleratorTableW(&refresh, 1));
    const UINT systemDpi = ::GetDpiForSystem();
    ::CreateWindowExW(0, kMainWindowClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                      CW_USEDEFAULT, TwipsToPixels(kDefaultWidthTwips, systemDpi),
                      TwipsToPixels(kDefaultHeightTwips, systemDpi), nullptr, menus_.bar,
                      ::GetModuleHandleW(nullptr), this);
    return hwnd_ ? LoadResult::Loaded : LoadResult::Failed;
}

void frmDevice::Form_Load() {
    const std::wstring& ini = SettingsPath();
    controls_.Create(hwnd_, WindowDpi(hwnd_), IsVistaOrLater());
    for (int i = 0; i < 2; ++i) {
        ::SetWindowSubclass(ListView1[i], &frmDevice::ListSubclassProc, static_cast<UINT_PTR>(i),
                            reinterpret_cast<DWORD_PTR>(this));
    }
    soundWarmUp_.Wait();
    sUpdateVol();
    popupMenu_.reset(::CreatePopupMenu());
    loadedPlacement_ = LoadWindowPos(hwnd_, ini);
    LoadOptions(menus_.bar, ini);
    // A maximised start stays maximised on the primary screen, where LoadWindowPos put it.
    if (loadedPlacement_.state != kStateMaximized) {
        if (IsOptionChecked(kOptCenter)) {
            controls_.MoveToScreenCenter();
        } else {
            controls_.MoveToCursor();
        }
    }
    if (IsOptionChecked(kOptTop)) {
        ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    controls_.FitColumns();
    sRefreshUsbList();
    if (ejectRun_) {
        return; // never shown: no CD list, and the activation and wheel rules never apply
    }
    sRefreshCdList();
    running_ = true;
}

int frmDevice::RunEject() {
    const RemovalOutcome outcome = RemoveAll();
    Unload();
    return outcome == RemovalOutcome::NothingToDo || outcome == RemovalOutcome::Removed ? 0 : 1;
}

void frmDevice::Show() {
    shown_ = true;
    ::ShowWindow(hwnd_, loadedPlacement_.state == kStateMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
}

void frmDevice::Form_Unload() {
    const std::wstring& ini = SettingsPath();
    SaveOptions(menus_.bar, ini);
    if (shown_) {
        SaveWindowPos(hwnd_, ini);
    } else {
        // Nobody saw the window, so nothing about its placement changed: keep what was loaded.
        SaveStoredPlacement(loadedPlacement_, ini);
    }
}

void frmDevice::UnloadLater() {
    if (hwnd_) {
        ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

void frmDevice::Unload() {
    if (unloaded_ || !hwnd_) {
        return;
    }
    unloaded_ = true;
    running_ = false;
    Form_Unload();
    controls_.DestroyTooltip();
    ::DestroyWindow(hwnd_);
    instanceLock_.reset();
}

void frmDevice::Form_KeyUp(WORD keyCode) {
    switch (FormKeyUpAction(keyCode)) {
    case FormKeyAction::Unload:
        Unload();
        break;
    case FormKeyAction::FocusDevices:
        ::SetFocus(ListView1[kDeviceList]);
        break;
    case FormKeyAction::FocusCds:
        ::SetFocus(ListView1[kCdList]);
        break;
    case FormKeyAction::None:
        break;
    }
}

void frmDevice::Form_Activate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd_, focus)) {
            focusBeforeDeactivation_ = focus;
        }
    }
    // Posted, so the deactivation finishes before the window goes.
    if (running_ && UnloadsOnActivate(wParam, IsBusy(), IsOptionChecked(kOptExitWhenInactive))) {
        UnloadLater();
    }
}

void frmDevice::RestoreFocus() {
    // The control that had the focus when the window was last made inactive; the device list at first.
    const bool remembered = focusBeforeDeactivation_ && ::IsWindow(focusBeforeDeactivation_);
    ::SetFocus(remembered ? focusBeforeDeactivation_ : ListView1[kDeviceList]);
}

void frmDevice::Form_MouseWheel(WPARAM wParam) {
    if (!running_) {
        return;
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(hwnd_, &cursor);
    const bool raise = GET_WHEEL_DELTA_WPARAM(wParam) >= 0;
    if (WheelVolumeStep(cursor, raise, VolumeButtonLayoutOf(&cmdMenu[kMasterButton]), VolumePathNow(),
                        hwnd_)) {
        sUpdateVol();
    }
}

bool frmDevice::PreTranslate(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) {
        return false;
    }
    if (accelerators_ && ::TranslateAcceleratorW(hwnd_, accelerators_.get(), &msg)) {
        return true;
    }
    const bool keyUp = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    const WORD key = static_cast<WORD>(msg.wParam & 0xFF);
    // With Alt held, U and C are the lists' keys, not the menu bar's: the character they make is kept
    // from both the menu and the buttons' access keys. The press itself still goes through, so the
    // system knows Alt was not pressed alone and leaves the menu bar closed.
    const bool listKey = key == 'U' || key == 'C';
    const bool altListKey = msg.message == WM_SYSKEYUP && listKey;
    if (msg.message == WM_SYSCHAR &&
        (msg.wParam == L'u' || msg.wParam == L'U' || msg.wParam == L'c' || msg.wParam == L'C')) {
        return true;
    }
    if (msg.message == WM_KEYDOWN || (msg.message == WM_SYSKEYDOWN && listKey)) {
        keysDown_.set(key);
    }
    if (msg.message == WM_KEYUP || altListKey) {
        // Only a key pressed in this window counts: the Esc that closed a message box or a menu comes up
        // here after the box's own loop took its press.
        if (!keysDown_.test(key)) {
            return false;
        }
        keysDown_.reset(key);
        Form_KeyUp(key);
        return altListKey || hwnd_ == nullptr; // unloaded: nothing left to deliver to
    }
    if (keyUp) {
        keysDown_.reset(key);
    }
    // Tab moves between controls, Alt+letter presses a button; plain letters stay with the key handlers.
    if ((msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) || msg.message == WM_SYSCHAR) {
        return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
    }
    return false;
}

LRESULT CALLBACK frmDevice::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind through the system's code: a handler that throws has already put back what
    // its scopes hold, and the message counts as handled.
    try {
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
            self->running_ = false;
            ::PostQuitMessage(0);
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        const LRESULT result = self->WndProc(message, wParam, lParam);
        // The outermost handler is over: a close that came meanwhile can go through now.
        if (self->closeRequested_ && !IsBusy()) {
            self->closeRequested_ = false;
            self->UnloadLater();
        }
        return result;
    } catch (...) {
        return ResultAfterException(message);
    }
}

LRESULT frmDevice::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Form_Load();
        return 0;
    case WM_SIZE:
        controls_.Layout();
        return 0;
    case WM_CLOSE:
        // Sent messages also arrive inside a handler's message pass (a remove-all pause, a tray command,
        // a box): the window and the control whose notification is running must outlive that handler.
        if (IsBusy()) {
            closeRequested_ = true;
            return 0;
        }
        Unload();
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            // Windows is ending the session: save as a close would, at once, since the process may not
            // get the chance after this message.
            if (IsBusy()) {
                Form_Unload();
                closeRequested_ = true;
            } else {
                Unload();
            }
        }
        return 0;
    case WM_ACTIVATE:
        Form_Activate(wParam);
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            // The default would leave the focus on the frame, where no key reaches a control.
            RestoreFocus();
            return 0;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SETFOCUS:
        // The frame itself never keeps the focus (after a disabled spell, for one).
        RestoreFocus();
        return 0;
    case WM_MOUSEWHEEL:
        Form_MouseWheel(wParam);
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_NOTIFY:
        OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnMenuOpen(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_SETCURSOR:
        if (controls_.IsButton(reinterpret_cast<HWND>(wParam))) {
            controls_.EnsureTooltip();
        }
        if (IsWaitCursorShown()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_DPICHANGED: {
        controls_.Rescale(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        controls_.Layout();
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

int RunMainWindow(const std::wstring& commandTail) {
    INITCOMMONCONTROLSEX classes{sizeof(classes),
                                 ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&classes);
    const ComApartment com; // the sound endpoint, the shell's verbs
    frmDevice form(commandTail);
    switch (form.Load(true)) {
    case frmDevice::LoadResult::SecondInstance:
        return 0; // the running window stays the only one; nothing was read or written
    case frmDevice::LoadResult::Failed:
        return 1;
    case frmDevice::LoadResult::Loaded:
        break;
    }
    if (form.IsEjectRun()) {
        return form.RunEject();
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
    // A WM_QUIT from outside (another program's forced close) ends the loop while the window is still
    // up: it goes through the unload like any other exit, so the settings are saved.
    form.Unload();
    return 0;
}

} // namespace tavimo

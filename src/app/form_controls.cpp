#include "app/form_controls.h"

#include "app/form_layout.h"
#include "app/resources/resource.h"
#include "app/settings.h"
#include "app/window_texts.h"
#include "platform/window_geometry.h"
#include "volume/volume_menu.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

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

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                 int id, const DesignRect& r, const FormControls& scale) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                             scale.Scale(r.left), scale.Scale(r.top), scale.Scale(r.width),
                             scale.Scale(r.height), parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                             ::GetModuleHandleW(nullptr), nullptr);
}

} // namespace

int FormControls::Scale(double designPixels) const {
    return ScaleDesign(designPixels, dpi_);
}

void FormControls::Create(HWND window, UINT dpi, bool masterOnly) {
    window_ = window;
    dpi_ = dpi;
    masterOnly_ = masterOnly;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (int i = 0; i < 2; ++i) {
        // Neither list owns its image list: the device list shows the library's, the CD list ours.
        ListView1[i] =
            CreateChild(window, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                        WS_EX_CLIENTEDGE, kListView1Base + i, kListDesign[i], *this);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(texts::kListHeaders[i]);
        column.cx = Scale(kListDesign[i].width - kColumnMargin);
        ListView_InsertColumn(ListView1[i], 0, &column);
    }
    for (int i = 0; i < kCmdMenuCount; ++i) {
        cmdMenu[i] = CreateChild(window, WC_BUTTONW, texts::kCmdMenuCaptions[i], BS_PUSHBUTTON, 0,
                                 kCmdMenuBase + i, kCmdMenuDesign[i], *this);
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

    if (masterOnly_) {
        for (int i = kMasterButton + 1; i < kCmdMenuCount; ++i) {
            ::ShowWindow(cmdMenu[i], SW_HIDE);
        }
        const RECT master = ChildRect(cmdMenu[kMasterButton]);
        ::SetWindowPos(cmdMenu[kMasterButton], nullptr, 0, 0, Scale(kDesignClientWidth) - master.left,
                       master.bottom - master.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const DWORD style = ListView_GetExtendedListViewStyle(ListView1[kDeviceList]);
    for (HWND list : ListView1) {
        ListView_SetExtendedListViewStyleEx(list, 0, style | LVS_EX_FULLROWSELECT);
    }
}

void FormControls::EnsureTooltip() {
    if (tooltip_ || !window_) {
        return;
    }
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // Unowned: under Wine an owned popup above the window keeps "always on top" from taking effect.
    tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                     nullptr, instance, nullptr));
    for (int i = 0; i < kCmdMenuCount; ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(cmdMenu[i]);
        tool.lpszText = const_cast<wchar_t*>(texts::kCmdMenuTooltips[i]);
        ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool FormControls::IsButton(HWND control) const {
    return control && std::find(std::begin(cmdMenu), std::end(cmdMenu), control) != std::end(cmdMenu);
}

void FormControls::FitColumns() {
    for (HWND list : ListView1) {
        const RECT r = ScreenRect(list);
        ListView_SetColumnWidth(list, 0, (r.right - r.left) - Scale(kColumnMargin));
    }
}

void FormControls::Layout() {
    if (!ListView1[kCdList]) {
        return; // WM_SIZE from creation, before the controls exist
    }
    RECT client{};
    ::GetClientRect(window_, &client);
    const RECT cd = ChildRect(ListView1[kCdList]);
    const FormLayout layout = ComputeFormLayout(client.right, client.bottom, cd.right - cd.left, dpi_);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;

    // Apply exactly the steps that could be computed; the rest wait for the next size change.
    ::SetWindowPos(ListView1[kCdList], nullptr, layout.cdLeft, cd.top, 0, 0, flags | SWP_NOSIZE);
    if (layout.steps < 2)
        return;
    ::SetWindowPos(ListView1[kCdList], nullptr, 0, 0, cd.right - cd.left, layout.listHeight,
                   flags | SWP_NOMOVE);
    if (layout.steps < 3)
        return;
    ::SetWindowPos(ListView1[kDeviceList], nullptr, 0, 0, layout.deviceWidth, layout.listHeight, flags);
    if (layout.steps < 4)
        return;
    ListView_SetColumnWidth(ListView1[kDeviceList], 0, layout.deviceColumnWidth);
    if (layout.steps < 6)
        return;
    for (int i = 0; i < 2; ++i) {
        const RECT b = ChildRect(cmdMenu[i]);
        ::SetWindowPos(cmdMenu[i], nullptr, b.left, layout.buttonTop, 0, 0, flags | SWP_NOSIZE);
    }
    if (layout.steps < kLayoutSteps)
        return;
    for (int i = 0; i < 4; ++i) {
        ::SetWindowPos(cmdMenu[2 + i], nullptr, layout.volumeLeft[i], layout.buttonTop, 0, 0,
                       flags | SWP_NOSIZE);
    }
}

void FormControls::Rescale(UINT dpi) {
    dpi_ = dpi;
    ApplyFont();
    // Sizes (and the fixed left edges of the two left buttons) at the new DPI; Layout places the rest.
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    const RECT cd = ChildRect(ListView1[kCdList]);
    ::SetWindowPos(ListView1[kCdList], nullptr, 0, 0, Scale(kListDesign[kCdList].width), cd.bottom - cd.top,
                   flags | SWP_NOMOVE);
    for (int i = 0; i < kCmdMenuCount; ++i) {
        const DesignRect& d = kCmdMenuDesign[i];
        const RECT b = ChildRect(cmdMenu[i]);
        const double width = i == kMasterButton && masterOnly_ ? kDesignClientWidth - d.left : d.width;
        ::SetWindowPos(cmdMenu[i], nullptr, i < 2 ? Scale(d.left) : b.left, b.top, Scale(width),
                       Scale(d.height), flags);
    }
}

void FormControls::ApplyFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_) &&
        !::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return;
    }
    // The controls get the new font before the old one goes: none may ever draw with a deleted font.
    unique_hfont font(::CreateFontIndirectW(&metrics.lfMessageFont));
    for (HWND list : ListView1) {
        ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    for (HWND button : cmdMenu) {
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);
}

void FormControls::MoveTwips(int left, int top) {
    ::SetWindowPos(window_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormControls::MoveToScreenCenter() {
    const RECT r = ScreenRect(window_);
    const POINT at =
        CenterPlacement(PixelsToTwips(r.right - r.left, dpi_), PixelsToTwips(r.bottom - r.top, dpi_),
                        PixelsToTwips(::GetSystemMetrics(SM_CXSCREEN), dpi_),
                        PixelsToTwips(::GetSystemMetrics(SM_CYSCREEN), dpi_));
    MoveTwips(at.x, at.y);
}

void FormControls::MoveToCursor() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const RECT r = ScreenRect(window_);
    const POINT at =
        CursorPlacement(cursor, PixelsToTwips(r.right - r.left, dpi_), PixelsToTwips(r.bottom - r.top, dpi_),
                        PixelsToTwips(::GetSystemMetrics(SM_CXSCREEN), dpi_),
                        PixelsToTwips(::GetSystemMetrics(SM_CYSCREEN), dpi_), 1440.0 / dpi_);
    MoveTwips(at.x, at.y);
}

} // namespace tavimo

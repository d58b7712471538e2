// Tavimo's main window built plainly, the yardstick of its start-up and memory: the menu bar (a menu
// resource), the two report lists with their column and one row each, the six buttons of which the
// three volume lines other than the master's stay hidden, the message font, the icons and the manifest.
#include "yardsticks/window_run.h"

#include <commctrl.h>

namespace {

constexpr int kAppIcon = 1;
constexpr int kCdIcon = 2;
constexpr int kMenu = 1;
constexpr int kCdListWidth = 257; // design pixels at 96 DPI
constexpr int kButtonHeight = 33;

struct Child {
    bool list; // a report list, else a button
    const wchar_t* text;
    DWORD style;
    int left, width; // the lists fill the height above the buttons; the buttons sit at the bottom
};

// Left edges < 0 count from the right edge of the client area.
constexpr Child kChildren[] = {
    {true, L"USB取り外し(U)", LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | WS_VISIBLE, 0, 0},
    {true, L"CDトレイ取り出し(C)", LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | WS_VISIBLE,
     -kCdListWidth, kCdListWidth},
    {false, L"情報の更新(&R)", BS_PUSHBUTTON | WS_VISIBLE, 0, 105},
    {false, L"全て取り外す(&A)", BS_PUSHBUTTON | WS_VISIBLE, 104, 105},
    {false, L"&Master 100", BS_PUSHBUTTON | WS_VISIBLE, -kCdListWidth, kCdListWidth},
    {false, L"WA&VE 100", BS_PUSHBUTTON, -kCdListWidth + 64, 65},
    {false, L"M&IDI 100", BS_PUSHBUTTON, -kCdListWidth + 128, 65},
    {false, L"&CD 100", BS_PUSHBUTTON, -kCdListWidth + 192, 65},
};
constexpr const wchar_t* kRows[2] = {L"USB Flash Disk (E:)", L"CD-ROM ドライブ (D:) is ready"};

HFONT g_font;
HIMAGELIST g_cdImages;

void CreateChildren(HWND window) {
    const UINT dpi = ::GetDpiForWindow(window);
    const auto scale = [dpi](int pixels) { return ::MulDiv(pixels, static_cast<int>(dpi), 96); };
    RECT client{};
    ::GetClientRect(window, &client);
    const int buttonTop = client.bottom - scale(kButtonHeight);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    g_font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    const int icon = ::GetSystemMetricsForDpi(SM_CXSMICON, dpi);
    g_cdImages = ::ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (const auto cd = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(kCdIcon), IMAGE_ICON, icon, icon, 0))) {
        ::ImageList_AddIcon(g_cdImages, cd);
        ::DestroyIcon(cd);
    }

    int id = 100;
    for (const Child& c : kChildren) {
        const bool list = c.list;
        const int left = c.left < 0 ? client.right - scale(-c.left) : scale(c.left);
        const int width = c.width ? scale(c.width) : client.right - scale(kCdListWidth);
        const HWND child =
            ::CreateWindowExW(list ? WS_EX_CLIENTEDGE : 0, list ? WC_LISTVIEWW : WC_BUTTONW,
                              list ? L"" : c.text, WS_CHILD | WS_TABSTOP | c.style, left,
                              list ? 0 : buttonTop, width, list ? buttonTop : scale(kButtonHeight), window,
                              reinterpret_cast<HMENU>(INT_PTR{id++}), instance, nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
        if (!list) {
            continue;
        }
        const bool cds = c.left < 0;
        ListView_SetExtendedListViewStyleEx(child, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(c.text);
        column.cx = width - scale(23);
        ListView_InsertColumn(child, 0, &column);
        if (cds) {
            ListView_SetImageList(child, g_cdImages, LVSIL_SMALL);
        }
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_IMAGE;
        row.pszText = const_cast<wchar_t*>(kRows[cds ? 1 : 0]);
        ListView_InsertItem(child, &row);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        CreateChildren(window);
        return 0;
    }
    return bench::QuitOnDestroy(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kAppIcon));
    wc.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kAppIcon), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(kMenu);
    wc.lpszClassName = L"BenchSameWindow";
    if (!::RegisterClassExW(&wc)) {
        return 1;
    }
    // Tavimo's default size: 9975 x 2865 twips.
    const int dpi = static_cast<int>(::GetDpiForSystem());
    const HWND window = ::CreateWindowExW(
        0, wc.lpszClassName, L"Tavimo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
        ::MulDiv(9975, dpi, 1440), ::MulDiv(2865, dpi, 1440), nullptr, nullptr, instance, nullptr);
    const int result = bench::ShowAndRun(window, show);
    ::ImageList_Destroy(g_cdImages);
    ::DeleteObject(g_font);
    return result;
}

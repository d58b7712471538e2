#pragma once
// The desktop's window chain as the shell builds it: a top-level "Progman" titled "Program Manager",
// its "SHELLDLL_DefView" child and that one's "SysListView32". Wine makes none of its own.

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

namespace tavimo::test_support {

class FakeDesktop {
  public:
    // `view`: LVS_ICON, LVS_REPORT, LVS_SMALLICON or LVS_LIST, with any other list style bits.
    explicit FakeDesktop(DWORD view) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        for (const wchar_t* name : {L"Progman", L"SHELLDLL_DefView"}) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &::DefWindowProcW;
            wc.hInstance = instance;
            wc.lpszClassName = name;
            ::RegisterClassW(&wc); // a second registration fails harmlessly
        }
        progman = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 320,
                                    200, nullptr, nullptr, instance, nullptr);
        view_ = ::CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 320, 200, progman,
                                  nullptr, instance, nullptr);
        list = ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | view, 0, 0, 320, 200,
                                 view_, nullptr, instance, nullptr);
    }
    ~FakeDesktop() {
        if (::IsWindow(progman)) {
            ::DestroyWindow(progman);
        }
    }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    DWORD ListStyle() const { return static_cast<DWORD>(::GetWindowLongW(list, GWL_STYLE)); }

    HWND progman = nullptr;
    HWND list = nullptr;

  private:
    HWND view_ = nullptr;
};

} // namespace tavimo::test_support

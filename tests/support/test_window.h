#pragma once
// A hidden top-level window with one report list view, as the removal and tray handlers see the real one.

#include "devices/device_list.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tavimo::test_support {

// WM_APP messages that reached the window, to see that waits keep messages running.
inline int g_appMessages = 0;

inline LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ++g_appMessages;
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class TestWindow {
  public:
    TestWindow() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TestWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"TavimoRemovalTestWindow";
        ::RegisterClassW(&wc); // a second registration fails harmlessly
        window = ::CreateWindowExW(0, wc.lpszClassName, L"Tavimo", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200,
                                   nullptr, nullptr, instance, nullptr);
        list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0,
                                 0, 300, 150, window, nullptr, instance, nullptr);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(L"USB取り外し(U)");
        column.cx = 250;
        ListView_InsertColumn(list, 0, &column);
    }
    ~TestWindow() {
        if (::IsWindow(window)) {
            ::DestroyWindow(window);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    void AddRows(const std::vector<LPARAM>& tags) {
        for (const LPARAM tag : tags) {
            AddListRow(list, L"USB DISK (" + std::to_wstring(tag) + L":)", 0, tag);
        }
    }

    std::vector<LPARAM> Tags() const {
        std::vector<LPARAM> tags;
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            tags.push_back(ListRowTag(list, i));
        }
        return tags;
    }

    void Select(int row) {
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    HWND window = nullptr;
    HWND list = nullptr;
};

} // namespace tavimo::test_support

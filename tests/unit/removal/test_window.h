#pragma once
// A hidden top-level window with one report list view, as the removal and tray handlers see the real one,
// and a recorder in place of the message box.

#include "app/ask.h"
#include "app/busy.h"
#include "devices/device_list.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tavimo::test {

struct AskRecord {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// What the recorder saw and what it answers.
inline std::vector<AskRecord> g_asks;
inline int g_answer = IDYES;

inline int WINAPI RecordAsk(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_asks.push_back({text ? text : L"", caption ? caption : L"", type});
    return g_answer;
}

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

// Puts the message box recorder in and takes it out again.
class AskRecorder {
  public:
    explicit AskRecorder(int answer = IDYES) : previous_(g_ask) {
        g_asks.clear();
        g_answer = answer;
        g_ask = &RecordAsk;
    }
    ~AskRecorder() { g_ask = previous_; }
    AskRecorder(const AskRecorder&) = delete;
    AskRecorder& operator=(const AskRecorder&) = delete;

  private:
    AskFunction previous_;
};

} // namespace tavimo::test

// "/desklist" against a stand-in desktop held by another process, as a script would run it.
#include "tavimo_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace e2e {
namespace {

HWND DesktopList() {
    HWND progman = ::FindWindowW(L"Progman", L"Program Manager");
    HWND view = progman ? ::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    return view ? ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

TEST(DeskListSwitch, TogglesTheDesktopListAndExitsOneWithoutIt) {
    TavimoFolder folder;
    const auto deskList = [&] {
        Process process = Launch(folder.Exe(), L"/desklist");
        const auto code = process.Wait(30s);
        if (!code) {
            process.Kill();
        }
        return code;
    };

    ASSERT_EQ(DesktopList(), nullptr); // the test environment has no desktop list of its own
    EXPECT_EQ(deskList(), std::optional<DWORD>(1));

    Process desktop = Launch(BinDir() + L"\\fake_desktop.exe", L"report");
    struct Ender {
        const Process& process;
        ~Ender() { process.Kill(); }
    } ender{desktop};
    HWND list = nullptr;
    // Found while it is being created, the list may not carry WS_VISIBLE yet: wait until it does, so the
    // style takes no more changes but the switch's.
    ASSERT_TRUE(WaitFor([&] {
        list = DesktopList();
        return list && (::GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE) != 0;
    }));
    const auto style = [&] { return static_cast<DWORD>(::GetWindowLongW(list, GWL_STYLE)); };
    ASSERT_EQ(style() & (LVS_TYPEMASK | LVS_NOSCROLL), static_cast<DWORD>(LVS_REPORT));
    const DWORD others = style() & ~static_cast<DWORD>(LVS_TYPEMASK | LVS_NOSCROLL);

    EXPECT_EQ(deskList(), std::optional<DWORD>(0));
    EXPECT_EQ(style(), others | LVS_ICON | LVS_NOSCROLL); // report goes to icon view, not list view
    EXPECT_EQ(deskList(), std::optional<DWORD>(0));
    EXPECT_EQ(style(), others | LVS_LIST);
    EXPECT_FALSE(FileExists(folder.File(L"setting.ini")));
}

} // namespace
} // namespace e2e

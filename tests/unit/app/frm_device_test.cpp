// The main window in the test process: its menus and options, driven through its own messages.
#include "app/frm_device.h"

#include "app/app_info.h"
#include "app/menu_bar.h"
#include "app/window_texts.h"
#include "ask_recorder.h"
#include "devices/device_list.h"
#include "devices/removal.h"
#include "platform/busy.h"
#include "power_fakes.h"
#include "sandbox.h"
#include "seam.h"
#include "window_fixture.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tavimo {
namespace {

using test_support::WindowTest;

TEST_F(WindowTest, MenuBarHasEveryMenuInOrderWithVolumeKeptOff) {
    Open();
    HMENU bar = ::GetMenu(form_->Window());
    const wchar_t* expected[] = {L"ファイル(&F)",    L"ファイル削除(&D)", L"Extra(&E)",
                                 L"Windows終了(&W)", L"オプション(&O)",   L"ヘルプ(&H)"};
    ASSERT_EQ(::GetMenuItemCount(bar), 6);
    for (int i = 0; i < 6; ++i) {
        wchar_t caption[64] = {};
        ::GetMenuStringW(bar, i, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, expected[i]);
    }
    // Items sit at their indices, gaps included.
    EXPECT_NE(StateOf(MenuId::Opt, kOptExitWhenInactive), static_cast<UINT>(-1));
    EXPECT_EQ(StateOf(MenuId::Opt, 3), static_cast<UINT>(-1));
    EXPECT_NE(StateOf(MenuId::Win, 10), static_cast<UINT>(-1));
}

TEST_F(WindowTest, RemoveAllIsGreyedUntilTheDeviceListHasARow) {
    frmDevice& form = Open();
    ASSERT_EQ(ListView_GetItemCount(form.ListView1[kDeviceList]), 0);
    OpenMenu(0);
    EXPECT_TRUE(StateOf(MenuId::File, 0) & MF_GRAYED);

    AddListRow(form.ListView1[kDeviceList], L"USB DISK (E:)", 0, 1001);
    OpenMenu(0);
    EXPECT_FALSE(StateOf(MenuId::File, 0) & MF_GRAYED);
}

TEST_F(WindowTest, OpeningAMenuClearsTheHighlightedRow) {
    frmDevice& form = Open();
    HWND list = form.ListView1[kDeviceList];
    AddListRow(list, L"USB DISK (E:)", 0, 1001);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    OpenMenu(4); // Option
    EXPECT_EQ(ListView_GetItemState(list, 0, LVIS_SELECTED), 0u);
}

TEST_F(WindowTest, ReadMeItemFollowsTheFileBesideTheExecutable) {
    Open();
    OpenMenu(5);
    EXPECT_TRUE(StateOf(MenuId::Help, 0) & MF_GRAYED);
    std::ofstream(std::filesystem::path(ReadMePath())) << "x";
    OpenMenu(5); // decided afresh each time the menu opens
    EXPECT_FALSE(StateOf(MenuId::Help, 0) & MF_GRAYED);
}

TEST_F(WindowTest, TopmostSwitchesAtOnceAndSurvivesARestart) {
    frmDevice& form = Open();
    const auto topmost = [&] {
        return (::GetWindowLongW(form_->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };
    EXPECT_FALSE(topmost());
    form.mnuOptItem_Click(kOptTop);
    EXPECT_TRUE(topmost());
    EXPECT_TRUE(StateOf(MenuId::Opt, kOptTop) & MF_CHECKED);
    form.Unload();

    Open();
    EXPECT_TRUE(topmost());
    form_->mnuOptItem_Click(kOptTop);
    EXPECT_FALSE(topmost());
}

TEST_F(WindowTest, CentreOptionMovesTheWindowOnlyWhenChecked) {
    frmDevice& form = Open();
    ::SetWindowPos(form.Window(), nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form.mnuOptItem_Click(kOptCenter);
    RECT r{};
    ::GetWindowRect(form.Window(), &r);
    EXPECT_NEAR(r.left, (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2.0, 1);
    EXPECT_NEAR(r.top, (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2.0, 1);

    ::SetWindowPos(form.Window(), nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form.mnuOptItem_Click(kOptCenter); // unchecking leaves it where it is
    ::GetWindowRect(form.Window(), &r);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 4);
}

TEST_F(WindowTest, MovingToA150PercentScreenScalesTheDesignedSizes) {
    frmDevice& form = Open();
    RECT outer{};
    ::GetWindowRect(form.Window(), &outer);
    RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                   outer.top + (outer.bottom - outer.top) * 3 / 2};
    ::SendMessageW(form.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    const auto rectOf = [&](HWND child) {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, form.Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT client{};
    ::GetClientRect(form.Window(), &client);
    const RECT cd = rectOf(form.ListView1[kCdList]);
    EXPECT_EQ(cd.right - cd.left, 386); // 257 at 150 %
    EXPECT_EQ(cd.right, client.right);
    const RECT refresh = rectOf(form.cmdMenu[0]);
    EXPECT_EQ(refresh.bottom - refresh.top, 50);
    EXPECT_EQ(refresh.right - refresh.left, 158);
    EXPECT_EQ(refresh.top, client.bottom - 50);
    const RECT master = rectOf(form.cmdMenu[2]);
    EXPECT_EQ(master.left, cd.left);
    if (!::IsWindowVisible(form.cmdMenu[3])) {
        EXPECT_EQ(master.right - master.left, 386); // the lone master button stays as wide as the CD list
    }
}

TEST_F(WindowTest, WindowsExitItemsAskUnderTheirOwnCaptionAndOnlyOkMakesTheirOneRequest) {
    frmDevice& form = Open();
    struct Case {
        int index;
        const wchar_t* question;
        const char* request;
    };
    const Case cases[] = {
        {0, L"スタンバイしますか？", "SetSuspendState 0 0 0"},
        {1, L"休止しますか？", "SetSuspendState 1 0 0"},
        {2, L"ログオフしますか？", "ExitWindowsEx 0 0"},
        {4, L"再起動しますか？", "ExitWindowsEx 2 0"},
        {10, L"終了しますか？", "ExitWindowsEx 8 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_FALSE(StateOf(MenuId::Win, c.index) & MF_GRAYED);
        test_support::FakePower power;
        test_support::AskRecorder asks(IDCANCEL);
        form.mnuWinOff_Click(c.index);
        ASSERT_EQ(asks.Calls().size(), 1u);
        const test_support::AskCall& ask = asks.Calls()[0];
        EXPECT_EQ(ask.text, c.question);
        EXPECT_EQ(ask.caption, L"Windows の終了");
        EXPECT_EQ(ask.type, static_cast<UINT>(MB_OKCANCEL)); // no icon
        EXPECT_EQ(ask.owner, form.Window());
        EXPECT_TRUE(ask.busy);
        EXPECT_TRUE(power.Calls().empty());

        asks.Answer(IDOK);
        form.mnuWinOff_Click(c.index);
        EXPECT_EQ(power.Actions(), std::vector<std::string>{c.request});
        EXPECT_FALSE(IsBusy());
    }
}

TEST_F(WindowTest, MouseUpAtThePreviousPointDoesNothingElsewhereActsAgain) {
    frmDevice& form = Open();
    HWND list = form.ListView1[kDeviceList];
    AddListRow(list, L"USB DISK (E:)", 0, 1001);
    RECT row{};
    ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
    const POINT first{row.left + 5, (row.top + row.bottom) / 2};
    const POINT second{row.left + 9, (row.top + row.bottom) / 2};
    test_support::AskRecorder asks(IDNO);

    form.ListView1_MouseMove(kDeviceList, first); // the row under the mouse is selected
    form.ListView1_MouseUp(kDeviceList, 1, first);
    EXPECT_EQ(asks.Calls().size(), 1u);
    form.ListView1_MouseUp(kDeviceList, 1, first);
    EXPECT_EQ(asks.Calls().size(), 1u);
    form.ListView1_MouseUp(kDeviceList, 1, second);
    EXPECT_EQ(asks.Calls().size(), 2u);
}

// A close sent while a handler runs its own message pass (another copy's "/allclose" during a remove-all
// pause) waits until the handler is over: the button whose click is being handled, and the window, are
// still there when it returns, and the close then goes through the unload.
CONFIGRET WINAPI AgreeingEject(DEVINST, PPNP_VETO_TYPE, LPWSTR, ULONG, ULONG) {
    return CR_SUCCESS;
}
CONFIGRET WINAPI AgreeingSubTree(DEVINST, ULONG) {
    return CR_SUCCESS;
}
bool OnNt() {
    return true;
}
HWND g_closeDuringPause = nullptr;
void CloseDuringPause(DWORD) {
    ::SendMessageW(g_closeDuringPause, WM_CLOSE, 0, 0);
}

TEST_F(WindowTest, ACloseThatComesWhileAHandlerIsBusyWaitsForItThenUnloads) {
    ::WritePrivateProfileStringW(L"Tavimo", L"AutoC", L"0", SettingsPath().c_str());  // no close of its own
    ::WritePrivateProfileStringW(L"Tavimo", L"Eject", L"-1", SettingsPath().c_str()); // nothing asked
    frmDevice& form = Open();
    const HWND window = form.Window();
    AddListRow(form.ListView1[kDeviceList], L"USB DISK (E:)", 0, 1001);
    AddListRow(form.ListView1[kDeviceList], L"USB DISK (F:)", 0, 1002);
    g_closeDuringPause = window;
    test_support::ScopedOverride<RemovalApi> removal(
        g_removal, {&AgreeingEject, &AgreeingSubTree, &AgreeingSubTree, &OnNt, &CloseDuringPause});

    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCmdMenuBase + 1, BN_CLICKED),
                   reinterpret_cast<LPARAM>(form.cmdMenu[1]));
    EXPECT_TRUE(::IsWindow(window)) << "closed in the middle of its own button's click";
    EXPECT_EQ(ListView_GetItemCount(form.ListView1[kDeviceList]), 0) << "the passes ran to their end";
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
    EXPECT_FALSE(::IsWindow(window)) << "the close went through once the handler was over";
    wchar_t state[8] = {};
    ::GetPrivateProfileStringW(L"Tavimo", L"WinState", L"", state, 8, SettingsPath().c_str());
    EXPECT_STREQ(state, L"0") << "through the unload, which saves";
}

// The buttons' tooltips are made when the pointer first comes over a button, not with the window, and
// only once; then each button has its text.
TEST_F(WindowTest, TooltipsAreMadeWhenThePointerFirstComesOverAButton) {
    frmDevice& form = Open();
    const auto tooltips = [] {
        std::vector<HWND> found;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND window, LPARAM out) {
                wchar_t name[64] = {};
                ::GetClassNameW(window, name, 64);
                if (std::wstring(name) == TOOLTIPS_CLASSW) {
                    reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    };
    const auto pointerOver = [&form](HWND control) {
        ::SendMessageW(form.Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    EXPECT_TRUE(tooltips().empty());
    pointerOver(form.ListView1[0]);
    pointerOver(form.Window());
    EXPECT_TRUE(tooltips().empty());

    pointerOver(form.cmdMenu[1]);
    pointerOver(form.cmdMenu[0]);
    const std::vector<HWND> made = tooltips();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(::SendMessageW(made[0], TTM_GETTOOLCOUNT, 0, 0), kCmdMenuCount);
    for (int i = 0; i < kCmdMenuCount; ++i) {
        wchar_t text[128] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = form.Window();
        tool.uId = reinterpret_cast<UINT_PTR>(form.cmdMenu[i]);
        tool.lpszText = text;
        ::SendMessageW(made[0], TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, texts::kCmdMenuTooltips[i]) << i;
    }
}

} // namespace
} // namespace tavimo

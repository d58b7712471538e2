// The main window in the test process: its menus and options, driven through its own messages.
#include "app/frm_device.h"

#include "app/app_info.h"
#include "app/menu_bar.h"
#include "ask_recorder.h"
#include "chores/screen_saver.h"
#include "chores/close_windows.h"
#include "devices/device_list.h"
#include "fake_desktop.h"
#include "platform/busy.h"
#include "platform/ini_file.h"
#include "platform/busy.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/unique_handle.h"
#include "power_fakes.h"
#include "sandbox.h"
#include "seam.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace tavimo {
namespace {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { SetSettingsPath(folder_.Path(L"setting.ini")); }
    void TearDown() override { form_.reset(); }

    frmDevice& Open() {
        form_ = std::make_unique<frmDevice>(L"");
        EXPECT_EQ(form_->Load(), frmDevice::LoadResult::Loaded);
        form_->Show();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        return *form_;
    }

    UINT StateOf(MenuId menu, int index) {
        HMENU bar = ::GetMenu(form_->Window());
        return ::GetMenuState(bar, MenuCommand(menu, index), MF_BYCOMMAND);
    }

    // Opens a menu the way the system does: the window hears WM_INITMENUPOPUP first.
    void OpenMenu(int position) {
        HMENU popup = ::GetSubMenu(::GetMenu(form_->Window()), position);
        ::SendMessageW(form_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), position);
    }

    test_support::Sandbox folder_;
    std::unique_ptr<frmDevice> form_;
};

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
    const std::filesystem::path readMe = std::filesystem::path(ExeFolder()) / "ReadMe.txt";
    const std::filesystem::path aside = std::filesystem::path(ExeFolder()) / "ReadMe.txt.aside";
    const bool existed = std::filesystem::exists(readMe);
    if (existed) {
        std::filesystem::rename(readMe, aside);
    }
    // The build's own copy comes back whatever the assertions do.
    scope_exit restore([&] {
        std::error_code ignored;
        std::filesystem::remove(readMe, ignored);
        if (existed) {
            std::filesystem::rename(aside, readMe, ignored);
        }
    });
    OpenMenu(5);
    EXPECT_TRUE(StateOf(MenuId::Help, 0) & MF_GRAYED);
    std::ofstream(readMe) << "x";
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

// Every program start asked for, answered as scripted; nothing is started.
class StartRecorder {
  public:
    explicit StartRecorder(bool answer = true) : seam_(g_startProcess, &Record) {
        current_ = this;
        answer_ = answer;
    }
    ~StartRecorder() { current_ = nullptr; }
    const std::vector<ProcessStart>& Starts() const { return starts_; }

  private:
    static bool Record(const ProcessStart& start) {
        current_->starts_.push_back(start);
        return current_->answer_;
    }
    static inline StartRecorder* current_ = nullptr;
    bool answer_ = true;
    std::vector<ProcessStart> starts_;
    test_support::ScopedOverride<StartProcessFunction> seam_;
};

constexpr int kExtraPosition = 2;

TEST_F(WindowTest, TimeItemStartsASecondCopyAndShowsNothingWhenItCannot) {
    frmDevice& form = Open();
    const std::wstring exe = JoinPath(ExeFolder(), L"Tavimo.exe"); // the fixed name, whatever runs
    for (const bool starts : {true, false}) {
        StartRecorder recorder(starts);
        test_support::AskRecorder asks;
        form.mnuExtra_Click(4);
        ASSERT_EQ(recorder.Starts().size(), 1u);
        EXPECT_EQ(recorder.Starts()[0], (ProcessStart{exe, L"\"" + exe + L"\" /time", SW_SHOWNORMAL}));
        EXPECT_TRUE(asks.Calls().empty());
        EXPECT_FALSE(IsBusy());
    }
}

std::vector<UINT> g_sysCommands;

LRESULT CALLBACK RecordSysCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
    if (message == WM_SYSCOMMAND) {
        g_sysCommands.push_back(static_cast<UINT>(wParam & 0xFFF0));
        return 0; // no screen saver starts in the test prefix
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(WindowTest, DesktopAndScreenSaverItemsActOnTheirTargets) {
    frmDevice& form = Open();
    test_support::FakeDesktop desktop(LVS_REPORT);
    form.mnuExtra_Click(5);
    EXPECT_EQ(desktop.ListStyle() & (LVS_TYPEMASK | LVS_NOSCROLL),
              static_cast<DWORD>(LVS_ICON | LVS_NOSCROLL));

    g_sysCommands.clear();
    ASSERT_TRUE(::SetWindowSubclass(form.Window(), &RecordSysCommand, 1, 0));
    form.mnuExtra_Click(6);
    ::RemoveWindowSubclass(form.Window(), &RecordSysCommand, 1);
    EXPECT_EQ(g_sysCommands, std::vector<UINT>{SC_SCREENSAVE});
}

// HKEY_CURRENT_USER\Control Panel\Desktop\SCRNSAVE.EXE of the test prefix, exactly as stored; put back
// as it was when the test ends.
struct RawValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const RawValue&) const = default;
};

RawValue StoredScreenSaver() {
    RawValue raw;
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue, RRF_RT_ANY | RRF_NOEXPAND,
                       &raw.type, nullptr, &size) != ERROR_SUCCESS) {
        return {};
    }
    raw.present = true;
    raw.bytes.resize(size);
    ::RegGetValueW(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue, RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                   raw.bytes.data(), &size);
    raw.bytes.resize(size);
    return raw;
}

void StoreScreenSaver(const RawValue& raw) {
    if (!raw.present) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue);
        return;
    }
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kScreenSaverKey, kScreenSaverValue, raw.type,
                                raw.bytes.data(), static_cast<DWORD>(raw.bytes.size())),
              ERROR_SUCCESS);
}

RawValue TextValue(DWORD type, const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return {true, type, std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t))};
}

class ScreenSaverTest : public WindowTest {
  protected:
    ~ScreenSaverTest() override { StoreScreenSaver(saved_); }

    std::wstring Caption7() {
        wchar_t caption[64] = {};
        ::GetMenuStringW(::GetMenu(form_->Window()), MenuCommand(MenuId::Extra, 7), caption, 64,
                         MF_BYCOMMAND);
        return caption;
    }
    bool StartGreyed() { return (StateOf(MenuId::Extra, 6) & MF_GRAYED) != 0; }
    std::wstring SavedPath() { return GetIniString(L"Tavimo", L"ScPath", SettingsPath()); }
    // Item 7 as the user reaches it: the menu opens first.
    void ChooseToggle() {
        OpenMenu(kExtraPosition);
        form_->mnuExtra_Click(7);
    }

    RawValue saved_ = StoredScreenSaver();
};

TEST_F(ScreenSaverTest, MenuShowsTheRegistryStateEachTimeItOpens) {
    StoreScreenSaver({});
    Open();
    OpenMenu(kExtraPosition);
    EXPECT_TRUE(StartGreyed());
    EXPECT_EQ(Caption7(), L"スクリーンセーバー有効");
    for (const int item : {4, 5, 7}) {
        EXPECT_FALSE(StateOf(MenuId::Extra, item) & MF_GRAYED) << item;
    }

    StoreScreenSaver(TextValue(REG_SZ, L"C:\\windows\\system32\\a.scr"));
    OpenMenu(kExtraPosition);
    EXPECT_FALSE(StartGreyed());
    EXPECT_EQ(Caption7(), L"スクリーンセーバー無効");
}

TEST_F(ScreenSaverTest, OffThenOnRestoresExactlyThePath) {
    Open();
    StartRecorder starts;
    for (const wchar_t* path : {L"C:\\windows\\system32\\ssText3d.scr", L"C:\\スクリーン\\保護 ソフト.scr"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(path)));
        StoreScreenSaver(TextValue(REG_SZ, path));

        ChooseToggle();
        EXPECT_FALSE(StoredScreenSaver().present);
        EXPECT_EQ(SavedPath(), path);
        OpenMenu(kExtraPosition);
        EXPECT_EQ(Caption7(), L"スクリーンセーバー有効");
        EXPECT_TRUE(StartGreyed());

        ChooseToggle();
        EXPECT_EQ(StoredScreenSaver(), TextValue(REG_SZ, path));
        EXPECT_EQ(SavedPath(), path); // kept
    }
    EXPECT_TRUE(starts.Starts().empty());
}

TEST_F(ScreenSaverTest, OnWithNothingSavedOpensTheSettingsAndChangesNothing) {
    StoreScreenSaver({});
    Open();
    StartRecorder starts;
    ChooseToggle();
    const std::wstring control = SystemProgramPath(L"control.exe");
    ASSERT_EQ(starts.Starts().size(), 1u);
    EXPECT_EQ(
        starts.Starts()[0],
        (ProcessStart{control, L"\"" + control + L"\" desk.cpl,screensaver,@screensaver", SW_SHOWMINIMIZED}));
    EXPECT_FALSE(StoredScreenSaver().present);
    EXPECT_EQ(SavedPath(), L"");
}

TEST_F(ScreenSaverTest, AValueTheProgramCannotReadIsNeitherOffNorSaved) {
    Open();
    ASSERT_TRUE(SetIniString(L"Tavimo", L"ScPath", L"C:\\old.scr", SettingsPath()));
    StartRecorder starts;
    struct Case {
        const char* name;
        RawValue value;
    };
    const Case cases[] = {
        {"expandable text", TextValue(REG_EXPAND_SZ, L"%SystemRoot%\\system32\\a.scr")},
        {"128 characters", TextValue(REG_SZ, L"C:\\" + std::wstring(120, L'x') + L"\\a.scr")},
        {"a number", {true, REG_DWORD, {1, 0, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreScreenSaver(c.value);
        OpenMenu(kExtraPosition);
        EXPECT_EQ(Caption7(), L"スクリーンセーバー無効");
        EXPECT_TRUE(StartGreyed());
        ChooseToggle();
        EXPECT_EQ(StoredScreenSaver(), c.value);
        EXPECT_EQ(SavedPath(), L"C:\\old.scr");
    }
    EXPECT_TRUE(starts.Starts().empty());
}

TEST_F(ScreenSaverTest, OffDeletesTheValueOnlyOnceItsCopyReadsBack) {
    const RawValue chosen = TextValue(REG_SZ, L"C:\\scr\\a.scr");
    struct Case {
        const char* name;
        RawValue value;
        std::wstring settings;
    };
    const Case cases[] = {
        {"settings folder missing", chosen, folder_.Path(L"missing\\setting.ini")},
        // Thai has no place in the Japanese ANSI code page: the file would hold "?" instead.
        {"a character the ANSI file can't hold", TextValue(REG_SZ, L"C:\\scr\\\u0E01.scr"),
         folder_.Path(L"setting.ini")},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetSettingsPath(c.settings);
        StoreScreenSaver(c.value);
        ChooseToggle();
        EXPECT_EQ(StoredScreenSaver(), c.value);
        OpenMenu(kExtraPosition);
        EXPECT_EQ(Caption7(), L"スクリーンセーバー無効");
    }
}

TEST_F(ScreenSaverTest, OffWithNothingLeftToSwitchOffKeepsTheSavedPath) {
    Open();
    ASSERT_TRUE(SetIniString(L"Tavimo", L"ScPath", L"C:\\old.scr", SettingsPath()));
    StoreScreenSaver(TextValue(REG_SZ, L"C:\\a.scr"));
    OpenMenu(kExtraPosition);
    StoreScreenSaver({}); // removed elsewhere while the menu was open
    form_->mnuExtra_Click(7);
    EXPECT_FALSE(StoredScreenSaver().present);
    EXPECT_EQ(SavedPath(), L"C:\\old.scr");
}

// The close-all pass sees only these windows, in this order, not the whole desktop.
std::vector<HWND> g_listedWindows;
BOOL WINAPI EnumListedWindows(WNDENUMPROC callback, LPARAM context) {
    for (const HWND window : g_listedWindows) {
        if (!callback(window, context)) {
            break;
        }
    }
    return TRUE;
}

// A visible titled window of this thread that counts the WM_CLOSE it gets and then closes.
int g_closesHeard = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++g_closesHeard;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(WindowTest, CloseAllItemsAskThenCloseTheOthersAndThisWindowLastThroughItsUnload) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavimoCloseAllOther";
    ::RegisterClassW(&wc);
    test_support::ScopedOverride<EnumWindowsFunction> listed(g_enumWindows, &EnumListedWindows);
    struct Case {
        const char* name;
        int index;
        int answer;
        const wchar_t* question;
        UINT otherGets; // 0: nothing
    };
    const Case cases[] = {
        {"close all, no", 11, IDNO, L"全ウィンドウを閉じますか？", 0},
        {"force, no", 12, IDNO, L"全ウィンドウを強制終了しますか？", 0},
        {"close all, yes", 11, IDYES, L"全ウィンドウを閉じますか？", WM_CLOSE},
        {"force, yes", 12, IDYES, L"全ウィンドウを強制終了しますか？", WM_QUIT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileW(SettingsPath().c_str());
        frmDevice& form = Open();
        const HWND window = form.Window();
        EXPECT_FALSE(StateOf(MenuId::Extra, c.index) & MF_GRAYED);
        unique_hwnd other(::CreateWindowExW(0, wc.lpszClassName, L"other", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80,
                                            nullptr, nullptr, wc.hInstance, nullptr));
        ::ShowWindow(other.get(), SW_SHOWNOACTIVATE);
        g_listedWindows = {window, other.get()}; // this window met first, closed last all the same
        g_closesHeard = 0;
        test_support::AskRecorder asks(c.answer);

        form.mnuExtra_Click(c.index);
        ASSERT_EQ(asks.Calls().size(), 1u);
        EXPECT_EQ(asks.Calls()[0].text, c.question);
        EXPECT_EQ(asks.Calls()[0].caption, L"Tavimo");
        EXPECT_EQ(asks.Calls()[0].type, static_cast<UINT>(MB_YESNO)) << "Yes/No, no icon";
        EXPECT_EQ(asks.Calls()[0].owner, window);
        EXPECT_TRUE(asks.Calls()[0].busy);
        EXPECT_TRUE(::IsWindow(window)) << "never destroyed inside its own menu handler";
        EXPECT_EQ(g_closesHeard, c.otherGets == WM_CLOSE ? 1 : 0);
        MSG quit{};
        EXPECT_EQ(::PeekMessageW(&quit, other.get(), WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE,
                  c.otherGets == WM_QUIT);

        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        const bool closes = c.answer == IDYES;
        EXPECT_EQ(::IsWindow(window) == FALSE, closes);
        EXPECT_EQ(test_support::Exists(SettingsPath()), closes) << "closed through the unload, which saves";
        form_.reset();
        if (!closes) {
            ::DeleteFileW(SettingsPath().c_str());
        }
    }
}

} // namespace
} // namespace tavimo

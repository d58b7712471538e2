// The Extra menu in the test process: the clock, the desktop view, the screen saver and closing every
// window, each through its seam or against a stand-in.
#include "app/frm_device.h"

#include "ask_recorder.h"
#include "chores/close_windows.h"
#include "chores/screen_saver.h"
#include "fake_desktop.h"
#include "platform/busy.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/unique_handle.h"
#include "seam.h"
#include "window_fixture.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimo {
namespace {

using test_support::WindowTest;

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

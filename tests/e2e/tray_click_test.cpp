// "/h" against a stand-in notification area (tests/fixtures/fake_tray): which clicks reach which
// button, and the exit code.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// The fixture process with its window chain; closed at the end of the scope.
class FakeTray {
  public:
    FakeTray(const TavimoFolder& folder, const std::wstring& mode)
        : log_(folder.File(L"fake_tray.log")),
          process_(Launch(BinDir() + L"\\fake_tray.exe", L"\"" + log_ + L"\" " + mode)) {
        // The top window is shown only once its buttons are in place.
        window_ = WaitForWindow(process_.Id(), L"Shell_TrayWnd");
    }
    ~FakeTray() {
        if (window_) {
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        if (!process_.Wait(5s)) {
            process_.Kill();
        }
    }
    FakeTray(const FakeTray&) = delete;
    FakeTray& operator=(const FakeTray&) = delete;

    HWND Window() const { return window_; }
    std::wstring Log() const { return ReadFileUtf8(log_); }

  private:
    std::wstring log_;
    Process process_;
    HWND window_ = nullptr;
};

TEST(Tray_SafelyRemove, ClicksTheExactTextsButtonOnceAtItsCorner) {
    struct Case {
        const wchar_t* mode;
        DWORD exitCode;
        const wchar_t* log; // 104 is the button with the exact text
    };
    const Case cases[] = {
        {L"shown", 0, L"down 104 0 0\nup 104 0 0\n"},
        {L"hidden", 0, L"chevron\ndown 104 0 0\nup 104 0 0\n"},
        {L"nearmiss", 1, L""},
        {L"nochain", 1, L""},
        // The count is the shell's word: the search ends at the first index the toolbar refuses.
        {L"countlies", 1, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TavimoFolder folder;
        FakeTray tray(folder, c.mode);
        ASSERT_NE(tray.Window(), nullptr);
        // Wine's explorer keeps a hidden Shell_TrayWnd of its own; the fixture's, made later, comes first.
        ASSERT_EQ(::FindWindowW(L"Shell_TrayWnd", nullptr), tray.Window());

        Process run = Launch(folder.Exe(), L"/h");
        EXPECT_EQ(run.Wait(), c.exitCode);
        EXPECT_EQ(tray.Log(), c.log);
        EXPECT_EQ(WaitForMainWindow(run, 0ms), nullptr);
    }
}

TEST(Tray_SafelyRemove, TheShellsOwnTrayWithoutTheToolbarEndsWithOne) {
    TavimoFolder folder;
    Process run = Launch(folder.Exe(), L"/H");
    EXPECT_EQ(run.Wait(), 1u);
}

} // namespace
} // namespace e2e

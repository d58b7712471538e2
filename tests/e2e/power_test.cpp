// The Windows-exit menu's log-off in a whole process, in the private prefix where a log-off is
// harmless to the machine. A window that refuses to let the session end shows that the request asks
// first and is never forced: the refusal calls it off. The session's end goes through the processes
// one by one, so those asked before the refusal (the keeper among them) have ended by then; the keeper
// leaves a successor that holds the desktop for the tests after this one.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

DWORD KeeperProcess() {
    DWORD id = 0;
    if (HWND keeper = ::FindWindowW(L"TavimoTestKeeper", nullptr)) {
        ::GetWindowThreadProcessId(keeper, &id);
    }
    return id;
}

// Chooses "ログオフ(&O)..." and answers its question.
void LogOffAnswering(const Running& run, int answer) {
    ::PostMessageW(run.window, WM_COMMAND, tavimo::MenuCommand(tavimo::MenuId::Win, 2), 0);
    HWND box = WaitForMessageBox(run.process, L"Windows の終了");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"ログオフしますか？");
    ClickBoxButton(box, answer);
}

TEST(Power_LogOff, CancelAsksNoWindowOkAsksEveryWindowAndForcesNone) {
    TavimoFolder folder;
    const std::wstring log = folder.File(L"session.log");
    Process watch = Launch(BinDir() + L"\\session_watch.exe", L"\"" + log + L"\"");
    HWND watchWindow = WaitForWindow(watch.Id(), L"TavimoSessionWatch");
    ASSERT_NE(watchWindow, nullptr);
    Running run = StartWindow(folder);
    ASSERT_NE(run.window, nullptr);
    const DWORD keeper = KeeperProcess();

    LogOffAnswering(run, IDCANCEL);
    EXPECT_FALSE(WaitFor([&] { return FileExists(log); }, 2s));

    LogOffAnswering(run, IDOK);
    // Asked, refused, told the session goes on.
    EXPECT_TRUE(WaitFor([&] { return ReadFileUtf8(log) == L"query\nend 0\n"; }, 20s)) << ReadFileUtf8(log);
    // A forced log-off would have ended both regardless of the refusal.
    EXPECT_FALSE(watch.Wait(3s).has_value());
    EXPECT_EQ(CloseAndWait(run.process, run.window), 0u);
    ::PostMessageW(watchWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(watch.Wait(), 0u);
    EXPECT_TRUE(WaitFor([&] { return KeeperProcess() != 0 && KeeperProcess() != keeper; }, 30s));
}

} // namespace
} // namespace e2e

#include "platform/busy.h"
#include "chores/cleanup.h"
#include "chores/temp_files.h"

#include "ask_recorder.h"
#include "chores/url_history.h"
#include "sandbox.h"
#include "scoped_environment.h"
#include "seam.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace tavimo {
namespace {

using test_support::Exists;
using test_support::Sandbox;
using test_support::WriteFileOfSize;

// What the window looked like while an operation ran, seen from inside it.
struct Seen {
    std::wstring caption;
    bool busy = false;
    HCURSOR cursor = nullptr;
};

HWND g_window = nullptr;
std::optional<Seen> g_seen;

void Look() {
    wchar_t caption[128] = {};
    ::GetWindowTextW(g_window, caption, 128);
    g_seen = Seen{caption, IsBusy(), ::GetCursor()};
}

HRESULT STDAPICALLTYPE FailingCreate(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* object) {
    Look();
    *object = nullptr;
    return REGDB_E_CLASSNOTREG;
}

class CleanupMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = ::CreateWindowExW(0, L"STATIC", L"Tavimo", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        g_window = window_;
        g_seen.reset();
        arrow_ = ::LoadCursorW(nullptr, IDC_ARROW);
        ::SetCursor(arrow_);
    }
    void TearDown() override { ::DestroyWindow(window_); }

    void ExpectRestored() {
        wchar_t caption[128] = {};
        ::GetWindowTextW(window_, caption, 128);
        EXPECT_STREQ(caption, L"Tavimo");
        EXPECT_FALSE(IsBusy());
        EXPECT_EQ(::GetCursor(), arrow_);
    }

    void ExpectSeenBusy() {
        ASSERT_TRUE(g_seen.has_value());
        EXPECT_EQ(g_seen->caption, L"Tavimo　削除処理中");
        EXPECT_TRUE(g_seen->busy);
        EXPECT_EQ(g_seen->cursor, ::LoadCursorW(nullptr, IDC_WAIT));
    }

    HWND window_ = nullptr;
    HCURSOR arrow_ = nullptr;
};

TEST_F(CleanupMenuTest, HistoryThatCannotBeCreatedStillRestoresCaptionCursorAndBusy) {
    test_support::ScopedOverride<CreateInstanceFunction> seam(g_createUrlHistory, &FailingCreate);
    EXPECT_FALSE(RunCleanupMenu(window_, static_cast<int>(CleanupItem::ClearHistory)));
    ExpectSeenBusy();
    ExpectRestored();
}

TEST_F(CleanupMenuTest, DeclinedRecycleBinRestoresAfterTheQuestion) {
    Sandbox sandbox;
    if (!test_support::StartWithEmptyBin(sandbox.Root())) {
        GTEST_SKIP() << "the recycle bin is not empty: not a sandboxed HOME";
    }
    const std::wstring file = sandbox.Path(L"one.bin");
    WriteFileOfSize(file, 10);
    test_support::Recycle({file});
    test_support::AskRecorder asks(IDCANCEL);
    asks.OnAsk(&Look);

    EXPECT_TRUE(RunCleanupMenu(window_, static_cast<int>(CleanupItem::EmptyRecycleBin)));

    ExpectSeenBusy();
    ExpectRestored();
    SHQUERYRBINFO info;
    ASSERT_TRUE(test_support::QueryBin(info));
    EXPECT_EQ(info.i64NumItems, 1);
    ::SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

TEST_F(CleanupMenuTest, TemporaryFilesItemEmptiesTheTemporaryFolder) {
    // The process's own TMP decides the folder, so the real temporary folder is not touched.
    Sandbox sandbox;
    const std::wstring temp = sandbox.Folder(L"temp");
    WriteFileOfSize(temp + L"\\old.tmp", 10);
    {
        test_support::ScopedEnvironment tmp(L"TMP", temp.c_str());
        ASSERT_EQ(GetTempFolder(), temp + L"\\");
        EXPECT_TRUE(RunCleanupMenu(window_, static_cast<int>(CleanupItem::DeleteTempFiles)));
    }
    EXPECT_FALSE(Exists(temp + L"\\old.tmp"));
    EXPECT_TRUE(Exists(temp));
    ExpectRestored();
}

// The shell keeps the list as the RecentDocs key (Wine leaves the shortcut files; Windows removes both).
TEST_F(CleanupMenuTest, RecentDocumentsItemEmptiesTheList) {
    Sandbox sandbox;
    const std::wstring document = sandbox.Path(L"document.txt");
    WriteFileOfSize(document, 10);
    ::SHAddToRecentDocs(SHARD_PATHW, document.c_str());
    const wchar_t* const list = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    const auto listed = [list] {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, list, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        DWORD values = 0;
        ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return values > 0;
    };
    ASSERT_TRUE(listed());

    EXPECT_TRUE(RunCleanupMenu(window_, static_cast<int>(CleanupItem::ClearRecentDocs)));

    EXPECT_FALSE(listed());
    ExpectRestored();
}

TEST_F(CleanupMenuTest, UnknownIndexDoesNothingAndRestores) {
    EXPECT_FALSE(RunCleanupMenu(window_, 6));
    ExpectRestored();
}

} // namespace
} // namespace tavimo

#include "chores/cleanup.h"
#include "chores/folder_contents.h"

#include "platform/unique_handle.h"
#include "sandbox.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

using test_support::Exists;
using test_support::MakeSymlink;
using test_support::Sandbox;
using test_support::WriteFileOfSize;

TEST(Cleanup_DeleteFolderContents, EmptiesTheTreeButKeepsProtectedFilesAndNeverLeavesTheFolder) {
    Sandbox sandbox;
    const std::wstring outside = sandbox.Folder(L"outside");
    WriteFileOfSize(outside + L"\\sentinel.txt", 1);
    WriteFileOfSize(outside + L"\\file-sentinel.txt", 1);

    const std::wstring temp = sandbox.Folder(L"temp");
    WriteFileOfSize(temp + L"\\plain.tmp", 10);
    WriteFileOfSize(temp + L"\\readonly.tmp", 10, FILE_ATTRIBUTE_READONLY);
    WriteFileOfSize(temp + L"\\system.tmp", 10, FILE_ATTRIBUTE_SYSTEM);
    sandbox.Folder(L"temp\\nested");
    sandbox.Folder(L"temp\\nested\\deeper");
    WriteFileOfSize(temp + L"\\nested\\a.tmp", 10);
    WriteFileOfSize(temp + L"\\nested\\deeper\\b.tmp", 10);
    sandbox.Folder(L"temp\\holds-readonly");
    WriteFileOfSize(temp + L"\\holds-readonly\\kept.tmp", 10, FILE_ATTRIBUTE_READONLY);
    sandbox.Folder(L"temp\\held");
    WriteFileOfSize(temp + L"\\held\\c.tmp", 10);
    WriteFileOfSize(temp + L"\\in-use.tmp", 10);
    // Held the way another program holds its current folder and an open file: without delete sharing.
    const auto holdOpen = [](const std::wstring& path) {
        return unique_file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };
    const unique_file heldFolder = holdOpen(temp + L"\\held");
    const unique_file inUse = holdOpen(temp + L"\\in-use.tmp");
    ASSERT_TRUE(heldFolder && inUse);
    const bool linked = MakeSymlink(temp + L"\\dir-link", outside, true) &&
                        MakeSymlink(temp + L"\\file-link", outside + L"\\file-sentinel.txt", false);

    DeleteFolderContents(temp, L"*.*");

    struct Expectation {
        const wchar_t* path;
        bool exists;
    };
    const Expectation expectations[] = {
        {L"temp", true},
        {L"temp\\plain.tmp", false},
        {L"temp\\readonly.tmp", true},
        {L"temp\\system.tmp", true},
        {L"temp\\nested", false},
        {L"temp\\holds-readonly\\kept.tmp", true}, // its folder stays because it is not empty
        {L"temp\\in-use.tmp", true},
        {L"temp\\held", true}, // emptied, though it cannot be removed while held
        {L"temp\\held\\c.tmp", false},
        {L"outside\\sentinel.txt", true},
        {L"outside\\file-sentinel.txt", true},
    };
    for (const auto& e : expectations) {
        EXPECT_EQ(Exists(sandbox.Path(e.path)), e.exists) << e.path;
    }
    if (!linked) {
        GTEST_SKIP() << "this system cannot make symbolic links; the link part was not run";
    }
}

// An empty folder joins to "\<pattern>", the root of the current drive. Probed with a pattern that
// matches one file of our own at that root, so a fault costs nothing else.
TEST(Cleanup_DeleteFolderContents, EmptyFolderDoesNotReachTheDriveRoot) {
    Sandbox sandbox;
    const std::wstring bait =
        L"tavimo-cleanup-test-root-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    const std::wstring root = sandbox.Root().substr(0, 3); // "C:\"
    const std::wstring baitPath = root + bait;
    HANDLE file = ::CreateFileW(baitPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "cannot write to the drive root here";
    }
    ::CloseHandle(file);
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(sandbox.Root().c_str());

    DeleteFolderContents(L"", bait);

    ::SetCurrentDirectoryW(previous);
    EXPECT_TRUE(Exists(baitPath));
    ::DeleteFileW(baitPath.c_str());
}

} // namespace
} // namespace tavimo

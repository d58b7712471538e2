#include "chores/cleanup.h"
#include "chores/folder_contents.h"

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

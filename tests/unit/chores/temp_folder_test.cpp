#include "chores/cleanup.h"
#include "chores/temp_files.h"

#include "platform/paths.h"
#include "sandbox.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>

#include <optional>

namespace tavimo {
namespace {

using test_support::Exists;
using test_support::MakeSymlink;
using test_support::Sandbox;
using test_support::ScopedEnvironment;
using test_support::WriteFileOfSize;

TEST(Cleanup_IsSafeTempFolder, DecidesOnTheFinalPathAgainstEveryProtectedFolder) {
    const ProtectedFolders protectedFolders{
        {L"\\\\?\\C:\\Users\\taro", L"\\\\?\\C:\\Users", L"\\\\?\\D:\\Tools\\Tavimo"},
        {L"\\\\?\\C:\\Windows", L"C:\\Program Files", L"\\\\?\\C:\\Program Files (x86)"},
        {L"\\\\?\\C:\\Windows\\Temp"},
    };
    struct Case {
        const wchar_t* finalPath;
        bool safe;
    };
    const Case cases[] = {
        {L"\\\\?\\C:\\Users\\taro\\AppData\\Local\\Temp", true},
        {L"C:\\users\\TARO\\AppData\\Local\\Temp\\", true}, // plain form, any case, trailing separator
        {L"\\\\?\\C:\\Users\\taro2", true},                 // names are compared whole
        {L"\\\\?\\C:\\WindowsApps", true},
        {L"\\\\?\\D:\\Tools\\Tavimo\\tmp", true},
        {L"\\\\?\\UNC\\server\\share\\tmp", true},
        {L"\\\\?\\C:\\Windows\\Temp", true},
        {L"\\\\?\\c:\\WINDOWS\\temp\\build", true},
        // Roots, whatever their form.
        {L"\\\\?\\C:\\", false},
        {L"\\\\?\\C:", false},
        {L"\\\\?\\UNC\\localhost\\c$", false},
        {L"\\\\?\\UNC\\localhost\\c$\\", false},
        {L"\\\\server\\share", false},
        // A protected folder, or a folder holding one.
        {L"\\\\?\\C:\\Users\\taro", false},
        {L"\\\\?\\C:\\users\\TARO\\", false},
        {L"\\\\?\\C:\\Users", false},
        {L"\\\\?\\D:\\Tools", false},
        {L"\\\\?\\C:\\Program Files", false},
        // Inside a tree, outside its Temp.
        {L"\\\\?\\C:\\Windows\\SysWOW64", false},
        {L"\\\\?\\C:\\Windows\\Temporary", false},
        {L"\\\\?\\C:\\Program Files\\Common Files", false},
        {L"\\\\.\\C:\\Windows\\System32", false}, // the device form names the same place
        // Shapes no final path has, so nothing can be said about them.
        {L"\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\tmp", false},
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\tmp", false},
        {L"\\\\?\\C:\\tmp\\..\\Windows", false},
        {L"\\\\?\\C:\\tmp\\\\x", false},
        {L"tmp", false},
        {L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSafeTempFolder(c.finalPath, protectedFolders), c.safe) << std::wstring(c.finalPath);
    }
}

// Stand-ins for the system's folders inside a sandbox: every file but the *.tmp ones must survive
// every spelling, and only the folder a safe spelling resolves to loses its *.tmp file.
class TempSpellingTest : public ::testing::Test {
  protected:
    static constexpr const wchar_t* kFiles[] = {
        L"Windows Folder\\kept.txt",
        L"Windows Folder\\System32\\kept.txt",
        L"Windows Folder\\Temp\\old.tmp",
        L"Users\\kept.txt",
        L"Users\\taro\\kept.txt",
        L"Users\\taro\\AppData\\Local\\Temp\\old.tmp",
        L"Program Files\\Common Files\\kept.txt",
        L"Tavimo\\setting.ini",
        L"temp\\old.tmp",
    };

    void SetUp() override {
        Restore();
        protected_ = {{Path(L"Users\\taro"), Path(L"Users"), Path(L"Tavimo")},
                      {Path(L"Windows Folder"), Path(L"Program Files")},
                      {Path(L"Windows Folder\\Temp")}};
    }

    // Puts back whatever a spelling deleted, so each row starts from the whole layout.
    void Restore() {
        for (const wchar_t* folder : {L"Windows Folder", L"Windows Folder\\System32", L"Windows Folder\\Temp",
                                      L"Users", L"Users\\taro", L"Users\\taro\\AppData",
                                      L"Users\\taro\\AppData\\Local", L"Users\\taro\\AppData\\Local\\Temp",
                                      L"Program Files", L"Program Files\\Common Files", L"Tavimo", L"temp"}) {
            sandbox_.Folder(folder);
        }
        for (const wchar_t* file : kFiles) {
            if (!Exists(Path(file))) {
                WriteFileOfSize(Path(file), 1);
            }
        }
    }

    std::wstring Path(const wchar_t* relative) const { return sandbox_.Path(relative); }
    const std::wstring& Root() const { return sandbox_.Root(); }

    // Runs one spelling and checks every file; `emptied` is the folder that may lose its *.tmp file.
    void Check(const std::wstring& spelling, const wchar_t* emptied) {
        EXPECT_EQ(DeleteTempFiles(spelling, protected_), emptied != nullptr) << spelling;
        for (const wchar_t* file : kFiles) {
            const std::wstring relative(file);
            const bool deleted = emptied && relative == std::wstring(emptied) + L"\\old.tmp";
            EXPECT_EQ(Exists(Path(file)), !deleted) << spelling << L": " << relative;
        }
        Restore();
    }

    Sandbox sandbox_;
    ProtectedFolders protected_;
};

TEST_F(TempSpellingTest, EverySpellingOfAProtectedFolderIsRefusedAndTheSafeOnesAreEmptied) {
    struct Case {
        std::wstring spelling;
        const wchar_t* emptied; // null: refused
    };
    const std::vector<Case> cases = {
        {Path(L"Windows Folder"), nullptr},
        {L"\\\\.\\" + Path(L"Windows Folder"), nullptr},
        {L"\\\\?\\" + Path(L"Users\\taro"), nullptr},
        {Path(L"Users"), nullptr},
        {Path(L"Windows Folder\\System32"), nullptr},
        {Path(L"Windows Folder."), nullptr}, // trailing dots and spaces are dropped when opened
        {Path(L"Windows Folder ."), nullptr},
        {Path(L"Users\\taro. "), nullptr},
        {Path(L"temp\\..\\Windows Folder"), nullptr},
        {Path(L"Program Files/Common Files"), nullptr},
        {Path(L"Tavimo"), nullptr},
        {Root(), nullptr},
        {Path(L"missing"), nullptr},
        {Path(L"temp"), L"temp"},
        {L"\\\\.\\" + Path(L"temp\\"), L"temp"},
        {L"\\\\?\\" + Path(L"Users\\taro\\AppData\\Local\\Temp"), L"Users\\taro\\AppData\\Local\\Temp"},
        {Path(L"Windows Folder\\Temp"), L"Windows Folder\\Temp"},
    };
    for (const auto& c : cases) {
        Check(c.spelling, c.emptied);
    }
}

TEST_F(TempSpellingTest, ShortNamesAndLinksAreJudgedByWhereTheyLead) {
    wchar_t shortName[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameW(Path(L"Windows Folder").c_str(), shortName, MAX_PATH);
    const bool shortened = length > 0 && length < MAX_PATH && Path(L"Windows Folder") != shortName;
    if (shortened) {
        Check(shortName, nullptr);
        Check(std::wstring(shortName) + L"\\Temp", L"Windows Folder\\Temp");
    }
    const bool linked = MakeSymlink(Path(L"profile-link"), Path(L"Users\\taro"), true) &&
                        MakeSymlink(Path(L"temp-link"), Path(L"temp"), true);
    if (linked) {
        Check(Path(L"profile-link"), nullptr);
        Check(Path(L"profile-link\\AppData\\Local\\Temp"), L"Users\\taro\\AppData\\Local\\Temp");
        Check(Path(L"temp-link"), L"temp");
    }
    if (!shortened || !linked) {
        GTEST_SKIP() << "this volume has no short names, or this system cannot make symbolic links";
    }
}

// A relative setting names whatever folder is current: refused even where that folder would be safe.
TEST_F(TempSpellingTest, RelativeSpellingsAreRefused) {
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(Path(L"temp").c_str()));
    const std::wstring drive = Root().substr(0, 2);
    for (const std::wstring& spelling :
         {drive, drive + L".", std::wstring(L"."), std::wstring(L"..\\temp"), Path(L"temp").substr(2)}) {
        Check(spelling, nullptr);
    }
    ::SetCurrentDirectoryW(previous);
}

// This system's own folders, asked without deleting anything.
TEST(Cleanup_TempFolderToEmpty, ThisSystemsFoldersAreRefusedAndItsTempFoldersAreNot) {
    const ProtectedFolders system = SystemProtectedFolders();
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring profile = system.folders.at(0);
    ASSERT_FALSE(profile.empty());
    for (const std::wstring& spelling :
         {L"\\\\.\\" + std::wstring(windows), std::wstring(windows) + L"\\system32", L"\\\\?\\" + profile,
          profile + L"\\..", system.trees.at(1), ExeFolder(), std::wstring(L"\\\\?\\UNC\\localhost\\c$")}) {
        EXPECT_EQ(TempFolderToEmpty(spelling, system), L"") << spelling;
    }
    Sandbox sandbox; // inside the real temporary folder
    EXPECT_NE(TempFolderToEmpty(sandbox.Root(), system), L"");
    if (Exists(std::wstring(windows) + L"\\Temp")) {
        EXPECT_NE(TempFolderToEmpty(std::wstring(windows) + L"\\Temp", system), L"");
    }
}

TEST(Cleanup_GetTempFolder, TakesTmpThenTempAndOnlyAFullPath) {
    struct Case {
        const wchar_t* tmp;
        const wchar_t* temp;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\work\\..\\scratch.", L"D:\\other", L"C:\\scratch\\"},
        {nullptr, L"\\\\?\\D:\\other\\", L"\\\\?\\D:\\other\\"},
        {L"C:", L"D:\\other", L""}, // the current folder of drive C:, not TEMP either
        {L"scratch", nullptr, L""},
        {L"\\scratch", nullptr, L""},
        {nullptr, nullptr, L""}, // no fallback to the profile or Windows folder
    };
    for (const auto& c : cases) {
        ScopedEnvironment tmp(L"TMP", c.tmp);
        ScopedEnvironment temp(L"TEMP", c.temp);
        EXPECT_EQ(GetTempFolder(), c.folder) << (c.tmp ? c.tmp : L"(unset)");
    }
}

} // namespace
} // namespace tavimo

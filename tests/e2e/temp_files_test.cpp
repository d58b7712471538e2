// The file-deletion menu's temporary-files item as a user runs it, with TMP and TEMP taken from the
// environment the program starts in.
#include "tavimo_driver.h"

#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

using tavimo::test_support::ScopedEnvironment;

// A Tavimo started with TMP and TEMP set to `temp`, after running the item; the item has ended when
// this returns, since the window handles the command before it answers.
Running RunTempFilesItem(const TavimoFolder& folder, const std::wstring& temp) {
    Running run;
    {
        ScopedEnvironment tmp(L"TMP", temp.c_str());
        ScopedEnvironment temporary(L"TEMP", temp.c_str());
        run = StartWindow(folder);
    }
    DWORD_PTR answer = 0;
    if (run.window &&
        !::SendMessageTimeoutW(run.window, WM_COMMAND, tavimo::MenuCommand(tavimo::MenuId::Delete, 1), 0,
                               SMTO_NORMAL, 60000, &answer)) {
        ADD_FAILURE() << "the window did not handle the command: " << temp;
    }
    return run;
}

// Files of this test placed in the prefix's Windows folder, removed again however the test ends.
class WindowsSentinels {
  public:
    explicit WindowsSentinels(const std::wstring& windows)
        : folder_(windows + L"\\tavimo-sentinel-" + std::to_wstring(::GetCurrentProcessId())),
          file_(folder_ + L".txt"), nested_(folder_ + L"\\kept.txt") {
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        WriteFileBytes(file_, "kept");
        WriteFileBytes(nested_, "kept");
    }
    ~WindowsSentinels() {
        ::DeleteFileW(nested_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
        ::DeleteFileW(file_.c_str());
    }
    WindowsSentinels(const WindowsSentinels&) = delete;
    WindowsSentinels& operator=(const WindowsSentinels&) = delete;

    std::vector<std::wstring> Files() const { return {file_, nested_}; }

  private:
    std::wstring folder_;
    std::wstring file_;
    std::wstring nested_;
};

TEST(TempFiles_Menu, EmptiesTheTempFolderButNeverTheWindowsOrTheProgramsFolder) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    TavimoFolder folder;
    TavimoFolder temp(TavimoFolder::Library::None); // a private folder standing for the temporary one
    WriteFileBytes(temp.File(L"old.tmp"), "old");
    WriteFileBytes(folder.File(L"ReadMe.txt"), "readme");
    WriteFileBytes(folder.File(L"setting.ini"), "[Tavimo]\r\n");
    const WindowsSentinels sentinels(windows);

    struct Case {
        std::wstring temp;
        std::vector<std::wstring> kept;
        std::vector<std::wstring> deleted;
    };
    std::vector<std::wstring> system = sentinels.Files();
    system.push_back(std::wstring(windows) + L"\\notepad.exe");
    system.push_back(std::wstring(windows) + L"\\system32\\kernel32.dll");
    const Case cases[] = {
        {temp.Path(), {}, {temp.File(L"old.tmp")}}, // the item runs at all
        {L"\\\\.\\" + std::wstring(windows), system, {}},
        // The program starts in its own folder; "C:" alone names the current folder of that drive.
        {folder.Path().substr(0, 2),
         {folder.File(L"ReadMe.txt"), folder.File(L"setting.ini"), folder.File(L"nUsbDevice.dll")},
         {}},
    };
    for (const auto& c : cases) {
        for (const auto& file : c.kept) {
            ASSERT_TRUE(FileExists(file)) << file;
        }
        const auto [process, window] = RunTempFilesItem(folder, c.temp);
        ASSERT_NE(window, nullptr) << c.temp;
        // Checked before closing: closing writes setting.ini again.
        for (const auto& file : c.kept) {
            EXPECT_TRUE(FileExists(file)) << c.temp << L": " << file;
        }
        for (const auto& file : c.deleted) {
            EXPECT_FALSE(FileExists(file)) << c.temp << L": " << file;
        }
        EXPECT_EQ(CloseAndWait(process, window), 0u) << c.temp;
    }
}

} // namespace
} // namespace e2e

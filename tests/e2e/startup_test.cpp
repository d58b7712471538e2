// Whole-process start-up: the command line decides between a chore and the window, and the window
// opens with both lists filled.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// Removable with a name, fixed disk, removable without a volume, removable without a friendly name.
constexpr char kDevices[] = "# removable\tletter\tdescription\tfriendly\thandle\ticon\n"
                            "1\tE\tディスク ドライブ\tUSB DISK\t1001\t0\n"
                            "0\tF\tローカル ディスク\tFIXED\t1002\t0\n"
                            "1\t\tUSB 大容量記憶装置\tNO VOLUME\t1003\t1\n"
                            "1\tG\tUSB 大容量記憶装置\t\t1004\t1\n";

TEST(Startup_Window, EmptyCommandLineShowsBothListsFilled) {
    TavimoFolder folder;
    folder.WriteDevices(kDevices);
    Running run = StartWindow(folder);
    ASSERT_NE(run.window, nullptr);
    EXPECT_EQ(WindowText(run.window), L"Tavimo");

    HWND devices = ::GetDlgItem(run.window, kDeviceListId);
    EXPECT_EQ(ListRows(devices), (std::vector<std::wstring>{L"USB DISK (E:)", L"USB 大容量記憶装置 (G:)"}));
    EXPECT_EQ(ListTags(devices), (std::vector<LPARAM>{1001, 1004}));

    HWND cds = ::GetDlgItem(run.window, kCdListId);
    const auto cdRows = ListRows(cds);
    ASSERT_EQ(cdRows.size(), 1u);
    EXPECT_TRUE(cdRows[0] == L"CD-ROM ドライブ (D:)" || cdRows[0] == L"CD-ROM ドライブ (D:) is ready" ||
                cdRows[0].ends_with(L" (D:) is ready"))
        << cdRows[0];
    EXPECT_EQ(ListTags(cds), (std::vector<LPARAM>{L'D'}));

    const std::wstring png = SaveScreenshot(run.window, L"main-window");
    EXPECT_FALSE(png.empty());
    EXPECT_EQ(CloseAndWait(run.process, run.window), 0u);

    // One snapshot, per device only the calls its state needs, released once after the loop.
    EXPECT_EQ(ReadFileUtf8(folder.File(L"nUsbDevice.log")),
              L"GetDeviceData 4\nGetImageListHandle\n"
              L"CheckRemovableNo 0\nGetDriveLetterA 0\nGetDescriptionA 0\nGetFriendlyNameA 0\n"
              L"GetDeviceHandle 0\nGetImageListIndex 0\n"
              L"CheckRemovableNo 1\n"
              L"CheckRemovableNo 2\nGetDriveLetterA 2\n"
              L"CheckRemovableNo 3\nGetDriveLetterA 3\nGetDescriptionA 3\nGetFriendlyNameA 3\n"
              L"GetDeviceHandle 3\nGetImageListIndex 3\n"
              L"ReleaseDeviceData\n");
}

TEST(Startup_Window, UnknownSwitchOpensWindow) {
    TavimoFolder folder;
    for (const wchar_t* arguments : {L"/bogus", L"/allclose ", L"/eject /x"}) {
        Running run = StartWindow(folder, arguments);
        ASSERT_NE(run.window, nullptr) << arguments;
        EXPECT_EQ(CloseAndWait(run.process, run.window), 0u) << arguments;
    }
}

TEST(Startup_Window, MissingLibraryLeavesDeviceListEmptyAndCdListWorking) {
    TavimoFolder folder(TavimoFolder::Library::None);
    Running run = StartWindow(folder);
    ASSERT_NE(run.window, nullptr);
    EXPECT_TRUE(ListRows(::GetDlgItem(run.window, kDeviceListId)).empty());
    EXPECT_EQ(ListRows(::GetDlgItem(run.window, kCdListId)).size(), 1u);
    EXPECT_EQ(CloseAndWait(run.process, run.window), 0u);
}

TEST(Startup_Switches, VersionShowsItsMessageAndEndsWithZero) {
    TavimoFolder folder;
    Process process = Launch(folder.Exe(), L"/VERSION");
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Tavimo Ver3.0.1\t作者 Orvane");
    ClickBoxButton(box, IDOK);
    EXPECT_EQ(process.Wait(), 0u);
}

TEST(Startup_Switches, SystemDialogsEndWithoutTheWindow) {
    TavimoFolder folder;
    // Wine answers the network-drive dialogs with an error at once; the hot-plug dialog is started and
    // not waited for.
    for (const wchar_t* arguments : {L"/condlg", L"/discondlg", L"/hotplug"}) {
        Process process = Launch(folder.Exe(), arguments);
        const auto code = process.Wait(20s);
        EXPECT_TRUE(code.has_value()) << arguments;
        if (!code) {
            process.Kill();
        }
        EXPECT_EQ(WaitForMainWindow(process, 0ms), nullptr);
    }
    Process hotplug = Launch(folder.Exe(), L"/HotPlug");
    EXPECT_EQ(hotplug.Wait(20s), 0u);
}

} // namespace
} // namespace e2e

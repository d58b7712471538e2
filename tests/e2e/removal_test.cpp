// Removing devices and opening trays as a user and a script would.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

#include <thread>

namespace e2e {
namespace {

constexpr char kThreeDevices[] = "1\tE\tディスク ドライブ\tUSB DISK\t1001\t0\n"
                                 "1\tF\tディスク ドライブ\tCARD\t1002\t0\n"
                                 "1\tG\tディスク ドライブ\tSTICK\t1003\t1\n";

TEST(Removal_RemoveAll, YesRemovesEveryRowThenClosesAndSaves) {
    TavimoFolder folder;
    folder.WriteDevices(kThreeDevices);
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(ListRows(::GetDlgItem(window, kDeviceListId)).size(), 3u);

    ClickButton(window, kRemoveAllButtonId);
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"全てのデバイスを取り外しますか？");
    ClickBoxButton(box, IDYES);
    // Three passes, a 3-second pause after each but the last; "exit after removal" is on by default.
    EXPECT_EQ(process.Wait(30s), 0u);
    const std::string ini = ReadFileBytes(folder.File(L"setting.ini"));
    EXPECT_NE(ini.find("AutoC=-1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("WinState=0\r\n"), std::string::npos) << ini;
}

TEST(Removal_RemoveAll, NoRemovesNothingAndWithoutExitOptionTheWindowStays) {
    TavimoFolder folder;
    folder.WriteDevices(kThreeDevices);
    WriteFileBytes(folder.File(L"setting.ini"), "[Tavimo]\r\nAutoC=0\r\n");
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    HWND list = ::GetDlgItem(window, kDeviceListId);

    ClickButton(window, kRemoveAllButtonId);
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    ClickBoxButton(box, IDNO);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(ListRows(list).size(), 3u);

    ClickButton(window, kRemoveAllButtonId);
    box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    ClickBoxButton(box, IDYES);
    EXPECT_TRUE(WaitFor([&] { return ListRows(list).empty(); }, 30s));
    EXPECT_TRUE(::IsWindowEnabled(window));
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

TEST(Removal_EjectSwitch, EmptyListEndsAtOnceAndSavesWithoutShowingTheWindow) {
    TavimoFolder folder;
    folder.WriteDevices("");
    Process process = Launch(folder.Exe(), L"/EJECT");
    EXPECT_EQ(process.Wait(15s), 0u);
    EXPECT_TRUE(FileExists(folder.File(L"setting.ini")));
}

// The window was never shown, so nothing about its placement changed: a maximised window stays
// maximised, with the normal placement it had.
TEST(Removal_EjectSwitch, KeepsTheStoredPlacementOfAWindowItNeverShowed) {
    for (const std::string placement : {"WinState=2\r\nX=1500\r\nY=900\r\nW=12000\r\nH=4500\r\n",
                                        "WinState=0\r\nX=1500\r\nY=900\r\nW=12000\r\nH=4500\r\n"}) {
        TavimoFolder folder;
        folder.WriteDevices("");
        const std::string stored = "[Tavimo]\r\n" + placement;
        WriteFileBytes(folder.File(L"setting.ini"), stored);
        Process process = Launch(folder.Exe(), L"/eject");
        EXPECT_EQ(process.Wait(15s), 0u);
        EXPECT_EQ(ReadFileBytes(folder.File(L"setting.ini")),
                  stored + "Eject=0\r\nAutoC=-1\r\nCenter=0\r\nTop=0\r\nActivate=0\r\n");
    }
}

TEST(Removal_EjectSwitch, AsksWithoutShowingTheWindowAndTheAnswerDecidesTheExitCode) {
    struct Case {
        int answer;
        DWORD exitCode;
    };
    for (const Case c : {Case{IDYES, 0}, Case{IDNO, 1}}) {
        TavimoFolder folder;
        folder.WriteDevices("1\tE\tディスク ドライブ\tUSB DISK\t1001\t0\n");
        Process process = Launch(folder.Exe(), L"/eject");
        HWND box = WaitForMessageBox(process, L"Tavimo");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), L"全てのデバイスを取り外しますか？");
        EXPECT_EQ(WaitForMainWindow(process, 0ms), nullptr); // never shown in this mode
        ClickBoxButton(box, c.answer);
        EXPECT_EQ(process.Wait(15s), c.exitCode) << c.answer;
    }
}

TEST(Removal_CdOpen, FakeCdDriveAcceptsTheTrayCommands) {
    TavimoFolder folder;
    for (const wchar_t* arguments : {L"/cdopen /D:", L"/cdopen"}) {
        Process process = Launch(folder.Exe(), arguments);
        EXPECT_EQ(process.Wait(15s), 0u) << arguments;
    }
    Process missing = Launch(folder.Exe(), L"/cdopen /Q:");
    EXPECT_EQ(missing.Wait(15s), 1u);
}

} // namespace
} // namespace e2e

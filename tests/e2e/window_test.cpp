// Whole-process window lifecycle: placement and options from setting.ini, one instance, keys.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

#include <thread>

namespace e2e {
namespace {

RECT Rect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// A key released on the control that has the focus, as the keyboard would deliver it.
void KeyUp(HWND control, WPARAM key) {
    ::PostMessageW(control, WM_KEYDOWN, key, 1);
    ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

TEST(Window_Settings, NoFileOpensDefaultSizeOnCursorAndWritesEveryKeyOnClose) {
    TavimoFolder folder;
    ::SetCursorPos(500, 300);
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    const RECT r = Rect(window);
    EXPECT_EQ(r.right - r.left, 665);
    EXPECT_EQ(r.bottom - r.top, 191);
    // Centred on the cursor: 500 * 15 - 9975 \ 2 twips, 300 * 15 - 2865 \ 2 twips.
    EXPECT_NEAR(r.left, (500 * 15 - 4987) / 15.0, 1);
    EXPECT_NEAR(r.top, (300 * 15 - 1432) / 15.0, 1);
    const int x = r.left * 15, y = r.top * 15;

    ASSERT_EQ(CloseAndWait(process, window), 0u);
    EXPECT_EQ(ReadFileBytes(folder.File(L"setting.ini")),
              "[Tavimo]\r\nEject=0\r\nAutoC=-1\r\nCenter=0\r\nTop=0\r\nActivate=0\r\nWinState=0\r\nX=" +
                  std::to_string(x) + "\r\nY=" + std::to_string(y) + "\r\nH=2865\r\nW=9975\r\n");
}

TEST(Window_Settings, CenterOptionIgnoresStoredPositionAndSizeIsRestored) {
    TavimoFolder folder;
    WriteFileBytes(folder.File(L"setting.ini"),
                   "[Tavimo]\r\nWinState=1\r\nX=30\r\nY=45\r\nW=12000\r\nH=4500\r\nCenter=-1\r\nEject=5\r\n");
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(::IsIconic(window)); // closed minimised, opens normal
    const RECT r = Rect(window);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 300);
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(r.left, (screenW - 800) / 2.0, 1);
    EXPECT_NEAR(r.top, (screenH - 300) / 2.0, 1);

    // Minimise, then close: the state is stored, the position and size stay as they were.
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(window) != FALSE; }));
    ASSERT_EQ(CloseAndWait(process, window), 0u);
    EXPECT_EQ(ReadFileBytes(folder.File(L"setting.ini")),
              "[Tavimo]\r\nWinState=1\r\nX=30\r\nY=45\r\nW=12000\r\nH=4500\r\nCenter=-1\r\nEject=-1\r\n"
              "AutoC=-1\r\nTop=0\r\nActivate=0\r\n");
}

TEST(Window_Settings, MaximisedStartOpensMaximisedAndKeepsTheStoredPlacement) {
    TavimoFolder folder;
    const std::string stored = "[Tavimo]\r\nWinState=2\r\nX=-90000\r\nY=45\r\nW=12000\r\nH=4500\r\n";
    WriteFileBytes(folder.File(L"setting.ini"), stored);
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsZoomed(window));
    const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    EXPECT_EQ(::MonitorFromWindow(window, MONITOR_DEFAULTTONULL), primary);
    ASSERT_EQ(CloseAndWait(process, window), 0u);
    EXPECT_EQ(ReadFileBytes(folder.File(L"setting.ini")),
              stored + "Eject=0\r\nAutoC=-1\r\nCenter=0\r\nTop=0\r\nActivate=0\r\n");
}

TEST(Window_Settings, CorruptFileStillOpensAUsableWindowOnScreen) {
    TavimoFolder folder;
    WriteFileBytes(folder.File(L"setting.ini"),
                   std::string("\x00\xff\xfe garbage\r\n[Tavimo]\r\nWinState=9\r\nX=-99999999\r\nY=1e9\r\n"
                               "W=-2147483649\r\nH=0\r\n",
                               66));
    ::SetCursorPos(100, 100);
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    const RECT r = Rect(window);
    EXPECT_EQ(r.right - r.left, 665);
    EXPECT_EQ(r.bottom - r.top, 191);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(r.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

TEST(Window_Instance, SecondStartEndsSilentlyAndChangesNothing) {
    TavimoFolder folder;
    WriteFileBytes(folder.File(L"setting.ini"), "[Tavimo]\r\nAutoC=0\r\n");
    auto [first, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);

    for (const wchar_t* arguments : {L"", L"/eject"}) {
        Process second = Launch(folder.Exe(), arguments);
        EXPECT_EQ(second.Wait(), 0u) << arguments;
        EXPECT_EQ(WaitForMainWindow(second, 0ms), nullptr);
        EXPECT_EQ(ReadFileBytes(folder.File(L"setting.ini")), "[Tavimo]\r\nAutoC=0\r\n") << arguments;
    }
    EXPECT_EQ(CloseAndWait(first, window), 0u);
}

// A plain window of the test's own that takes the activation away from Tavimo.
class Bystander {
  public:
    Bystander() {
        // Shown without taking the activation: it must only take it when the test says so.
        window_ = ::CreateWindowExW(0, L"STATIC", L"bystander", WS_OVERLAPPEDWINDOW, 600, 400, 120, 80,
                                    nullptr, nullptr, nullptr, nullptr);
        ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    }
    ~Bystander() { ::DestroyWindow(window_); }
    void Activate() const {
        ::SetForegroundWindow(window_);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }

  private:
    HWND window_ = nullptr;
};

TEST(Window_Keys, UAndCMoveTheFocusAndEscClosesAndSaves) {
    TavimoFolder folder;
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    HWND devices = ::GetDlgItem(window, kDeviceListId);
    HWND cds = ::GetDlgItem(window, kCdListId);
    HWND refresh = ::GetDlgItem(window, kRefreshButtonId);
    ::SetForegroundWindow(window);

    struct Step {
        HWND from;
        WPARAM key;
        HWND to;
    };
    const Step steps[] = {
        {devices, 'C', cds},
        {cds, 'U', devices},
        {refresh, 'C', cds},
        {refresh, 'U', devices},
    };
    for (const auto& step : steps) {
        // The focus is set from the window's own thread by a click-free path: the key handler itself.
        KeyUp(step.from, step.key);
        EXPECT_TRUE(WaitFor([&] { return FocusOf(window) == step.to; })) << static_cast<char>(step.key);
    }

    KeyUp(refresh, VK_ESCAPE);
    EXPECT_EQ(process.Wait(), 0u);
    EXPECT_TRUE(FileExists(folder.File(L"setting.ini")));
}

TEST(Window_ExitWhenInactive, LosingTheActivationClosesAndSavesUnlessABoxIsOpen) {
    TavimoFolder folder;
    WriteFileBytes(folder.File(L"setting.ini"), "[Tavimo]\r\nActivate=-1\r\n");
    Bystander bystander; // made before Tavimo starts, so its appearing can't deactivate Tavimo
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);

    // The version message raises the busy flag: the box taking the activation closes nothing.
    ::SetForegroundWindow(window);
    ::PostMessageW(window, WM_COMMAND, tavimo::MenuCommand(tavimo::MenuId::Help, 2), 0);
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    bystander.Activate();
    EXPECT_FALSE(process.Wait(500ms).has_value());
    ClickBoxButton(box, IDOK);

    ::SetForegroundWindow(window);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == window; }));
    EXPECT_FALSE(process.Wait(300ms).has_value()); // being activated closes nothing
    bystander.Activate();
    EXPECT_EQ(process.Wait(10s), 0u);
    const std::string ini = ReadFileBytes(folder.File(L"setting.ini"));
    EXPECT_NE(ini.find("Activate=-1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("WinState=0\r\n"), std::string::npos) << ini;
}

TEST(Window_Keys, EscThatClosesAMessageBoxLeavesTheWindowOpen) {
    TavimoFolder folder;
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, WM_COMMAND, tavimo::MenuCommand(tavimo::MenuId::Help, 2),
                   0); // Help: the version message
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    // The box's own loop takes the press; the release then reaches the window's focused control.
    ::PostMessageW(::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    ::PostMessageW(::GetDlgItem(window, kDeviceListId), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_FALSE(process.Wait(700ms).has_value());
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

TEST(Window_Keys, AltUAndAltCMoveTheFocusLikeUAndC) {
    TavimoFolder folder;
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(BringToFront(window));
    HWND devices = ::GetDlgItem(window, kDeviceListId);
    HWND cds = ::GetDlgItem(window, kCdListId);
    TypeKeys({'C'}, VK_MENU);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(window) == cds; }));
    TypeKeys({'U'}, VK_MENU);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(window) == devices; }));
    // The menu bar took neither letter: plain keys still reach the lists.
    TypeKeys({'C'});
    EXPECT_TRUE(WaitFor([&] { return FocusOf(window) == cds; }));
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

// A keyboard user works the window without the mouse: the device list has the focus from the start,
// and the control that had it gets it back after a box and after another program was in front.
TEST(Window_Focus, TheKeyboardReachesTheListsAtStartAfterABoxAndAfterAnotherWindow) {
    TavimoFolder folder;
    folder.WriteDevices("1\tE\tディスク ドライブ\tUSB DISK\t1001\t0\n"
                        "1\tG\tディスク ドライブ\tSECOND\t1002\t0\n");
    Bystander bystander; // made before Tavimo starts, so its appearing can't take the activation
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(BringToFront(window));
    HWND devices = ::GetDlgItem(window, kDeviceListId);
    HWND cds = ::GetDlgItem(window, kCdListId);

    TypeKeys({VK_DOWN});
    EXPECT_TRUE(WaitFor([&] { return SelectedRow(devices) == 0; })) << "Down at start selects the first row";

    TypeKeys({'U', VK_DOWN, VK_RETURN});
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"選択したデバイスを取り外しますか？");
    ClickBoxButton(box, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == window; }));
    TypeKeys({VK_RETURN});
    box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr) << "Enter after the box asks again";
    ClickBoxButton(box, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));

    TypeKeys({'C'});
    ASSERT_TRUE(WaitFor([&] { return FocusOf(window) == cds; }));
    bystander.Activate();
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() != window; }));
    ASSERT_TRUE(BringToFront(window));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(window) == cds; })) << "the CD list keeps the focus";
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

} // namespace
} // namespace e2e

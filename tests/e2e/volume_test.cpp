// The volume buttons and menu on both paths, with the test environment's private sound server.
#include "tavimo_driver.h"
#include "wine_app_version.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace e2e {
namespace {

constexpr UINT kVolumeItem50 = tavimo::MenuCommand(tavimo::MenuId::Volume, 5); // the volume menu's "50 %"

std::wstring Caption(HWND window, int id) {
    return WindowText(::GetDlgItem(window, id));
}

std::vector<std::wstring> VolumeCaptions(HWND window) {
    return {Caption(window, kMasterButtonId), Caption(window, kMasterButtonId + 1),
            Caption(window, kMasterButtonId + 2), Caption(window, kMasterButtonId + 3)};
}

RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Settles after posted work: the window answers a sent message only once the queue before it ran.
void Settle(HWND window) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    std::this_thread::sleep_for(100ms);
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

TEST(Volume_NewerPath, OnlyTheMasterButtonAsWideAsTheCdListAndFailuresChangeNothing) {
    TavimoFolder folder;
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    HWND master = ::GetDlgItem(window, kMasterButtonId);
    EXPECT_TRUE(::IsWindowVisible(master));
    for (int id : {kMasterButtonId + 1, kMasterButtonId + 2, kMasterButtonId + 3}) {
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, id))) << id;
    }
    const RECT m = ChildRect(master), cd = ChildRect(::GetDlgItem(window, kCdListId));
    EXPECT_EQ(m.left, cd.left);
    EXPECT_EQ(m.right - m.left, 257);
    EXPECT_EQ(cd.right - cd.left, 257);

    // Wine's endpoint can't set a level: the caption stays as it was and nothing is shown.
    const std::wstring before = Caption(window, kMasterButtonId);
    ::PostMessageW(window, WM_COMMAND, kVolumeItem50, 0);
    Settle(window);
    EXPECT_EQ(Caption(window, kMasterButtonId), before);
    EXPECT_EQ(WaitForMessageBox(process, L"Tavimo", 300ms), nullptr);
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

TEST(Volume_OlderPath, FourButtonsTheMenuSetsTheChosenLineAndTheWheelSteps) {
    OlderWindows older;
    TavimoFolder folder;
    auto [process, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    for (int id : {kMasterButtonId, kMasterButtonId + 1, kMasterButtonId + 2, kMasterButtonId + 3}) {
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(window, id))) << id;
    }
    // The null sink has no MIDI or CD line: they read 0.
    auto captions = VolumeCaptions(window);
    EXPECT_EQ(captions[2], L"&MIDI 0");
    EXPECT_EQ(captions[3], L"&CD 0");

    // No volume button clicked: the menu's target is empty, which means the master line.
    ::PostMessageW(window, WM_COMMAND, kVolumeItem50, 0);
    Settle(window);
    EXPECT_EQ(Caption(window, kMasterButtonId), L"&Master 50");

    // WAVE's button names the target; its "50 %" must leave the master alone.
    ClickButton(window, kWaveButtonId);
    HWND menu = WaitForWindow(process.Id(), L"#32768");
    ASSERT_NE(menu, nullptr); // the volume menu, at the mouse
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 100 && ::IsWindowVisible(menu); ++i) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_FALSE(::IsWindowVisible(menu));
    ::PostMessageW(window, WM_COMMAND, kVolumeItem50, 0);
    Settle(window);
    EXPECT_EQ(Caption(window, kMasterButtonId), L"&Master 50");

    // One wheel notch up over the master button raises it by one.
    // The step goes by where the cursor is.
    RECT r{};
    ::GetWindowRect(::GetDlgItem(window, kMasterButtonId), &r);
    const POINT over{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Wine moves the pointer asynchronously: post only once the move has landed.
    for (int i = 0; i < 50; ++i) {
        ::SetCursorPos(over.x, over.y);
        std::this_thread::sleep_for(50ms);
        POINT now{};
        ::GetCursorPos(&now);
        if (now.x == over.x && now.y == over.y) {
            break;
        }
    }
    std::this_thread::sleep_for(200ms);
    ::PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                   MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    Settle(window);
    EXPECT_EQ(Caption(window, kMasterButtonId), L"&Master 51");

    // A real notch, as the mouse sends it: it goes to the focused control (the device list, which has
    // the focus from the start), and still steps the volume under the cursor.
    ASSERT_TRUE(BringToFront(window));
    ASSERT_EQ(FocusOf(window), ::GetDlgItem(window, kDeviceListId));
    INPUT notch{};
    notch.type = INPUT_MOUSE;
    notch.mi.dwFlags = MOUSEEVENTF_WHEEL;
    notch.mi.mouseData = WHEEL_DELTA;
    ::SendInput(1, &notch, sizeof(notch));
    EXPECT_TRUE(WaitFor([&] { return Caption(window, kMasterButtonId) == L"&Master 52"; }))
        << "the wheel reached " << Caption(window, kMasterButtonId);
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

TEST(Volume_MuteSwitch, TogglesTheMixerOnEveryVersionAndEndsWithZero) {
    TavimoFolder folder;
    for (bool older : {false, true}) {
        std::optional<OlderWindows> version;
        if (older) {
            version.emplace();
        }
        Process process = Launch(folder.Exe(), L"/mute");
        EXPECT_EQ(process.Wait(), 0u) << older;
        EXPECT_EQ(WaitForMainWindow(process, 0ms), nullptr);
    }
}

} // namespace
} // namespace e2e

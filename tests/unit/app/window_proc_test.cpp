// The main window's own procedure: closing when it loses the activation ("非アクティブで終了(&A)") and
// the volume wheel over the volume buttons, on a real window of this process.
#include "app/frm_device.h"

#include "app/app_info.h"
#include "app/list_rules.h"
#include "platform/busy.h"
#include "sandbox.h"
#include "volume_fakes.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavimo {
namespace {

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

// Wine moves the pointer through the X server and may report the old place for a moment after the new
// one: wait until the new place has held for a few reads, as the window reads it back.
bool MoveCursorTo(POINT at) {
    ::SetCursorPos(at.x, at.y);
    int held = 0;
    for (int tries = 0; tries < 200 && held < 5; ++tries) {
        POINT now{};
        held = ::GetCursorPos(&now) && now.x == at.x && now.y == at.y ? held + 1 : 0;
        ::Sleep(10);
    }
    return held >= 5;
}

TEST(WindowProc_Activation, UnloadsOnlyWhenInactiveIdleAndChecked) {
    struct Case {
        const char* name;
        WPARAM wParam;
        bool busy;
        bool checked;
        bool unload;
    };
    const Case cases[] = {
        {"deactivated", WA_INACTIVE, false, true, true},
        {"deactivated while busy", WA_INACTIVE, true, true, false},
        {"option not checked", WA_INACTIVE, false, false, false},
        {"activated", WA_ACTIVE, false, true, false},
        {"activated by click", WA_CLICKACTIVE, false, true, false},
        {"deactivated minimised", MAKEWPARAM(WA_INACTIVE, 1), false, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnloadsOnActivate(c.wParam, c.busy, c.checked), c.unload) << c.name;
    }
}

class WindowProcTest : public fakes::SoundTest {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        SetSettingsPath(folder_.Path(L"setting.ini"));
        endpoint.scalar = 0.4f;
    }
    void TearDown() override {
        form_.reset();
        if (other_) {
            ::DestroyWindow(other_);
        }
        Pump();
        SoundTest::TearDown();
    }

    frmDevice& Open(bool exitWhenInactive) {
        ::WritePrivateProfileStringW(L"Tavimo", L"Activate", exitWhenInactive ? L"-1" : L"0",
                                     SettingsPath().c_str());
        form_ = std::make_unique<frmDevice>(L"");
        EXPECT_EQ(form_->Load(), frmDevice::LoadResult::Loaded);
        form_->Show();
        ::SetForegroundWindow(form_->Window());
        Pump();
        return *form_;
    }

    // A plain window of this process to take the activation.
    HWND Other() {
        other_ = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 300, 120,
                                   80, nullptr, nullptr, nullptr, nullptr);
        return other_;
    }

    test_support::Sandbox folder_;
    std::unique_ptr<frmDevice> form_;
    HWND other_ = nullptr;
};

TEST_F(WindowProcTest, DeactivationUnloadsAfterTheMessageAndSaves) {
    frmDevice& form = Open(true);
    const HWND window = form.Window();
    ::SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(::IsWindow(window)) << "the unload must wait until WM_ACTIVATE has been handled";
    Pump();
    EXPECT_FALSE(::IsWindow(window));
    wchar_t activate[8] = {};
    ::GetPrivateProfileStringW(L"Tavimo", L"Activate", L"", activate, 8, SettingsPath().c_str());
    EXPECT_STREQ(activate, L"-1");
    wchar_t state[8] = {};
    ::GetPrivateProfileStringW(L"Tavimo", L"WinState", L"", state, 8, SettingsPath().c_str());
    EXPECT_STREQ(state, L"0") << "saved as an unload saves";
}

TEST_F(WindowProcTest, LosingTheActivationToAnotherWindowUnloadsUnlessBusy) {
    for (const bool busy : {true, false}) {
        frmDevice& form = Open(true);
        const HWND window = form.Window();
        ASSERT_EQ(::GetActiveWindow(), window);
        SetBusy(busy);
        ::SetActiveWindow(Other());
        Pump();
        SetBusy(false);
        EXPECT_EQ(::IsWindow(window) != FALSE, busy) << (busy ? "busy" : "idle");
        form_.reset();
        ::DestroyWindow(other_);
        other_ = nullptr;
        Pump();
    }
}

TEST_F(WindowProcTest, WheelStepsTheVolumeUnderTheCursorAndRefreshes) {
    frmDevice& form = Open(false);
    const HWND master = form.cmdMenu[2];
    ASSERT_TRUE(::IsWindowVisible(master)) << "this system's master button";
    RECT button{};
    ::GetWindowRect(master, &button);
    RECT list{};
    ::GetWindowRect(form.ListView1[0], &list);
    struct Case {
        const char* name;
        POINT cursor;
        short delta;
        WORD keys;
        float scalarAfter;
        bool refreshed;
        bool toFocusedList = false; // where Windows delivers the wheel when a list has the focus
    };
    const POINT over{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    const POINT above{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
    const Case cases[] = {
        {"up", over, WHEEL_DELTA, 0, 0.41f, true},
        {"down", over, -WHEEL_DELTA, 0, 0.39f, true},
        {"keys held", over, WHEEL_DELTA, MK_CONTROL, 0.41f, true},
        {"small delta", over, -1, 0, 0.39f, true},
        {"over the lists", above, WHEEL_DELTA, 0, 0.4f, false},
        {"to the focused list, over the button", over, WHEEL_DELTA, 0, 0.41f, true, true},
        {"to the focused list, over it", above, WHEEL_DELTA, 0, 0.4f, false, true},
    };
    for (const auto& c : cases) {
        endpoint.scalar = 0.4f;
        ::SetWindowTextW(master, L"unchanged");
        ASSERT_TRUE(MoveCursorTo(c.cursor)) << c.name;
        ::SendMessageW(c.toFocusedList ? form.ListView1[0] : form.Window(), WM_MOUSEWHEEL,
                       MAKEWPARAM(c.keys, static_cast<WORD>(c.delta)), MAKELPARAM(c.cursor.x, c.cursor.y));
        EXPECT_EQ(endpoint.scalar, c.scalarAfter) << c.name;
        wchar_t caption[64] = {};
        ::GetWindowTextW(master, caption, 64);
        EXPECT_EQ(std::wstring(caption) != L"unchanged", c.refreshed) << c.name << ": " << caption;
    }
}

} // namespace
} // namespace tavimo

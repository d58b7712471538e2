#include "platform/window_subclass.h"

#include "../volume/volume_fakes.h"
#include "app/busy.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

namespace tavimo {
namespace {

// The window's own procedure, standing for the one WindowProc is put in front of: it logs everything.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen&) const = default;
};
void PrintTo(const Seen& s, std::ostream* os) {
    *os << "{0x" << std::hex << s.message << ", 0x" << s.wParam << ", 0x" << s.lParam << std::dec << "}";
}
std::vector<Seen> g_seen;

constexpr UINT kProbe = WM_APP + 7;
constexpr LRESULT kProbeAnswer = 0x5151;
constexpr wchar_t kTestClass[] = L"TavimoSubclassTestWindow";

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seen.push_back({message, wParam, lParam});
    switch (message) {
    case kProbe:
        return kProbeAnswer;
    case WM_ACTIVATE: // the default would move the focus and activate the window for real
    case WM_MOUSEWHEEL:
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

std::vector<Seen> SeenOf(UINT message) {
    std::vector<Seen> only;
    for (const Seen& s : g_seen) {
        if (s.message == message)
            only.push_back(s);
    }
    return only;
}

class WindowProcTest : public fakes::SoundTest {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kTestClass;
        ::RegisterClassExW(&wc); // fails harmlessly once registered
        g_seen.clear();
    }
    void TearDown() override {
        RemoveWindowProc();
        for (HWND w : windows_) {
            if (::IsWindow(w))
                ::DestroyWindow(w);
        }
        Pump();
        SoundTest::TearDown();
    }

    HWND NewWindow(bool visible = false, int x = 50) {
        const HWND w = ::CreateWindowExW(0, kTestClass, L"subclass test",
                                         WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), x, 50, 300, 200,
                                         nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(w);
        return w;
    }

    // Hooks as the main window gives them: its unload takes the procedure out and destroys the window.
    WindowProcHooks Hooks(HWND window) {
        WindowProcHooks hooks;
        hooks.exitWhenInactive = [this] { return checked; };
        hooks.unload = [this, window] {
            ++unloads;
            seenBeforeUnload = g_seen;
            RemoveWindowProc();
            ::DestroyWindow(window);
        };
        hooks.volumeButtons = [this] { return layout; };
        hooks.refreshVolume = [this] { ++refreshes; };
        hooks.volumePath = [this] { return path; };
        return hooks;
    }

    bool checked = true;
    int unloads = 0;
    int refreshes = 0;
    std::vector<Seen> seenBeforeUnload;
    VolumeButtonLayout layout{INT_MAX / 2, {INT_MAX / 2, INT_MAX / 2, INT_MAX / 2, INT_MAX / 2}}; // never hit
    VolumePath path = VolumePath::Endpoint;

  private:
    std::vector<HWND> windows_;
};

TEST_F(WindowProcTest, EveryMessageReachesThePreviousProcedureUnchanged) {
    const HWND window = NewWindow();
    ASSERT_TRUE(InstallWindowProc(window, Hooks(window)));
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WindowProc));
    EXPECT_FALSE(InstallWindowProc(window, Hooks(window))) << "installed twice";
    checked = false;

    const Seen sent[] = {
        {WM_ACTIVATE, WA_CLICKACTIVE, 0},
        {WM_ACTIVATE, WA_INACTIVE, 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, WHEEL_DELTA), MAKELPARAM(10, 20)},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(30, 40)},
        {kProbe, 0xABCD, 0x1234},
    };
    for (const Seen& s : sent) {
        const LRESULT result = ::SendMessageW(window, s.message, s.wParam, s.lParam);
        if (s.message == kProbe) {
            EXPECT_EQ(result, kProbeAnswer) << "the previous procedure's answer is returned";
        }
    }
    Pump();
    EXPECT_EQ(SeenOf(WM_ACTIVATE), (std::vector<Seen>{sent[0], sent[1]}));
    EXPECT_EQ(SeenOf(WM_MOUSEWHEEL), (std::vector<Seen>{sent[2], sent[3]}));
    EXPECT_EQ(SeenOf(kProbe), (std::vector<Seen>{sent[4]}));
    EXPECT_EQ(unloads, 0);
    EXPECT_EQ(refreshes, 0);

    RemoveWindowProc();
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
}

TEST_F(WindowProcTest, DeactivationUnloadsOnlyWhenInactiveIdleAndChecked) {
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
        unloads = 0;
        checked = c.checked;
        const HWND window = NewWindow();
        ASSERT_TRUE(InstallWindowProc(window, Hooks(window))) << c.name;
        g_seen.clear();
        SetBusy(c.busy);
        ::SendMessageW(window, WM_ACTIVATE, c.wParam, 0);
        EXPECT_EQ(unloads, 0) << c.name << ": the unload must wait until WM_ACTIVATE has been forwarded";
        SetBusy(false); // decided at deactivation, not when the request arrives
        Pump();
        EXPECT_EQ(unloads, c.unload ? 1 : 0) << c.name;
        if (c.unload) {
            EXPECT_FALSE(::IsWindow(window)) << c.name;
            EXPECT_FALSE(seenBeforeUnload.empty());
            EXPECT_EQ(seenBeforeUnload.front(), (Seen{WM_ACTIVATE, c.wParam, 0})) << c.name;
        } else {
            EXPECT_TRUE(::IsWindow(window)) << c.name;
            RemoveWindowProc();
        }
    }
}

// A real change of the active window between two windows of this process.
TEST_F(WindowProcTest, LosingTheActivationToAnotherWindowUnloadsUnlessBusy) {
    for (const bool busy : {true, false}) {
        unloads = 0;
        const HWND window = NewWindow(true, 50);
        const HWND other = NewWindow(true, 400);
        ::SetActiveWindow(window);
        Pump();
        ASSERT_EQ(::GetActiveWindow(), window);
        ASSERT_TRUE(InstallWindowProc(window, Hooks(window)));
        SetBusy(busy);
        ::SetActiveWindow(other);
        Pump();
        SetBusy(false);
        EXPECT_EQ(unloads, busy ? 0 : 1) << (busy ? "busy" : "idle");
        EXPECT_EQ(::IsWindow(window) != FALSE, busy);
        RemoveWindowProc();
        ::DestroyWindow(other);
        if (::IsWindow(window))
            ::DestroyWindow(window);
        Pump();
    }
}

TEST_F(WindowProcTest, WheelStepsTheVolumeUnderTheCursorAndRefreshes) {
    constexpr int kAll = INT_MIN / 2;  // every cursor position is below and right of this
    constexpr int kNone = INT_MAX / 2; // and none of this
    struct Case {
        const char* name;
        VolumePath path;
        VolumeButtonLayout layout;
        short delta;
        WORD keys;
        float scalarAfter;
        DWORD masterAfter;
        int refreshes;
    };
    const Case cases[] = {
        {"endpoint up",
         VolumePath::Endpoint,
         {kAll, {kAll, kNone, kNone, kNone}},
         WHEEL_DELTA,
         0,
         0.41f,
         32767,
         1},
        {"endpoint down",
         VolumePath::Endpoint,
         {kAll, {kAll, kNone, kNone, kNone}},
         -WHEEL_DELTA,
         0,
         0.39f,
         32767,
         1},
        {"keys held",
         VolumePath::Endpoint,
         {kAll, {kAll, kNone, kNone, kNone}},
         WHEEL_DELTA,
         MK_CONTROL,
         0.41f,
         32767,
         1},
        {"small delta", VolumePath::Endpoint, {kAll, {kAll, kNone, kNone, kNone}}, -1, 0, 0.39f, 32767, 1},
        {"endpoint missed",
         VolumePath::Endpoint,
         {kNone, {kAll, kAll, kAll, kAll}},
         WHEEL_DELTA,
         0,
         0.4f,
         32767,
         0},
        {"mixer master up",
         VolumePath::Mixer,
         {kAll, {kAll, kNone, kNone, kNone}},
         WHEEL_DELTA,
         0,
         0.4f,
         33422,
         1},
        {"mixer left of all",
         VolumePath::Mixer,
         {kAll, {kNone, kNone, kNone, kNone}},
         WHEEL_DELTA,
         0,
         0.4f,
         32767,
         1},
    };
    for (const auto& c : cases) {
        refreshes = 0;
        g_seen.clear();
        endpoint.scalar = 0.4f;
        mixer.Value(0) = 32767;
        path = c.path;
        layout = c.layout;
        const HWND window = NewWindow();
        ASSERT_TRUE(InstallWindowProc(window, Hooks(window)));
        const WPARAM wParam = MAKEWPARAM(c.keys, static_cast<WORD>(c.delta));
        ::SendMessageW(window, WM_MOUSEWHEEL, wParam, 0);
        EXPECT_EQ(endpoint.scalar, c.scalarAfter) << c.name;
        EXPECT_EQ(mixer.Value(0), c.masterAfter) << c.name;
        EXPECT_EQ(refreshes, c.refreshes) << c.name;
        EXPECT_EQ(SeenOf(WM_MOUSEWHEEL), (std::vector<Seen>{{WM_MOUSEWHEEL, wParam, 0}})) << c.name;
        RemoveWindowProc();
    }
}

} // namespace
} // namespace tavimo

// The older volume path with no sound server: CTest points this test's PULSE_SERVER nowhere.
#include "tavimo_driver.h"
#include "wine_app_version.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(NoSound_Window, TheMixerErrorIsShownAndTheWindowStillOpens) {
    OlderWindows older;
    TavimoFolder folder;
    Process process = Launch(folder.Exe(), L"");
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_TRUE(text == L"[2] 指定されたデバイスIDは無効です。" ||
                text == L"[6] 利用可能なミキサーデバイスがありません。")
        << std::string(text.begin(), text.end());
    // Every line's read reports it; answer them all and the window still opens.
    HWND window = nullptr;
    for (int i = 0; i < 20 && !window; ++i) {
        if (HWND next = WaitForMessageBox(process, L"Tavimo", 500ms)) {
            ClickBoxButton(next, IDOK);
        }
        window = WaitForMainWindow(process, 100ms);
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CloseAndWait(process, window), 0u);
}

TEST(NoSound_MuteSwitch, EndsWithOneWhenTheMixerCannotBeOpened) {
    TavimoFolder folder;
    Process process = Launch(folder.Exe(), L"/mute");
    HWND box = WaitForMessageBox(process, L"Tavimo");
    ASSERT_NE(box, nullptr);
    ClickBoxButton(box, IDOK);
    EXPECT_EQ(process.Wait(), 1u);
}

} // namespace
} // namespace e2e

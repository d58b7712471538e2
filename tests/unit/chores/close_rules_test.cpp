#include "chores/close_windows.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

TEST(CloseAll_Rule, SkipsHiddenOwnedUntitledAndTheDesktopTypesAltF4IntoShellFolders) {
    constexpr auto Skip = CloseAction::Skip, AltF4 = CloseAction::AltF4, Close = CloseAction::Close,
                   Quit = CloseAction::Quit;
    struct Case {
        const char* name;
        WindowFacts window;
        CloseAction normal;
        CloseAction forced;
    };
    const Case cases[] = {
        {"plain", {true, false, L"Notepad", L"Notepad"}, Close, Quit},
        {"hidden", {false, false, L"Notepad", L"Notepad"}, Skip, Skip},
        {"owned", {true, true, L"Find", L"#32770"}, Skip, Skip},
        {"untitled", {true, false, L"", L"Notepad"}, Skip, Skip},
        {"untitled shell folder: title first", {true, false, L"", L"CabinetWClass"}, Skip, Skip},
        {"hidden shell folder", {false, false, L"C:\\", L"CabinetWClass"}, Skip, Skip},
        {"owned shell folder", {true, true, L"C:\\", L"CabinetWClass"}, Skip, Skip},
        {"shell folder", {true, false, L"C:\\", L"CabinetWClass"}, AltF4, AltF4},
        {"explorer", {true, false, L"C:\\", L"ExploreWClass"}, AltF4, AltF4},
        {"longer shell class", {true, false, L"C:\\", L"CabinetWClassX"}, AltF4, AltF4},
        {"shell class cut short", {true, false, L"C:\\", L"CabinetWClas"}, Close, Quit},
        {"shell class in another case", {true, false, L"C:\\", L"cabinetwclass"}, Close, Quit},
        {"desktop", {true, false, L"Program Manager", L"Progman"}, Skip, Skip},
        {"longer desktop class", {true, false, L"Program Manager", L"ProgmanX"}, Skip, Skip},
        {"desktop class in another case", {true, false, L"Program Manager", L"progman"}, Close, Quit},
        {"desktop class cut short", {true, false, L"Program Manager", L"Progma"}, Close, Quit},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CloseRule(c.window, CloseMode::Normal), c.normal) << c.name;
        EXPECT_EQ(CloseRule(c.window, CloseMode::Forced), c.forced) << c.name;
    }
}

} // namespace
} // namespace tavimo

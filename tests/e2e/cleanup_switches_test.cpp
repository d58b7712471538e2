// The cleanup switches as a script would run them: no window, an exit code.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(CleanupSwitches, EachEndsQuietlyWithSuccessWhenThereIsNothingToFail) {
    TavimoFolder folder;
    // The test environment's recycle bin is empty, so "/recycle" asks nothing and succeeds.
    for (const wchar_t* arguments :
         {L"/history", L"/HISTORY /x", L"/recent", L"/cashe", L"/cookie", L"/recycle"}) {
        Process process = Launch(folder.Exe(), arguments);
        const auto code = process.Wait(30s);
        if (!code) {
            process.Kill();
        }
        EXPECT_EQ(code, std::optional<DWORD>(0)) << arguments;
        EXPECT_EQ(WaitForMainWindow(process, 0ms), nullptr) << arguments;
        EXPECT_FALSE(FileExists(folder.File(L"setting.ini"))) << arguments; // chores never touch settings
    }
}

} // namespace
} // namespace e2e

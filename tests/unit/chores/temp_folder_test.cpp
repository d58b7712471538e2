#include "chores/cleanup.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

TEST(Cleanup_IsSafeTempFolder, RootsAndSystemFoldersAreNeverEmptied) {
    const std::vector<std::wstring> protectedFolders = {L"C:\\Windows", L"C:\\Windows\\system32",
                                                        L"C:\\Users\\taro"};
    struct Case {
        const wchar_t* folder;
        bool safe;
    };
    const Case cases[] = {
        {L"C:\\Users\\taro\\AppData\\Local\\Temp\\", true},
        {L"D:\\tmp", true},
        {L"C:\\", false},
        {L"C:", false},
        {L"\\\\server\\share\\", false},
        {L"c:\\windows\\", false}, // case and trailing separator don't hide it
        {L"C:\\WINDOWS\\System32", false},
        {L"C:\\Users\\taro\\", false}, // the profile itself, where TEMP falls back when unset
        {L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSafeTempFolder(c.folder, protectedFolders), c.safe) << std::wstring(c.folder);
    }
}

} // namespace
} // namespace tavimo

#include "app/app_main.h"
#include "app/command_line.h"

#include "platform/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace tavimo {
namespace {

TEST(CommandLine_CommandTail, DropsProgramNameAndSeparatingBlanksOnly) {
    struct Case {
        const wchar_t* line;
        const wchar_t* tail;
    };
    const Case cases[] = {
        {L"Tavimo.exe", L""},
        {L"\"C:\\Program Files\\Tavimo.exe\"", L""},
        {L"\"C:\\Program Files\\Tavimo.exe\" /version", L"/version"},
        {L"Tavimo.exe   /allclose ", L"/allclose "}, // trailing blank stays
        {L"C:\\t\\Tavimo.exe\t/jpeg /\"C:\\x\"", L"/jpeg /\"C:\\x\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandTail(c.line), c.tail) << c.line;
    }
}

TEST(CommandLine_SplitArguments, SplitsAtEverySpaceSlashExactly) {
    struct Case {
        const wchar_t* tail;
        std::vector<std::wstring> parts;
    };
    const Case cases[] = {
        {L"/version", {L"/version"}},
        {L"/jpeg /\"C:\\shots\"", {L"/jpeg", L"\"C:\\shots\""}},
        {L"/cdopen /", {L"/cdopen", L""}},
        {L"/jpeg  /\"C:\\x\"", {L"/jpeg ", L"\"C:\\x\""}},        // two spaces: element 0 keeps one
        {L"/jpeg C:\\x", {L"/jpeg C:\\x"}},                       // plain space is not a separator
        {L"/jpeg /\"C:\\a /b\"", {L"/jpeg", L"\"C:\\a", L"b\""}}, // a folder holding " /" is cut there
        {L"/allclose /x /y", {L"/allclose", L"x", L"y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitArguments(c.tail), c.parts) << c.tail;
    }
}

TEST(CommandLine_FindSwitch, MatchesWholeLowerCasedElementOnly) {
    struct Case {
        const wchar_t* tail;
        std::optional<Switch> expected;
    };
    const Case cases[] = {
        {L"/allclose", Switch::AllClose},
        {L"/ALLCLOSE", Switch::AllClose},
        {L"/AllCloseF", Switch::AllCloseForced},
        {L"/allclose ", std::nullopt}, // trailing space: the window opens instead
        {L"/allclose /anything", Switch::AllClose},
        {L"/h", Switch::SafelyRemove},
        {L"/hotplug", Switch::HotPlug},
        {L"/hot", std::nullopt},
        {L"/eject", std::nullopt}, // handled by the window, not here
        {L"/jpeg  /\"C:\\x\"", std::nullopt},
        {L"/cashe", Switch::Cache},
        {L"/cache", std::nullopt},
        {L"／ｖｅｒｓｉｏｎ", std::nullopt}, // full-width letters are not the switch
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindSwitch(SwitchKey(SplitArguments(c.tail))), c.expected) << c.tail;
    }
}

TEST(CommandLine_SwitchTable, EveryKeyIsLowerCaseUniqueAndFindable) {
    std::set<std::wstring_view> keys;
    for (const auto& entry : kSwitchTable) {
        EXPECT_EQ(ToLower(entry.key), entry.key);
        EXPECT_TRUE(keys.insert(entry.key).second) << std::wstring(entry.key);
        EXPECT_EQ(FindSwitch(entry.key), entry.id);
    }
}

TEST(CommandLine_CaptureFolder, QuotedExistingFolderElseExeFolder) {
    const std::wstring exe = L"C:\\app";
    const auto isDirectory = [](const std::wstring& path) { return path == L"C:\\shots"; };
    struct Case {
        const wchar_t* tail;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"/jpeg", L""}, // no argument: saved beside the executable later
        {L"/jpeg /\"C:\\shots\"", L"C:\\shots"},
        {L"/jpeg /xC:\\shotsy", L"C:\\shots"}, // one character off each end, whatever it is
        {L"/jpeg /\"C:\\missing\"", L"C:\\app"},
        {L"/jpeg /x", L"C:\\app"}, // too short to hold a folder
        {L"/jpeg /", L"C:\\app"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaptureFolder(SplitArguments(c.tail), exe, isDirectory), c.folder) << c.tail;
    }
}

TEST(CommandLine_CdOpenDrive, DefaultDeviceUnlessNamed) {
    struct Case {
        const wchar_t* tail;
        const wchar_t* drive;
    };
    const Case cases[] = {
        {L"/cdopen", L"cdaudio"},          {L"/cdopen /", L"cdaudio"},  {L"/cdopen /Default", L"cdaudio"},
        {L"/cdopen /default", L"default"}, // case-sensitive: passed on as a name
        {L"/cdopen /E:", L"E:"},           {L"/CDOPEN /E: /F:", L"E:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CdOpenDrive(SplitArguments(c.tail)), c.drive) << c.tail;
    }
}

} // namespace
} // namespace tavimo

#include "devices/shell_menu.h"

#include "seam.h"

#include "devices/devices_texts.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimo {
namespace {

TEST(ShellMenu_VerbItem, EjectRenameAndNamelessVerbsBecomeSeparators) {
    struct Case {
        const wchar_t* verb;
        ShellMenuItem item;
    };
    const Case cases[] = {
        {L"取り出し(&J)", {L"-", MF_SEPARATOR}},
        {L"名前の変更(&M)", {L"-", MF_SEPARATOR}},
        {L"", {L"-", MF_SEPARATOR}},
        // The same verbs under another access key, as Wine's shell labels its rename, or none.
        {L"名前の変更(&R)", {L"-", MF_SEPARATOR}},
        {L"取り出し", {L"-", MF_SEPARATOR}},
        {L"開く(&O)", {L"開く(&O)", MF_BYPOSITION}},
        {L"プロパティ(&R)", {L"プロパティ(&R)", MF_BYPOSITION}},
        {L"名前の変更(&M) ", {L"名前の変更(&M) ", MF_BYPOSITION}},
        {L"取り出し(&J)...", {L"取り出し(&J)...", MF_BYPOSITION}},
        {L"-", {L"-", MF_BYPOSITION}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellVerbMenuItem(c.verb), c.item) << static_cast<int>(wcslen(c.verb));
    }
}

TEST(ShellMenu_DeviceRowDrivePath, TwoCharactersBeforeTheLastClosingParenthesis) {
    struct Case {
        const wchar_t* row;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"USB DISK (E:)", L"E:\\"},
        {L"Generic (USB) Flash Disk (F:)", L"F:\\"},
        {L"USB 大容量記憶装置 (G:)", L"G:\\"},
        {L"", L""},
        {L"no parenthesis", L""},
        {L"E)", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceRowDrivePath(c.row), c.path) << c.row;
    }
}

TEST(ShellMenu_CdRowDrivePath, DriveLetterColonBackslashOrNothing) {
    test_support::TestWindow ui;
    AddListRow(ui.list, L"CD-ROM ドライブ (D:)", 0, L'D');
    EXPECT_EQ(CdRowDrivePath(ui.list, 0), L"D:\\");
    // No row: no path at all, rather than "\\", which the shell would take for the current drive's root.
    EXPECT_EQ(CdRowDrivePath(ui.list, 1), L"");
}

struct MenuEntry {
    std::wstring text;
    UINT id;
    bool separator;
    bool operator==(const MenuEntry&) const = default;
};

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        entries.push_back(
            {(info.fType & MFT_SEPARATOR) ? L"" : text, info.wID, (info.fType & MFT_SEPARATOR) != 0});
    }
    return entries;
}

TEST(ShellMenu_AddMenuItem, AppendsWithThePositionAsIdentifierSeparatorsIncluded) {
    const HMENU popup = ::CreatePopupMenu();
    for (const wchar_t* verb : {L"開く(&O)", L"取り出し(&J)", L"", L"プロパティ(&R)"}) {
        const ShellMenuItem item = ShellVerbMenuItem(verb);
        sAddMenuItem(popup, item.text, item.flags);
    }
    const std::vector<MenuEntry> expected = {
        {L"開く(&O)", 1, false}, {L"", 2, true}, {L"", 3, true}, {L"プロパティ(&R)", 4, false}};
    EXPECT_EQ(Entries(popup), expected);
    ::DestroyMenu(popup);
}

std::vector<MenuEntry> g_shown;

UINT RecordAndDismiss(HMENU popup, HWND, POINT) {
    g_shown = Entries(popup);
    return 0;
}

// The real shell of the test prefix: the fake removable drive E: and the system drive C:.
TEST(ShellMenu_ShellMenu, RealDriveVerbsWithoutEjectOrRenameAndNothingRunWhenDismissed) {
    test_support::TestWindow ui;
    const HMENU popup = ::CreatePopupMenu();
    test_support::ScopedOverride<TrackPopupFunction> track(g_trackPopup, &RecordAndDismiss);
    for (const wchar_t* path : {L"E:\\", L"C:\\"}) {
        if (::GetDriveTypeW(path) <= DRIVE_NO_ROOT_DIR) {
            continue; // outside the test environment there may be no E:
        }
        ::AppendMenuW(popup, MF_STRING, 99, L"stale item of the last use");
        g_shown.clear();
        sShellMenu(ui.window, popup, path);
        ASSERT_FALSE(g_shown.empty()) << path;
        for (size_t i = 0; i < g_shown.size(); ++i) {
            EXPECT_EQ(g_shown[i].id, i + 1) << path;
            EXPECT_NE(g_shown[i].text, devices_texts::kShellEjectVerb) << path;
            EXPECT_NE(g_shown[i].text, devices_texts::kShellRenameVerb) << path;
            EXPECT_EQ(g_shown[i].text.find(L"名前の変更"), std::wstring::npos) << path;
            EXPECT_NE(g_shown[i].text, L"stale item of the last use") << path;
        }
    }
    ::DestroyMenu(popup);
}

TEST(ShellMenu_ShellMenu, NoFolderNoMenu) {
    test_support::TestWindow ui;
    const HMENU popup = ::CreatePopupMenu();
    test_support::ScopedOverride<TrackPopupFunction> track(g_trackPopup, &RecordAndDismiss);
    g_shown = {{L"not shown", 0, false}};
    ::AppendMenuW(popup, MF_STRING, 99, L"stale");
    sShellMenu(ui.window, popup, L"Q:\\no such folder\\");
    EXPECT_EQ(g_shown, std::vector<MenuEntry>({{L"not shown", 0, false}}));
    EXPECT_EQ(::GetMenuItemCount(popup), 0);
    ::DestroyMenu(popup);
}

} // namespace
} // namespace tavimo

// The window's rules for keys, clicks and the end of a removal, as tables.
#include "app/list_rules.h"

#include "app/control_ids.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

using enum ListActionKind;

TEST(ListRules_Key, EnterActsOnTheSelectedRowOfAListWithRows) {
    struct Case {
        const char* name;
        int list;
        WORD key;
        int count;
        int selected;
        ListAction action;
    };
    const Case cases[] = {
        {"device, first row", kDeviceList, VK_RETURN, 2, 0, {EjectDevice, 0}},
        {"CD, second row", kCdList, VK_RETURN, 2, 1, {EjectTray, 1}},
        {"nothing selected", kDeviceList, VK_RETURN, 2, -1, {}},
        {"empty list", kCdList, VK_RETURN, 0, 0, {}},
        {"another key", kDeviceList, VK_SPACE, 2, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListKeyAction(c.list, c.key, c.count, c.selected), c.action) << c.name;
    }
}

TEST(ListRules_MouseUp, RowsActBesideThemOnlyTheFileMenu) {
    struct Case {
        const char* name;
        ListClick click;
        ListAction action;
    };
    // list, button, hit row, point, last click, rows, focused row, focused selected
    const Case cases[] = {
        {"left on a device", {kDeviceList, 1, 0, {5, 5}, {0, 0}, 1, 0, true}, {EjectDevice, 0, true}},
        {"left on a tray", {kCdList, 1, 1, {5, 25}, {0, 0}, 2, 1, true}, {EjectTray, 1, true}},
        {"right on a device", {kDeviceList, 2, 0, {5, 5}, {0, 0}, 1, 0, true}, {DriveMenu, 0, true}},
        {"right on a tray", {kCdList, 2, 0, {5, 5}, {0, 0}, 1, 0, true}, {DriveMenu, 0, true}},
        {"right beside the rows", {kDeviceList, 2, -1, {5, 90}, {0, 0}, 1, 0, true}, {FileMenu}},
        {"left beside the rows", {kDeviceList, 1, -1, {5, 90}, {0, 0}, 1, 0, true}, {}},
        {"the last click's point", {kDeviceList, 1, 0, {5, 5}, {5, 5}, 1, 0, true}, {}},
        {"focused row not selected", {kDeviceList, 1, 0, {5, 5}, {0, 0}, 1, 0, false}, {}},
        {"nothing focused", {kDeviceList, 1, 0, {5, 5}, {0, 0}, 1, -1, false}, {EjectDevice, 0, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListMouseUpAction(c.click), c.action) << c.name;
    }
}

TEST(ListRules_FormKeys, EscClosesUAndCMoveTheFocus) {
    EXPECT_EQ(FormKeyUpAction(VK_ESCAPE), FormKeyAction::Unload);
    EXPECT_EQ(FormKeyUpAction('U'), FormKeyAction::FocusDevices);
    EXPECT_EQ(FormKeyUpAction('C'), FormKeyAction::FocusCds);
    EXPECT_EQ(FormKeyUpAction('X'), FormKeyAction::None);
    EXPECT_EQ(FormKeyUpAction(VK_RETURN), FormKeyAction::None);
}

// "取り外し後は終了(&X)": what each removal outcome means for the window.
TEST(ListRules_ExitAfterRemoval, ClosesAfterARemovalThatDidSomething) {
    using enum RemovalOutcome;
    struct Case {
        const char* name;
        RemovalOutcome outcome;
        bool removeAll;
        bool option;
        bool exits;
    };
    const Case cases[] = {
        {"all removed", Removed, true, true, true},
        {"remove-all refused: closes anyway", Refused, true, true, true},
        {"remove-all refused, option off", Refused, true, false, false},
        {"remove-all declined", Cancelled, true, true, false},
        {"remove-all on an empty list", NothingToDo, true, true, false},
        {"one device removed", Removed, false, true, true},
        {"one device removed, option off", Removed, false, false, false},
        {"one device refused: window stays", Refused, false, true, false},
        {"one device declined", Cancelled, false, true, false},
        {"nothing selected", NothingToDo, false, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExitsAfterRemoval(c.outcome, c.removeAll, c.option), c.exits) << c.name;
    }
}

} // namespace
} // namespace tavimo

#include "chores/desktop_view.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace tavimo {
namespace {

TEST(DesktopView_Toggle, AnyOtherViewGoesToIconViewAndIconViewToListView) {
    constexpr DWORD kOther = WS_CHILD | WS_VISIBLE | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
    struct Case {
        const char* name;
        DWORD before;
        DWORD after;
    };
    const Case cases[] = {
        {"report", kOther | LVS_REPORT, kOther | LVS_ICON | LVS_NOSCROLL},
        {"small icon", kOther | LVS_SMALLICON, kOther | LVS_ICON | LVS_NOSCROLL},
        {"list", kOther | LVS_LIST, kOther | LVS_ICON | LVS_NOSCROLL},
        {"list, no-scroll already set", kOther | LVS_LIST | LVS_NOSCROLL, kOther | LVS_ICON | LVS_NOSCROLL},
        {"icon with no-scroll", kOther | LVS_ICON | LVS_NOSCROLL, kOther | LVS_LIST},
        {"icon without no-scroll", kOther | LVS_ICON, kOther | LVS_LIST},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesktopViewAfterToggle(c.before), c.after) << c.name;
    }
}

} // namespace
} // namespace tavimo

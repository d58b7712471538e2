#include "app/form_layout.h"

#include <gtest/gtest.h>

namespace tavimo {
namespace {

TEST(FormLayout_Compute, FollowsTheClientSize) {
    struct Case {
        const char* name;
        int clientWidth, clientHeight, cdWidth;
        UINT dpi;
        FormLayout want;
    };
    const Case cases[] = {
        // The designed client: nothing moves.
        {"designed", 657, 137, 257, 96, {7, 400, 104, 400, 377, 104, {400, 464, 528, 592}}},
        // Wider: only the device list grows; the CD list and volume buttons follow the right edge.
        {"wider", 857, 137, 257, 96, {7, 600, 104, 600, 577, 104, {600, 664, 728, 792}}},
        // Taller: the lists grow, all buttons follow the bottom.
        {"taller", 657, 237, 257, 96, {7, 400, 204, 400, 377, 204, {400, 464, 528, 592}}},
        // 150 %: the button height, margins and offsets scale.
        {"150 percent", 986, 206, 386, 144, {7, 600, 156, 600, 565, 156, {600, 696, 792, 888}}},
        // Minimised (0 x 0): the CD list moves, its height would be negative, the rest waits.
        {"minimised", 0, 0, 257, 96, {1, -257, 0, 0, 0, 0, {}}},
        // Narrower than the CD list: the device list can't take a negative width.
        {"too narrow", 200, 137, 257, 96, {2, -57, 104, 0, 0, 0, {}}},
        // Device list narrower than its column margin.
        {"column", 270, 137, 257, 96, {3, 13, 104, 13, 0, 0, {}}},
    };
    for (const auto& c : cases) {
        const FormLayout got = ComputeFormLayout(c.clientWidth, c.clientHeight, c.cdWidth, c.dpi);
        EXPECT_EQ(got.steps, c.want.steps) << c.name;
        EXPECT_EQ(got.cdLeft, c.want.cdLeft) << c.name;
        if (got.steps >= 2) {
            EXPECT_EQ(got.listHeight, c.want.listHeight) << c.name;
        }
        if (got.steps >= 3) {
            EXPECT_EQ(got.deviceWidth, c.want.deviceWidth) << c.name;
        }
        if (got.steps >= 4) {
            EXPECT_EQ(got.deviceColumnWidth, c.want.deviceColumnWidth) << c.name;
        }
        if (got.steps >= 6) {
            EXPECT_EQ(got.buttonTop, c.want.buttonTop) << c.name;
        }
        if (got.steps >= 7) {
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(got.volumeLeft[i], c.want.volumeLeft[i]) << c.name << " " << i;
        }
    }
}

TEST(FormLayout_Compute, TooSmallThenNormalLaysOutAgainFromScratch) {
    ASSERT_LT(ComputeFormLayout(0, 0, 257, 96).steps, kLayoutSteps);
    const FormLayout again = ComputeFormLayout(657, 137, 257, 96);
    EXPECT_EQ(again.steps, kLayoutSteps);
    EXPECT_EQ(again.cdLeft, 400);
    EXPECT_EQ(again.buttonTop, 104);
}

TEST(FormLayout_CursorPlacement, CentresOnCursorInsideThePrimaryScreen) {
    // 1024 x 768 pixels at 15 twips per pixel; the default window 9975 x 2865 twips.
    const int screenW = 1024 * 15, screenH = 768 * 15;
    struct Case {
        const char* name;
        POINT cursor;
        POINT want;
    };
    const Case cases[] = {
        {"middle", {512, 384}, {7680 - 4987, 5760 - 1432}},
        {"bottom right corner", {1020, 765}, {screenW - 9975, screenH - 2865}},
        {"top left corner", {3, 2}, {0, 0}},
        {"monitor left of the primary", {-800, 300}, {0, 4500 - 1432}},
    };
    for (const auto& c : cases) {
        const POINT at = CursorPlacement(c.cursor, 9975, 2865, screenW, screenH, 15.0);
        EXPECT_EQ(at.x, c.want.x) << c.name;
        EXPECT_EQ(at.y, c.want.y) << c.name;
    }
}

TEST(FormLayout_CenterPlacement, HalfScreenMinusHalfWindow) {
    const POINT at = CenterPlacement(9975, 2865, 15360, 9000);
    EXPECT_EQ(at.x, 2693); // 7680 - 4987.5, rounded
    EXPECT_EQ(at.y, 3068);
}

} // namespace
} // namespace tavimo

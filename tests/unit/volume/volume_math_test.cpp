#include "volume/volume_math.h"

#include <gtest/gtest.h>

#include <optional>

namespace tavimo {
namespace {

TEST(VolumeMath_MixerPercent, RoundsHalfToEvenAndNeverDividesByZero) {
    struct Case {
        LONG value;
        LONG maximum;
        int percent;
    };
    const Case cases[] = {
        {25, 200, 12},                                            // 12.5: down to even
        {75, 200, 38},                                            // 37.5: up to even
        {1, 200, 0},                                              // 0.5
        {3, 200, 2},                                              // 1.5
        {0, 65535, 0},   {65535, 65535, 100}, {32767, 65535, 50}, // 49.9992
        {655, 65535, 1},                                          // 0.9995
        {100, 0, 0},                                              // a broken maximum reads as 0
        {100, -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MixerPercent(c.value, c.maximum), c.percent) << c.value << " of " << c.maximum;
    }
}

TEST(VolumeMath_MixerRawValue, TruncatesTowardsZero) {
    struct Case {
        int percent;
        LONG maximum;
        DWORD raw;
    };
    const Case cases[] = {
        {100, 65535, 65535}, // 100 % writes exactly the maximum
        {0, 65535, 0},
        {50, 65535, 32767}, // 32767.5 truncated
        {1, 65535, 655},
        {33, 200, 66},
        {100, 0x7FFFFFFF, 0x7FFFFFFF}, // no overflow with a large maximum
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MixerRawValue(c.percent, c.maximum), c.raw) << c.percent << " % of " << c.maximum;
    }
}

TEST(VolumeMath_Scalar, RoundsHalfToEvenBothWays) {
    struct Case {
        float scalar;
        int percent;
    };
    const Case cases[] = {{0.125f, 12}, {0.375f, 38}, {0.0f, 0}, {1.0f, 100}, {0.5f, 50}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScalarPercent(c.scalar), c.percent) << c.scalar;
    }
    EXPECT_EQ(PercentScalar(0), 0.0f);
    EXPECT_EQ(PercentScalar(100), 1.0f);
}

// Whatever is set must show as the same number on the button afterwards.
TEST(VolumeMath_RoundTrip, EveryPercentReadsBackAsSet) {
    for (int percent = 0; percent <= 100; ++percent) {
        EXPECT_EQ(MixerPercent(static_cast<LONG>(MixerRawValue(percent, 65535)), 65535), percent);
        EXPECT_EQ(ScalarPercent(PercentScalar(percent)), percent);
    }
}

TEST(VolumeMath_WheelLevel, MovesOnePointAndStopsAtTheBounds) {
    struct Case {
        int level;
        bool raise;
        std::optional<int> next;
    };
    const Case cases[] = {
        {50, true, 51},           {50, false, 49}, {100, true, std::nullopt},
        {0, false, std::nullopt}, {0, true, 1},    {100, false, 99},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WheelLevel(c.level, c.raise), c.next) << c.level << (c.raise ? " up" : " down");
    }
}

} // namespace
} // namespace tavimo

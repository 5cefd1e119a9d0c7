#include "model/window_layout.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

TEST(HitTestRegion, LowerRegionWinsWhereTwoOverlap) {
    // (40, 170) lies in colour slot 1 (region 8) and in the column below it (region 28).
    EXPECT_EQ(HitTestRegion({40, 170}, 1), 8);
    EXPECT_EQ(HitTestRegion({40, 330}, 1), 28);
    // The palm-rest swatch is reachable only in the gap between columns 31 and 32.
    EXPECT_EQ(HitTestRegion({141, 330}, 1), 35);
    EXPECT_EQ(HitTestRegion({141, 170}, 1), 35);
    EXPECT_EQ(HitTestRegion({150, 330}, 1), 32);
}

TEST(HitTestRegion, RectanglesAreInclusive) {
    EXPECT_EQ(HitTestRegion({918, 591}, 1), 22);
    EXPECT_EQ(HitTestRegion({982, 617}, 1), 22);
    EXPECT_EQ(HitTestRegion({983, 617}, 1), -1);
}

TEST(HitTestRegion, ProfileSwitchesOnlyForCustomEffects) {
    EXPECT_EQ(HitTestRegion({35, 180}, 50), 8);
    EXPECT_EQ(HitTestRegion({35, 180}, 51), kKeymapSwitchRegion);
    EXPECT_EQ(HitTestRegion({135, 180}, 55), kDiySwitchRegion);
}

TEST(HitTestKey, WinAndFnOnlyInDiyMode) {
    const Point win{kKeyboardOrigin.x + 110, kKeyboardOrigin.y + 240};
    const Point fn{kKeyboardOrigin.x + 360, kKeyboardOrigin.y + 240};
    EXPECT_EQ(HitTestKey(win, false), -1);
    EXPECT_EQ(HitTestKey(fn, false), -1);
    EXPECT_EQ(HitTestKey(win, true), 96);
    EXPECT_EQ(HitTestKey(fn, true), 100);
}

TEST(HitTestKey, LargeEnterIsLShaped) {
    const auto at = [](int x, int y) {
        return Point{kKeyboardOrigin.x + x, kKeyboardOrigin.y + y};
    };
    EXPECT_EQ(HitTestKey(at(406, 160), false), 54);
    EXPECT_EQ(HitTestKey(at(409, 195), false), -1); // the notch left of the lower part
    EXPECT_EQ(HitTestKey(at(412, 195), false), 54);
    EXPECT_EQ(HitTestKey(at(1, 1), false), -1); // keys 17..19 have no rectangle
}

} // namespace
} // namespace orvo

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

// The window's region table and the pictures drawn on the regions, whole.
TEST(MainRegionTable, HoldsEveryRegionWithItsPictures) {
    struct Row {
        InclusiveRect hit;
        Point drawAt;
        std::u16string_view picture, altPicture;
    };
    const Row expected[] = {
        {{936, 5, 952, 20}, {936, 5}, u"button-help-normal.png", u"button-help-over.png"},
        {{957, 5, 973, 20}, {957, 5}, u"button-min-normal.png", u"button-min-over.png"},
        {{978, 5, 994, 20}, {978, 5}, u"button-close-normal.png", u"button-close-over.png"},
        {{31, 112, 253, 136}, {31, 112}, u"Light_Item.png", u""},
        {{218, 145, 234, 160}, {218, 145}, u"Direction-T-Enable.png", u"Direction-T-Disable.png"},
        {{190, 145, 206, 160}, {190, 145}, u"Direction-B-Enable.png", u"Direction-B-Disable.png"},
        {{140, 140, 156, 155}, {140, 140}, u"Direction-R-Enable.png", u"Direction-R-Disable.png"},
        {{165, 140, 181, 155}, {165, 140}, u"Direction-L-Enable.png", u"Direction-L-Disable.png"},
        {{32, 161, 55, 184}, {}, u"", u""},
        {{60, 161, 83, 184}, {}, u"", u""},
        {{88, 161, 111, 184}, {}, u"", u""},
        {{116, 161, 139, 184}, {}, u"", u""},
        {{144, 161, 167, 184}, {}, u"", u""},
        {{172, 161, 195, 184}, {}, u"", u""},
        {{200, 161, 223, 184}, {}, u"", u""},
        {{228, 161, 251, 184}, {228, 161}, u"8.png", u""},
        {{110, 568, 130, 588}, {110, 568}, u"Enable.png", u"Disable.png"},
        {{248, 568, 268, 588}, {248, 568}, u"Enable.png", u"Disable.png"},
        {{23, 597, 97, 628}, {23, 597}, u"Config.png", u""},
        {{107, 597, 181, 628}, {107, 597}, u"MacroButton3.png", u""},
        {{771, 591, 835, 617}, {771, 591}, u"button-default-normal.png", u""},
        {{846, 591, 903, 621}, {846, 591}, u"button-cancel-normal.png", u""},
        {{918, 591, 982, 617}, {918, 591}, u"button-save-normal.png", u""},
        {{31, 296, 253, 320}, {31, 296}, u"Light_Item.png", u""},
        {{0, 0, 0, 0}, {}, u"", u""},
        {{0, 0, 0, 0}, {}, u"", u""},
        {{0, 0, 0, 0}, {}, u"", u""},
        {{0, 0, 0, 0}, {}, u"", u""},
        {{32, 161, 55, 349}, {}, u"", u""},
        {{60, 161, 83, 349}, {}, u"", u""},
        {{88, 161, 111, 349}, {}, u"", u""},
        {{116, 161, 139, 349}, {}, u"", u""},
        {{144, 161, 167, 349}, {}, u"", u""},
        {{172, 161, 195, 349}, {}, u"", u""},
        {{200, 161, 223, 349}, {}, u"", u""},
        {{130, 161, 153, 349}, {130, 326}, u"8.png", u""},
        // The Keymap and DIY switches of a custom profile.
        {{28, 175, 42, 189}, {28, 174}, u"Enable.png", u"Disable.png"},
        {{130, 175, 144, 189}, {130, 174}, u"Enable.png", u"Disable.png"},
    };
    ASSERT_EQ(std::size(expected), kMainRegionCount + 2);
    for (int region = 0; region < static_cast<int>(std::size(expected)); ++region) {
        const RegionPlace& place = RegionPlaceOf(static_cast<MainRegion>(region));
        const Row& row = expected[region];
        const auto same = [](const InclusiveRect& a, const InclusiveRect& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        EXPECT_TRUE(same(place.hit, row.hit)) << region;
        EXPECT_EQ(place.drawAt, row.drawAt) << region;
        EXPECT_TRUE(place.picture == row.picture) << region;
        EXPECT_TRUE(place.altPicture == row.altPicture) << region;
    }
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

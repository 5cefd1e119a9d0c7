#include "model/macro_buttons.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

// The macro manager's eight clickable areas with their pictures, whole.
TEST(MacroButtonTable, HoldsEveryRowWithItsPictures) {
    struct Row {
        InclusiveRect rect;
        std::u16string_view normal, lit, third;
    };
    const Row expected[] = {
        {{290, 100, 379, 124}, u"Record-normal.png", u"Record-over.png", u"Record-leave.png"},
        {{368, 168, 382, 182}, u"Pane.png", u"PaneMakingTick.png", u""},
        {{295, 300, 309, 314}, u"Pane.png", u"PaneMakingTick.png", u""},
        {{20, 368, 77, 392},
         u"button-new-normal.png",
         u"button-new-over.png",
         u"button-new-leave.png"},
        {{80, 368, 137, 392},
         u"button-new-normal.png",
         u"button-new-over.png",
         u"button-new-leave.png"},
        {{250, 368, 307, 392},
         u"button-new-normal.png",
         u"button-new-over.png",
         u"button-new-leave.png"},
        {{310, 368, 367, 392},
         u"button-new-normal.png",
         u"button-new-over.png",
         u"button-new-leave.png"},
        {{370, 8, 377, 15}, u"", u"", u""},
    };
    ASSERT_EQ(std::size(expected), kMacroButtonTable.size());
    for (std::size_t i = 0; i < kMacroButtonTable.size(); ++i) {
        const MacroButtonRow& row = kMacroButtonTable[i];
        const Row& want = expected[i];
        EXPECT_EQ(row.rect.left, want.rect.left) << i;
        EXPECT_EQ(row.rect.top, want.rect.top) << i;
        EXPECT_EQ(row.rect.right, want.rect.right) << i;
        EXPECT_EQ(row.rect.bottom, want.rect.bottom) << i;
        EXPECT_EQ(row.pictures[0], want.normal) << i;
        EXPECT_EQ(row.pictures[1], want.lit) << i;
        EXPECT_EQ(row.pictures[2], want.third) << i;
    }
}

TEST(MacroButtonTable, HitTestTakesBothEdgesAndLightsOnlyButtons) {
    const struct {
        Point at;
        int hit;
    } hits[] = {
        {{290, 100}, 0},  {{379, 124}, 0},  {{380, 124}, -1}, {{368, 168}, 1}, {{382, 182}, 1},
        {{309, 314}, 2},  {{20, 392}, 3},   {{78, 380}, -1},  {{137, 368}, 4}, {{250, 368}, 5},
        {{367, 392}, 6},  {{370, 8}, 7},    {{377, 15}, 7},   {{378, 15}, -1}, {{200, 200}, -1},
        {{289, 100}, -1}, {{310, 393}, -1},
    };
    for (const auto& row : hits)
        EXPECT_EQ(HitTestMacroButton(row.at), row.hit) << row.at.x << "," << row.at.y;

    // (lit before, row hit) -> lit after: tick boxes and the close box keep the light.
    const struct {
        int lit, hit, after;
    } light[] = {
        {-1, 0, 0},   {0, 3, 3}, {3, 4, 4}, {4, 5, 5}, {5, 6, 6},   {6, -1, -1},
        {-1, -1, -1}, {3, 1, 3}, {3, 2, 3}, {6, 7, 6}, {-1, 7, -1},
    };
    for (const auto& row : light)
        EXPECT_EQ(LitMacroButtonAfter(row.lit, row.hit), row.after) << row.lit << "->" << row.hit;
}

} // namespace
} // namespace orvo

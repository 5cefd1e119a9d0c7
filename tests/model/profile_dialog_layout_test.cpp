#include "model/profile_dialog_layout.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

// Every point of the profile manager (and a margin around it) against the three spots a
// left click acts on, edges included.
TEST(HitTestProfileDialog, EachSpotIsItsRectangleWithItsEdges) {
    struct Spot {
        InclusiveRect rect;
        ProfileDialogSpot spot;
    };
    const Spot spots[] = {
        {{33, 566, 61, 577}, ProfileDialogSpot::New},
        {{195, 566, 235, 577}, ProfileDialogSpot::Delete},
        {{248, 11, 262, 24}, ProfileDialogSpot::Close},
    };
    for (int y = -2; y < 600; ++y) {
        for (int x = -2; x < 275; ++x) {
            ProfileDialogSpot expected = ProfileDialogSpot::None;
            for (const Spot& s : spots)
                if (s.rect.contains({x, y}))
                    expected = s.spot;
            ASSERT_EQ(HitTestProfileDialog({x, y}), expected) << x << "," << y;
        }
    }
}

} // namespace
} // namespace orvo

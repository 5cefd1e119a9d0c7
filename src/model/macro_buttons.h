#pragma once
// The macro manager's clickable areas: the record button, the two tick boxes, the four
// buttons along the bottom and the close box, with their pictures ("png/MacroManagement/"),
// the hit test over them, and which button the pointer lights up. The dialog draws and
// dispatches from this table; the skin generator draws the pictures to its sizes.

#include <array>
#include <cstddef>
#include <string_view>

#include "model/window_layout.h"

namespace orvo {

// Rows of the table, in hit-test order.
enum MacroButton : int {
    kMacroRecordButton = 0,
    kMacroDelayBox = 1, // "Retrasar / Entre / Teclas": delay between keys
    kMacroLoopBox = 2,  // "Loop": repeat count in use
    kMacroNewButton = 3,
    kMacroDeleteButton = 4,
    kMacroOkButton = 5,
    kMacroCancelButton = 6,
    kMacroCloseBox = 7, // drawn by the background picture
};
inline constexpr int kNoMacroButton = -1;

struct MacroButtonRow {
    InclusiveRect rect;
    // Normal and lit pictures (for a tick box: clear and ticked), then a third that no state
    // shows. Empty names are not drawn.
    std::array<std::u16string_view, 3> pictures;
};

inline constexpr std::array<std::u16string_view, 3> kMacroButtonPictures{
    u"button-new-normal.png", u"button-new-over.png", u"button-new-leave.png"};
inline constexpr std::array<std::u16string_view, 3> kMacroTickBoxPictures{
    u"Pane.png", u"PaneMakingTick.png", u""};

inline constexpr std::array<MacroButtonRow, 8> kMacroButtonTable{{
    {{290, 100, 379, 124}, {u"Record-normal.png", u"Record-over.png", u"Record-leave.png"}},
    {{368, 168, 382, 182}, kMacroTickBoxPictures},
    {{295, 300, 309, 314}, kMacroTickBoxPictures},
    {{20, 368, 77, 392}, kMacroButtonPictures},
    {{80, 368, 137, 392}, kMacroButtonPictures},
    {{250, 368, 307, 392}, kMacroButtonPictures},
    {{310, 368, 367, 392}, kMacroButtonPictures},
    {{370, 8, 377, 15}, {}},
}};

// The first row whose rectangle holds the point, or kNoMacroButton.
int HitTestMacroButton(Point p);

// The button lit after the pointer moved onto `hit` (a row or kNoMacroButton) while `lit` was
// lit: the record button and the four bottom buttons light up, leaving every spot clears
// them, and the tick boxes and the close box leave the light where it was.
int LitMacroButtonAfter(int lit, int hit);

} // namespace orvo

#include "model/macro_buttons.h"

namespace orvo {

int HitTestMacroButton(Point p) {
    for (std::size_t row = 0; row < kMacroButtonTable.size(); ++row) {
        if (kMacroButtonTable[row].rect.contains(p))
            return static_cast<int>(row);
    }
    return kNoMacroButton;
}

int LitMacroButtonAfter(int lit, int hit) {
    switch (hit) {
    case kNoMacroButton:
        return kNoMacroButton;
    case kMacroRecordButton:
    case kMacroNewButton:
    case kMacroDeleteButton:
    case kMacroOkButton:
    case kMacroCancelButton:
        return hit;
    default:
        return lit;
    }
}

} // namespace orvo

#pragma once
// Geometry of the key assignment dialog that is not about pixels: its clickable buttons, the
// four rows of the "Avanzado" page with their hit areas and pickers, and the hit tests over
// them. Points are client pixels; rectangles contain their edges.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/key_actions.h"
#include "model/window_layout.h"

namespace orvo {

enum class KeyMapButton : int {
    Close = 0, // the caption's close button: ends like "Cerrar" without clearing
    PageKeys = 1,
    PageMacro = 2,
    PageBasic = 3,
    PageAdvanced = 4,
    PageStrip = 5, // the strip under the page texts; no action
    Disable = 6,   // "Deshabilitar Tecla"
    Reset = 7,     // "Resetear"
    Cancel = 8,    // "Cerrar"
    Save = 9,      // "Guardar"
};

struct KeyMapButtonInfo {
    InclusiveRect rect;
    std::u16string_view normalImage;
    std::u16string_view overImage; // empty where the button has none
};

inline constexpr std::size_t kKeyMapButtonCount = 10;
extern const std::array<KeyMapButtonInfo, kKeyMapButtonCount> KeyMapButtonTable;

// The check box is tested first, over its rectangle widened by this on every side.
inline constexpr int kDisableHitMargin = 5;

// The button under a point (check box first, then the table in order), or -1.
int HitTestKeyMapButton(Point p);

// Pointer-over flags: only the button under the pointer shows its over image; the check box
// never does.
struct KeyMapHover {
    int button = -1;
    std::array<bool, kKeyMapButtonCount> over{};
};
// Moves the pointer onto `button` (-1 for none); true when the button under it changed.
bool UpdateKeyMapHover(KeyMapHover& hover, int button);

// ---- "Avanzado" page -------------------------------------------------------------------

inline constexpr std::size_t kAdvancedRowCount = 4;
inline constexpr int kAdvancedFirstRowTop = 79;
inline constexpr int kAdvancedRowPitch = 40;
constexpr int AdvancedRowTop(std::size_t row) {
    return kAdvancedFirstRowTop + kAdvancedRowPitch * static_cast<int>(row);
}

enum class AdvancedArea { None, Icon, Label, PathField, Browse };

// Areas of one row relative to its top, in hit-test order; the label covers the path field,
// so a click there counts as one on the label.
struct AdvancedAreaInfo {
    AdvancedArea area;
    InclusiveRect rect; // top and bottom relative to the row top
};
extern const std::array<AdvancedAreaInfo, 4> AdvancedRowAreas;

struct AdvancedHit {
    int row = -1;
    AdvancedArea area = AdvancedArea::None;
    friend bool operator==(const AdvancedHit&, const AdvancedHit&) = default;
};
// Rows in order, and within a row the areas in order; the first hit wins.
AdvancedHit HitTestAdvancedRows(Point p);

enum class PickerKind { File, Folder };

struct AdvancedRowInfo {
    std::u16string_view label; // as drawn
    AssignmentKind kind;
    PickerKind picker;
    // File pickers: default extension, initial file name, filter description and pattern.
    std::u16string_view defaultExtension;
    std::u16string_view initialName;
    std::u16string_view filterDescription;
    std::u16string_view filterPattern;
};
extern const std::array<AdvancedRowInfo, kAdvancedRowCount> AdvancedRowTable;

// Title of the folder picker of the last row.
inline constexpr std::u16string_view kFolderPickerTitle = u"modification path";

} // namespace orvo

#pragma once
// Where the key assignment dialog draws its texts and pictures: each text's place, height
// (the font's cell) and the first column it must not reach, and the places of the pictures
// and controls. Client pixels.

#include "model/key_map_layout.h"
#include "model/window_layout.h"

#include <QColor>
#include <QRect>
#include <QStringView>

#include <array>
#include <string_view>

namespace orvo {

// A text and where it goes.
struct KeyMapText {
    std::u16string_view text;
    Point at;
    int height;
    int rightLimit; // the next text, control or edge
};

inline constexpr QStringView kKeyMapImageFolder = u"Custom/";
inline constexpr QStringView kKeyMapBackgroundImage = u"Custom/Custom_BK.png";

// "Selected key:" and the key's name; the close button ends the room.
inline constexpr Point kCaptionAt{5, 5};
inline constexpr int kCaptionHeight = 18;
inline constexpr int kCaptionRightLimit = 302;

inline constexpr PlacedPicture kSubPanelPicture{u"MAIN_SUB_BK.png", {2, 34}};

// The page texts, in page order, and the line under the current page's text.
inline constexpr QColor kCurrentPageColour{6, 167, 226};
inline constexpr QColor kOtherPageColour{192, 192, 192};
struct PageTab {
    KeyMapText text;
    int underlineLength;
};
inline constexpr int kPageUnderlineY = 53;
inline constexpr std::array<PageTab, 4> kPageTabs{{
    {{u"Unica/Combinar", {2, 32}, 14, 130}, 90},
    {{u"Macro", {130, 32}, 14, 210}, 50},
    {{u"Basic", {210, 32}, 14, 265}, 50},
    {{u"Avanzado", {265, 32}, 14, 334}, 60},
}};

// Page "Unica/Combinar": the edits' frames and labels.
inline constexpr std::array<PlacedPicture, 2> kEditFrames{{
    {u"Edit_BK.png", {15, 82}},
    {u"Edit_BK.png", {15, 133}},
}};
inline constexpr std::array<KeyMapText, 2> kKeysPageLabels{{
    {u"Unica", {15, 66}, 14, 312},
    {u"Combinar", {15, 118}, 14, 312},
}};
inline constexpr QColor kKeysPageLabelColour{255, 255, 255};
// Pages "Macro" and "Basic": the frame of the list and of the tree.
inline constexpr PlacedPicture kListFrame{u"Macro_Edit_BK.png", {15, 66}};

// The controls.
inline constexpr QRect kFunctionTreeRect{16, 67, 295, 161};
inline constexpr QRect kSingleKeyEditRect{16, 83, 295, 15};
inline constexpr QRect kCombinationEditRect{16, 134, 295, 15};
inline constexpr QRect kKeyMapMacroListRect{16, 67, 295, 161};
// The controls' own texts: the cell of the dialog font they use.
inline constexpr int kControlTextHeight = 13;

// Page "Avanzado", per row at its top t: the row icon, the label, the path field with the
// chosen path, and the browse picture.
inline constexpr QColor kAdvancedTextColour{6, 167, 226};
inline constexpr Point kRowIconAt{3, 6};
inline constexpr Point kRowLabelAt{15, 2};
inline constexpr int kRowTextHeight = 14;
inline constexpr int kRowLabelRightLimit = 83; // the path field
inline constexpr Point kRowFieldAt{83, 0};
inline constexpr Point kRowPathAt{85, 0};
inline constexpr int kRowPathRightLimit = 246; // the path field's right edge
inline constexpr Point kRowBrowseAt{265, 0};
inline constexpr std::u16string_view kRowIconImage = u"disable.png";
inline constexpr std::u16string_view kRowMarkImage = u"enable.png";
inline constexpr std::u16string_view kRowUnmarkedImage = u"Disable.png";
inline constexpr std::u16string_view kRowFieldImage = u"Advanced.png";
inline constexpr std::u16string_view kRowBrowseImage = u"view.png";

// "Deshabilitar Tecla" beside its check box.
inline constexpr KeyMapText kDisableLabel{u"Deshabilitar Tecla", {34, 249}, 14, 156};
inline constexpr std::u16string_view kDisableUncheckedImage = u"Disable.png";
inline constexpr std::u16string_view kDisableCheckedImage = u"Enable.png";

// The footer buttons' labels, white.
inline constexpr std::array<KeyMapText, 3> kFooterLabels{{
    {u"Resetear", {157, 250}, 13, 198},
    {u"Cerrar", {216, 250}, 13, 252},
    {u"Guardar", {267, 250}, 13, 306},
}};

} // namespace orvo

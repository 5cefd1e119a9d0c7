#pragma once
// Every picture of the skin, by folder (relative to the image folder "png/"), file name and
// size. The generator must write exactly these; the tests check the built skin against it.

#include "controls/skin_resources.h"
#include "model/window_layout.h"

#include <QStringView>

#include <array>

namespace orvo::skin {

inline constexpr QStringView kMainFolder = u"";
inline constexpr QStringView kKeymapFolder = u"Custom/";
inline constexpr QStringView kMacroFolder = u"MacroManagement/";
inline constexpr QStringView kProfileFolder = u"Config/";

// Sizes that several pictures share: a dialog's background and its window shape, the
// keyboard picture and its highlighted copy.
inline constexpr QSize kMainWindowSize{1000, 640};
inline constexpr QSize kKeyboardPictureSize{640, 270};
inline constexpr QSize kLeftPanelSize{kLeftPanelArea.width() + 1, kLeftPanelArea.height() + 1};
inline constexpr QSize kKeymapDialogSize{336, 276};
inline constexpr QSize kMacroDialogSize{390, 402};
inline constexpr QSize kProfileDialogSize{265, 590};
inline constexpr QSize kColourDialogSize{340, 210};

struct SkinImage {
    QStringView folder;
    QStringView name;
    int width = 0;
    int height = 0;
};

// clang-format off
inline constexpr std::array kSkinCatalogue{
    // Main window.
    SkinImage{kMainFolder, u"main.png", kMainWindowSize.width(), kMainWindowSize.height()},
    SkinImage{kMainFolder, u"logo.png", 260, 56},
    SkinImage{kMainFolder, u"logo1.png", 84, 44},
    SkinImage{kMainFolder, u"button-help-normal.png", 17, 16},
    SkinImage{kMainFolder, u"button-help-over.png", 17, 16},
    SkinImage{kMainFolder, u"button-min-normal.png", 17, 16},
    SkinImage{kMainFolder, u"button-min-over.png", 17, 16},
    SkinImage{kMainFolder, u"button-close-normal.png", 17, 16},
    SkinImage{kMainFolder, u"button-close-over.png", 17, 16},
    SkinImage{kMainFolder, u"kb_BK.png", kKeyboardPictureSize.width(), kKeyboardPictureSize.height()},
    SkinImage{kMainFolder, u"kb_bk.png", kKeyboardPictureSize.width(), kKeyboardPictureSize.height()},
    SkinImage{kMainFolder, u"kb_hl.png", kKeyboardPictureSize.width(), kKeyboardPictureSize.height()},
    SkinImage{kMainFolder, u"button-default-normal.png", 65, 27},
    SkinImage{kMainFolder, u"button-cancel-normal.png", 58, 31},
    SkinImage{kMainFolder, u"button-save-normal.png", 65, 27},
    SkinImage{kMainFolder, u"Config.png", 75, 32},
    SkinImage{kMainFolder, u"MacroButton3.png", 75, 32},
    SkinImage{kMainFolder, u"HelpWindow.png", 167, 78},
    // Lighting panel and performance block.
    SkinImage{kMainFolder, u"Left_BK.png", kLeftPanelSize.width(), kLeftPanelSize.height()},
    SkinImage{kMainFolder, u"Light_Item.png", 223, 25},
    SkinImage{kMainFolder, u"8.png", 24, 24},
    SkinImage{kMainFolder, u"Direction-L-Enable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-L-Disable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-R-Enable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-R-Disable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-T-Enable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-T-Disable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-B-Enable.png", 17, 16},
    SkinImage{kMainFolder, u"Direction-B-Disable.png", 17, 16},
    SkinImage{kMainFolder, u"Enable.png", 20, 20},
    SkinImage{kMainFolder, u"enable.png", 20, 20},
    SkinImage{kMainFolder, u"Disable.png", 20, 20},
    SkinImage{kMainFolder, u"disable.png", 20, 20},
    SkinImage{kMainFolder, u"Thumb.png", 15, 14},
    SkinImage{kMainFolder, u"responsetime_txt.png", 225, 16},
    SkinImage{kMainFolder, u"reportRate_txt.png", 231, 28},
    // Pictures that stand in for bitmap resources (names in controls/skin_resources.h).
    SkinImage{kMainFolder, kTrackEmptyImage, kTrackSize.width(), kTrackSize.height()},
    SkinImage{kMainFolder, kTrackFilledImage, kTrackSize.width(), kTrackSize.height()},
    SkinImage{kMainFolder, kThumbStripImage, kThumbStripFrames * kThumbFrameSize.width(), kThumbFrameSize.height()},
    SkinImage{kMainFolder, kKeymapShapeImage, kKeymapDialogSize.width(), kKeymapDialogSize.height()},
    SkinImage{kMainFolder, kMacroShapeImage, kMacroDialogSize.width(), kMacroDialogSize.height()},
    SkinImage{kMainFolder, kPressIconImage, kListIconSize.width(), kListIconSize.height()},
    SkinImage{kMainFolder, kDelayIconImage, kListIconSize.width(), kListIconSize.height()},
    SkinImage{kMainFolder, kReleaseIconImage, kListIconSize.width(), kListIconSize.height()},
    SkinImage{kMainFolder, kListBackgroundImage, kListBackgroundSize.width(), kListBackgroundSize.height()},
    SkinImage{kMainFolder, kProfileIconImage, kListIconSize.width(), kListIconSize.height()},
    SkinImage{kMainFolder, kProfileSelectedIconImage, kListIconSize.width(), kListIconSize.height()},
    SkinImage{kMainFolder, kTreeCollapsedImage, kTreeGlyphSize.width(), kTreeGlyphSize.height()},
    SkinImage{kMainFolder, kTreeExpandedImage, kTreeGlyphSize.width(), kTreeGlyphSize.height()},
    SkinImage{kMainFolder, kAppIconImage, kAppIconSize.width(), kAppIconSize.height()},
    // Colour dialog.
    SkinImage{kMainFolder, u"Color_BK.png", kColourDialogSize.width(), kColourDialogSize.height()},
    // Key assignment dialog and action editor.
    SkinImage{kKeymapFolder, u"Custom_BK.png", kKeymapDialogSize.width(), kKeymapDialogSize.height()},
    SkinImage{kKeymapFolder, u"MAIN_SUB_BK.png", 332, 206},
    SkinImage{kKeymapFolder, u"button-close-normal.png", 19, 19},
    SkinImage{kKeymapFolder, u"button-close-over.png", 19, 19},
    SkinImage{kKeymapFolder, u"large_button.png", 95, 28},
    SkinImage{kKeymapFolder, u"single_combine_option.png", 326, 7},
    SkinImage{kKeymapFolder, u"Disable.png", 11, 10},
    SkinImage{kKeymapFolder, u"disable.png", 11, 10},
    SkinImage{kKeymapFolder, u"Enable.png", 11, 10},
    SkinImage{kKeymapFolder, u"enable.png", 11, 10},
    SkinImage{kKeymapFolder, u"button-cancel-normal.png", 42, 23},
    SkinImage{kKeymapFolder, u"button-cancel-over.png", 42, 23},
    SkinImage{kKeymapFolder, u"button-save-normal.png", 42, 23},
    SkinImage{kKeymapFolder, u"button-save-over.png", 42, 23},
    SkinImage{kKeymapFolder, u"Edit_BK.png", 297, 17},
    SkinImage{kKeymapFolder, u"Macro_Edit_BK.png", 297, 163},
    SkinImage{kKeymapFolder, u"Advanced.png", 163, 18},
    SkinImage{kKeymapFolder, u"view.png", 61, 26},
    // Macro manager.
    SkinImage{kMacroFolder, u"MacroManagement.png", kMacroDialogSize.width(), kMacroDialogSize.height()},
    SkinImage{kMacroFolder, u"Record-normal.png", 90, 25},
    SkinImage{kMacroFolder, u"Record-over.png", 90, 25},
    SkinImage{kMacroFolder, u"Record-leave.png", 90, 25},
    SkinImage{kMacroFolder, u"Pane.png", 15, 15},
    SkinImage{kMacroFolder, u"PaneMakingTick.png", 15, 15},
    SkinImage{kMacroFolder, u"button-new-normal.png", 58, 25},
    SkinImage{kMacroFolder, u"button-new-over.png", 58, 25},
    SkinImage{kMacroFolder, u"button-new-leave.png", 58, 25},
    // Profile manager.
    SkinImage{kProfileFolder, u"Profile_BK.png", kProfileDialogSize.width(), kProfileDialogSize.height()},
    SkinImage{kProfileFolder, u"button-close-normal.png", 15, 14},
};
// clang-format on

} // namespace orvo::skin

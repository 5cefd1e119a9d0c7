#pragma once
// File names and sizes of the skin pictures that stand in for the program's bitmap
// resources. They live in the image folder ("png/") beside the other skin images, so the
// skin generator and the controls agree on one name per picture.

#include <QSize>
#include <QStringView>

namespace orvo {

// Slider track, empty part (grey bar) and filled part (blue bar): one frame each.
inline constexpr QStringView kTrackEmptyImage = u"track_empty.png";   // resource 139
inline constexpr QStringView kTrackFilledImage = u"track_filled.png"; // resource 140
inline constexpr QSize kTrackSize{221, 16};
inline constexpr unsigned kTrackEmptyColour = 0x363636;  // RGB(54, 54, 54)
inline constexpr unsigned kTrackFilledColour = 0x068FC2; // RGB(6, 143, 194)

// The thumb the main window draws at each slider's place.
inline constexpr QStringView kThumbImage = u"Thumb.png";

// The slider's thumb holder: frames of 15 x 14 side by side (normal, hover, pressed).
inline constexpr QStringView kThumbStripImage = u"thumb_strip.png"; // resource 141
inline constexpr QSize kThumbFrameSize{15, 14};
inline constexpr int kThumbStripFrames = 3;

// Window shapes: pure-white pixels are cut out of the dialog's window.
inline constexpr QStringView kKeymapShapeImage = u"keymap_shape.png"; // resource 155
inline constexpr QStringView kMacroShapeImage = u"macro_shape.png";   // resource 156

// Icons of the transparent list box.
inline constexpr QStringView kPressIconImage = u"icon_press.png";           // resource 131
inline constexpr QStringView kDelayIconImage = u"icon_delay.png";           // resource 137
inline constexpr QStringView kReleaseIconImage = u"icon_release.png";       // resource 138
inline constexpr QStringView kListBackgroundImage = u"list_background.png"; // resource 145
inline constexpr QStringView kProfileIconImage = u"icon_profile.png";       // resource 160
inline constexpr QStringView kProfileSelectedIconImage = u"icon_profile_selected.png"; // 161
inline constexpr QSize kListIconSize{16, 16};
// The list's background is copied from this point of the background picture.
inline constexpr QSize kListBackgroundSize{120, 280};

// Glyphs of the function tree (the tree's background bitmap is resource 131 as well).
inline constexpr QStringView kTreeCollapsedImage = u"tree_collapsed.png"; // resource 133
inline constexpr QStringView kTreeExpandedImage = u"tree_expanded.png";   // resource 134
inline constexpr QSize kTreeGlyphSize{9, 9};

// The application icon: window, tray and function tree.
inline constexpr QStringView kAppIconImage = u"app_icon.png"; // resource 153
inline constexpr QSize kAppIconSize{16, 16};

} // namespace orvo

#pragma once
// The profile manager's window, as far as it is not about pixels: its pictures, the place and
// text style of its list, its two painted texts, and the spots a left click acts on. The
// dialog, its tests and the skin generator all take their places from here.

#include "model/colour_model.h"
#include "model/window_layout.h"

#include <array>
#include <string_view>

namespace orvo {

// Pictures, relative to the image folder.
inline constexpr std::u16string_view kProfileBackgroundPicture = u"Config/Profile_BK.png";
inline constexpr PlacedPicture kProfileCloseButton{u"Config/button-close-normal.png", {248, 11}};

// The list of profiles and how it draws its rows (a cell height, as every text height).
inline constexpr Point kProfileListAt{0, 31};
inline constexpr int kProfileListWidth = 260;
inline constexpr int kProfileListHeight = 528;
struct ListTextStyle {
    int height;
    std::u16string_view face;
    ColorRef text;
    ColorRef selectedText;
    bool shadow;
    ColorRef shadowColour;
    int shadowOffset;
};
inline constexpr ListTextStyle kProfileListStyle{
    15, u"Arial", MakeColorRef(255, 255, 255), MakeColorRef(0, 255, 255), true, 0, 2};

// The two commands painted below the list, and the light pill the skin draws behind each;
// a text stays inside its pill.
struct ProfileDialogText {
    std::u16string_view text;
    Point at; // top-left corner
    int height;
    InclusiveRect pill;
};
inline constexpr ProfileDialogText kNewProfileText{u"+Nuevo", {30, 565}, 16, {25, 562, 85, 582}};
inline constexpr ProfileDialogText kDeleteProfileText{
    u"-Borrar", {195, 565}, 16, {190, 562, 252, 582}};
inline constexpr ColorRef kProfileTextColour = MakeColorRef(53, 53, 53);

// What a left click on the window does.
enum class ProfileDialogSpot { None, New, Delete, Close };

struct ProfileDialogTarget {
    InclusiveRect rect;
    ProfileDialogSpot spot;
};
// In table order, first match wins. The hot spots of the texts are narrower than the texts.
inline constexpr std::array<ProfileDialogTarget, 3> kProfileDialogTargets{{
    {{33, 566, 61, 577}, ProfileDialogSpot::New},
    {{195, 566, 235, 577}, ProfileDialogSpot::Delete},
    {{248, 11, 262, 24}, ProfileDialogSpot::Close},
}};

constexpr ProfileDialogSpot HitTestProfileDialog(Point at) {
    for (const ProfileDialogTarget& target : kProfileDialogTargets)
        if (target.rect.contains(at))
            return target.spot;
    return ProfileDialogSpot::None;
}

} // namespace orvo

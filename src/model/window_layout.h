#pragma once
// The main window's layout, as far as it is not about pixels: its regions (where a click
// lands, where the region's picture is drawn and which pictures it has), the other pictures'
// places, the keys of the keyboard picture, and the hit tests over regions and keys. The
// window's hit-testing, its composer and the skin generator all take their places from here.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace orvo {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle that contains its four edges: left <= x <= right, top <= y <= bottom.
struct InclusiveRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr bool contains(Point p) const {
        return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
    }
    constexpr bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Point topLeft() const { return {left, top}; }
};

// A picture of the skin (a file of the image folder) and where its top-left corner goes.
struct PlacedPicture {
    std::u16string_view name;
    Point at;
};

// ---- Keys ---------------------------------------------------------------------------------

// The keyboard picture's top-left corner in the window; key rectangles are relative to it.
inline constexpr Point kKeyboardOrigin{291, 88};
// Added to a key's label position to get its window point.
inline constexpr Point kKeyLabelOffset{286, 83};

inline constexpr std::size_t kKeyCount = 121;
// Keys 0..112 are the keyboard's own keys; 113..120 ("L1".."L8") lie in a row above them and
// have no default code, no DIY colour and no band selection.
inline constexpr std::size_t kMainKeyCount = 113;
// Keys Keymap mode never hits (the lock switch stands for the Win key) and never shows as
// customised.
inline constexpr std::size_t kWinKeyIndex = 96;
inline constexpr std::size_t kFnKeyIndex = 100;

struct KeyPicture {
    std::string_view label; // drawn on the key in DIY mode
    InclusiveRect rect;     // relative to kKeyboardOrigin
    Point labelPos;         // add kKeyLabelOffset for the window point
};

extern const std::array<KeyPicture, kKeyCount> KeyPictureTable;

// The big Enter key (index 54) is L-shaped: these two parts replace its bounding rectangle
// in every fill, copy, frame and hit test.
inline constexpr std::size_t kLargeEnterKey = 54;
inline constexpr std::array<InclusiveRect, 2> kLargeEnterParts{InclusiveRect{405, 157, 438, 179},
                                                               InclusiveRect{410, 179, 438, 204}};

// The parts a key is drawn from, relative to the picture: one rectangle for most keys, two
// for the big Enter key, none for keys without a rectangle.
std::span<const InclusiveRect> KeyParts(std::size_t key);

// Key under the window point, or -1. In Keymap mode the Win and Fn keys cannot be hit.
int HitTestKey(Point window, bool diyMode);

// Keys a click or hover never acts on: the three indexes without a key and both Ctrl keys.
bool IsInertKey(int key);

// ---- Regions ------------------------------------------------------------------------------

// The regions of the main window, numbered as HitTestRegion reports them.
enum MainRegion : int {
    kNoRegion = -1,
    kHelpRegion = 0,
    kMinimiseRegion = 1,
    kCloseRegion = 2,
    kEffectSelectorRegion = 3,
    kDirectionTRegion = 4,
    kDirectionBRegion = 5,
    kDirectionRRegion = 6,
    kDirectionLRegion = 7,
    kFirstColourSlotRegion = 8, // colour slot n is region 7 + n
    kLastColourSlotRegion = 15,
    kGameModeRegion = 16,
    kWinLockRegion = 17,
    kProfilesRegion = 18,
    kMacrosRegion = 19,
    kDefaultRegion = 20, // no action
    kCancelRegion = 21,
    kSaveRegion = 22,
    kPalmSelectorRegion = 23,
    // 24..27 are empty, 28..34 unused columns below the slots.
    kPalmColourRegion = 35,
    kKeymapSwitchRegion = 36, // 36 and 37 only while a custom profile is shown
    kDiySwitchRegion = 37,
};

// A region: where a click hits it, where its picture goes and its pictures. `picture` is the
// normal, enabled or "on" one; `altPicture` the one under the pointer (title buttons) or the
// disabled or "off" one (arrows, switches). Regions drawn otherwise have no pictures.
struct RegionPlace {
    InclusiveRect hit;
    Point drawAt{};
    std::u16string_view picture{};
    std::u16string_view altPicture{};
};

// Regions 0..35, in the order HitTestRegion tries them.
inline constexpr std::size_t kMainRegionCount = 36;
extern const std::array<RegionPlace, kMainRegionCount> MainRegionTable;
// The Keymap and DIY switches, tried before the table while a custom profile is shown.
extern const RegionPlace kKeymapSwitchPlace;
extern const RegionPlace kDiySwitchPlace;

// Any region 0..37.
const RegionPlace& RegionPlaceOf(MainRegion region);

// Lowest region whose rectangle holds the window point, or -1. While the effect is a custom
// profile the Keymap and DIY switches are tested first.
int HitTestRegion(Point window, int lightingEffect);

// ---- The other places of the window -------------------------------------------------------

inline constexpr PlacedPicture kBackgroundPicture{u"main.png", {0, 0}};
// Drawn on every composition, in order, after the background.
inline constexpr std::array<PlacedPicture, 2> kLogoPictures{{
    {u"logo.png", {0, 0}},
    {u"logo1.png", {458, 0}},
}};
inline constexpr PlacedPicture kKeyboardPicture{u"kb_BK.png", kKeyboardOrigin};
// The keyboard picture with every key lit: highlighted keys are copied from it.
inline constexpr std::u16string_view kKeyHighlightPicture = u"kb_hl.png";
inline constexpr PlacedPicture kLeftPanelPicture{u"Left_BK.png", {17, 70}};
// The left panel's picture covers this area; its texts end before its right edge.
inline constexpr InclusiveRect kLeftPanelArea{17, 70, 272, 591};
// The effect and palm-rest selectors draw their drop-down arrow from this column on; the
// effect name shown in a selector ends before it.
inline constexpr int kSelectorArrowLeft = 234;
// Scale pictures under the response-time and report-rate sliders.
inline constexpr PlacedPicture kResponseTimeScale{u"responsetime_txt.png", {32, 480}};
inline constexpr PlacedPicture kReportRateScale{u"reportRate_txt.png", {29, 532}};

// The help menu: its picture and its click area, items 25 pixels high.
inline constexpr PlacedPicture kHelpMenuPicture{u"HelpWindow.png", {830, 22}};
inline constexpr InclusiveRect kHelpMenuArea{830, 22, 996, 99};
inline constexpr int kHelpItemHeight = 25;
inline constexpr int kHelpItemFactoryReset = 0;
inline constexpr int kHelpItemUpdater = 1;

// The open drop-down lists: rows of 20 pixels inside these areas, filled up to x = 253.
inline constexpr InclusiveRect kEffectListArea{31, 136, 251, 455};
inline constexpr InclusiveRect kPalmListArea{31, 320, 251, 399};
inline constexpr int kListRowHeight = 20;
inline constexpr int kListRight = 253;

// Pressing here, away from every region, key and list, drags the window.
inline constexpr int kDragStripTop = 2;
inline constexpr int kDragStripBottom = 30;

} // namespace orvo

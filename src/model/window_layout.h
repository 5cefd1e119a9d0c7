#pragma once
// Geometry of the main window that is not about pixels: the clickable regions, the keys of
// the keyboard picture, and the hit tests over them. Shared by the window, the skin
// generator (which draws the keyboard picture from the same rectangles) and the tests.

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
};

// The keyboard picture's top-left corner in the window; key rectangles are relative to it.
inline constexpr Point kKeyboardOrigin{291, 88};
// Added to a key's label position to get its window point.
inline constexpr Point kKeyLabelOffset{286, 83};

inline constexpr std::size_t kKeyCount = 121;
inline constexpr std::size_t kMainRegionCount = 36;
inline constexpr int kKeymapSwitchRegion = 36; // only while a custom profile is shown
inline constexpr int kDiySwitchRegion = 37;

struct KeyPicture {
    std::string_view label; // drawn on the key in DIY mode
    InclusiveRect rect;     // relative to kKeyboardOrigin
    Point labelPos;         // add kKeyLabelOffset for the window point
};

extern const std::array<KeyPicture, kKeyCount> KeyPictureTable;
extern const std::array<InclusiveRect, kMainRegionCount> MainRegionTable;

// The big Enter key (index 54) is L-shaped: these two parts replace its bounding rectangle
// in every fill, copy, frame and hit test.
inline constexpr std::size_t kLargeEnterKey = 54;
inline constexpr std::array<InclusiveRect, 2> kLargeEnterParts{InclusiveRect{405, 157, 438, 179},
                                                               InclusiveRect{410, 179, 438, 204}};

// The parts a key is drawn from, relative to the picture: one rectangle for most keys, two
// for the big Enter key, none for keys without a rectangle.
std::span<const InclusiveRect> KeyParts(std::size_t key);

// Lowest region whose rectangle holds the window point, or -1. While the effect is a custom
// profile (51 or more) the Keymap and DIY switches (36, 37) are tested first.
int HitTestRegion(Point window, int lightingEffect);

// Key under the window point, or -1. In Keymap mode the Win (96) and Fn (100) keys cannot
// be hit.
int HitTestKey(Point window, bool diyMode);

} // namespace orvo

#pragma once
// Colour rules of the colour dialog and its spectrum control, kept free of Qt: Windows colour
// values, RGB <-> HSL on the 240 scale, the geometry of the spectrum and its luminosity bar,
// the keyboard table, the crosshair and arrow patterns, and palette hit-testing.

#include "model/colour_palette.h"
#include "model/window_layout.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// ---- Windows colour values: red in the low byte, then green, then blue -------------------

using ColorRef = std::uint32_t;
// "No colour": the control draws no bar and reports nothing while it holds this.
inline constexpr ColorRef kNoColour = 0xFFFFFFFFu;

constexpr ColorRef MakeColorRef(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) |
           (static_cast<ColorRef>(b) << 16);
}
constexpr ColorRef ToColorRef(Rgb c) {
    return MakeColorRef(c.r, c.g, c.b);
}
constexpr Rgb ToRgb(ColorRef c) {
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

// ---- HSL on the 240 scale ---------------------------------------------------------------

inline constexpr int kHueMax = 239;
inline constexpr int kSaturationMax = 240;
inline constexpr int kLuminosityMax = 240;

// Stored form: hue 0..239, saturation and luminosity 0..240.
struct Hsl {
    std::uint8_t hue = 0;
    std::uint8_t saturation = 0;
    std::uint8_t luminosity = 0;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};

// Unrounded values, each 0..240.
struct HslReal {
    double hue = 0;
    double saturation = 0;
    double luminosity = 0;
};

HslReal RgbToHslReal(Rgb c);
// Rounded (+ 0.5, truncated); a hue that rounds to 240 is kept as 239.
Hsl RgbToHsl(Rgb c);
// Components truncated, not rounded, so a round trip may lose one step.
Rgb HslToRgb(double hue, double saturation, double luminosity);
inline Rgb HslToRgb(Hsl c) {
    return HslToRgb(c.hue, c.saturation, c.luminosity);
}

// ---- Spectrum control geometry ------------------------------------------------------------

// A window-style rectangle: left/top inside, right/bottom just outside.
struct HalfOpenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr bool contains(Point p) const {
        return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
    }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

// The hue/saturation field starts 10 rows down and leaves 35 columns on the right for the
// luminosity bar and its arrow.
inline constexpr int kSpectrumTop = 10;
inline constexpr int kSpectrumBottomMargin = 10;
inline constexpr int kSpectrumRightMargin = 35;
inline constexpr int kBarLeftFromRight = 29;
inline constexpr int kBarMargin = 2;
inline constexpr int kBarStripeWidth = 14; // columns of the bar that carry colour
inline constexpr int kArrowAreaFromRight = 12;
inline constexpr int kArrowAreaWidth = 12;
inline constexpr Rgb kSpectrumBackground{151, 151, 151};

struct SpectrumGeometry {
    int width = 0;  // W: the control's width
    int height = 0; // H: the control's height

    constexpr HalfOpenRect spectrum() const {
        return {0, kSpectrumTop, width - kSpectrumRightMargin, height - kSpectrumBottomMargin};
    }
    constexpr HalfOpenRect bar() const {
        return {width - kBarLeftFromRight, kBarMargin, width - kBarMargin, height - kBarMargin};
    }
    // The control is too small to pick from; every position rule then answers 0.
    constexpr bool degenerate() const { return spectrum().width() < 2 || spectrum().height() < 2; }

    Point crosshairFor(int hue, int saturation) const;
    int arrowFor(int luminosity) const; // bar row offset 0..h - 1
    int arrowTopRow(int arrow) const;   // window row of the arrow's first row
    void hueSaturationAt(Point p, int& hue, int& saturation) const;
    int luminosityAt(int y) const;
    // Colour of the painted spectrum at column i (0..W - 36) and window row y, or the
    // background for points the pixel loop never reaches.
    Rgb spectrumPixel(int i, int y) const;
    // Colour of the bar's row y (kSpectrumTop..h + 9) for a hue and saturation.
    Rgb barPixel(double hue, double saturation, int y) const;
};

// ---- Keyboard ---------------------------------------------------------------------------

enum class SpectrumPart { None, Spectrum, Bar };
enum class SpectrumKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, BackTab };

// Ctrl gives the fine step, Shift the coarse one.
inline constexpr int kFineStep = 1;
inline constexpr int kCoarseStep = 10;
inline constexpr int kNormalStep = 5;
constexpr int KeyStep(bool ctrl, bool shift) {
    return ctrl ? kFineStep : shift ? kCoarseStep : kNormalStep;
}

struct SpectrumKeyResult {
    enum class Action {
        Nothing,         // the key does nothing in this part
        ValueChanged,    // hsl holds the new values; `part` was changed
        FocusToBar,      // the focus flag moves inside the control
        FocusToSpectrum, //
        NextControl,     // the dialog moves the focus on
        PreviousControl, //
    };
    Action action = Action::Nothing;
    Hsl hsl;
};

// What a key press does to the values of the part that has the focus flag; values clamp to
// their ranges. A press that clamps back to the same values reports Nothing.
SpectrumKeyResult ApplySpectrumKey(Hsl current, SpectrumPart focus, SpectrumKey key, int step);

// ---- Pixel patterns ---------------------------------------------------------------------

// '#' marks a set pixel. The crosshair's centre sits at row/column 9.
inline constexpr int kCrosshairSize = 19;
inline constexpr int kCrosshairCentre = 9;
inline constexpr std::array<std::string_view, kCrosshairSize> kCrosshairPattern{
    "........###........", "........###........", "........###........", "........###........",
    "........###........", "...................", "...................", "...................",
    "#####.........#####", "#####.........#####", "#####.........#####", "...................",
    "...................", "...................", "........###........", "........###........",
    "........###........", "........###........", "........###........",
};

// 'o' outline, 'f' fill. Points left with its tip at row 8, column 0.
inline constexpr int kArrowWidth = 10;
inline constexpr int kArrowHeight = 17;
inline constexpr int kArrowTipRow = 8;
inline constexpr std::array<std::string_view, kArrowHeight> kArrowPattern{
    "........o.", ".......oo.", "......ofo.", ".....offo.", "....offfo.", "...offffo.",
    "..offfffo.", ".offffffo.", "offfffffo.", ".offffffo.", "..offfffo.", "...offffo.",
    "....offfo.", ".....offo.", "......ofo.", ".......oo.", "........o.",
};

// ---- Tooltip ----------------------------------------------------------------------------

inline constexpr std::size_t kTooltipMaxChars = 80;
// Mode 2 "#RRGGBB", 3 "BBGGRR", 4 "HSL(h,s,l)", any other "RGB(r,g,b)".
std::string SpectrumTooltipText(int mode, Rgb pixel);

// ---- Palette ----------------------------------------------------------------------------

// Palette cell under a dialog point, first in index order, or -1.
int PaletteCellAt(Point p);
// First palette cell of exactly this colour, or -1 (white gives 47, not a cell of rows 6-7).
int FirstPaletteCellOf(ColorRef colour);

// The dialog's close box, tested after the palette.
inline constexpr InclusiveRect kColourDialogCloseBox{322, 8, 327, 14};

} // namespace orvo

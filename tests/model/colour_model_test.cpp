#include "model/colour_model.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvo {
namespace {

TEST(ColorRef, PacksRedInTheLowByte) {
    EXPECT_EQ(MakeColorRef(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(ToRgb(0x563412u), (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(ToRgb(kNoColour), (Rgb{255, 255, 255}));
}

TEST(RgbToHsl, KnownColours) {
    struct Row {
        Rgb in;
        Hsl out;
    };
    const Row rows[] = {
        {{0, 0, 0}, {0, 0, 0}},
        {{128, 128, 128}, {0, 0, 120}},   // grey: no hue, no saturation
        {{37, 37, 37}, {0, 0, 35}},       //
        {{255, 255, 255}, {0, 0, 240}},   // white: full luminosity
        {{255, 0, 0}, {0, 240, 120}},     //
        {{0, 255, 0}, {80, 240, 120}},    //
        {{0, 0, 255}, {160, 240, 120}},   //
        {{255, 0, 255}, {200, 240, 120}}, //
        {{255, 0, 1}, {239, 240, 120}},   // hue 239.9 rounds to 240, kept as 239
        {{128, 0, 0}, {0, 240, 60}},      //
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << int(row.in.r) << "," << int(row.in.g) << "," << int(row.in.b));
        EXPECT_EQ(RgbToHsl(row.in), row.out);
    }
}

TEST(HslToRgb, KnownColours) {
    struct Row {
        Hsl in;
        Rgb out;
    };
    const Row rows[] = {
        {{0, 0, 0}, {0, 0, 0}},           {{0, 0, 240}, {255, 255, 255}},
        {{0, 240, 120}, {255, 0, 0}},     {{80, 240, 120}, {0, 255, 0}},
        {{160, 240, 120}, {0, 0, 255}},   {{120, 240, 120}, {0, 255, 255}}, // float error kept off
        {{40, 240, 120}, {255, 255, 0}},  {{0, 0, 120}, {127, 127, 127}}, // truncated, not rounded
        {{0, 240, 240}, {255, 255, 255}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.in.hue) << "," << int(row.in.saturation) << ","
                                        << int(row.in.luminosity));
        EXPECT_EQ(HslToRgb(row.in), row.out);
    }
}

// A colour taken to HSL and back stays within the 240 scale's resolution, and the HSL it
// reports never leaves its ranges.
TEST(HslConversion, RoundTripOverAGrid) {
    int worst = 0;
    for (int r = 0; r <= 255; r += 15) {
        for (int g = 0; g <= 255; g += 15) {
            for (int b = 0; b <= 255; b += 15) {
                const Rgb in{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
                const Hsl hsl = RgbToHsl(in);
                ASSERT_LE(hsl.hue, kHueMax);
                ASSERT_LE(hsl.saturation, kSaturationMax);
                ASSERT_LE(hsl.luminosity, kLuminosityMax);
                const Rgb out = HslToRgb(hsl);
                worst = std::max(
                    {worst, std::abs(out.r - r), std::abs(out.g - g), std::abs(out.b - b)});
            }
        }
    }
    EXPECT_LE(worst, 4); // a hue step moves a saturated component by up to 6.4 / 2
}

// The dialog's control: 160 x 140, so the field is 125 x 120 from row 10 and the bar starts
// at column 131.
constexpr SpectrumGeometry kDialogSpectrum{160, 140};

TEST(SpectrumGeometry, RectanglesFollowTheControlSize) {
    const HalfOpenRect field = kDialogSpectrum.spectrum();
    EXPECT_EQ(field.width(), 125);
    EXPECT_EQ(field.height(), 120);
    EXPECT_TRUE(field.contains({0, 10}));
    EXPECT_FALSE(field.contains({0, 9}));
    EXPECT_FALSE(field.contains({125, 50}));
    EXPECT_FALSE(field.contains({50, 130}));
    const HalfOpenRect bar = kDialogSpectrum.bar();
    EXPECT_TRUE(bar.contains({131, 2}));
    EXPECT_FALSE(bar.contains({158, 50}));
    EXPECT_FALSE(bar.contains({140, 138}));
}

TEST(SpectrumGeometry, PositionsAtTheEdges) {
    struct Row {
        int hue, saturation;
        Point crosshair;
    };
    const Row rows[] = {
        {0, 240, {0, 10}},
        {239, 240, {124, 10}}, // w * 239 / 239 is capped at w - 1
        {120, 120, {62, 70}},
        {0, 0, {0, 129}}, // h + 10 is capped at H - 11
    };
    for (const Row& row : rows) {
        EXPECT_EQ(kDialogSpectrum.crosshairFor(row.hue, row.saturation), row.crosshair)
            << row.hue << "," << row.saturation;
    }
    EXPECT_EQ(kDialogSpectrum.arrowFor(240), 0);
    EXPECT_EQ(kDialogSpectrum.arrowFor(120), 60);
    EXPECT_EQ(kDialogSpectrum.arrowFor(0), 119); // clamped to h - 1
    // The arrow's top row never pushes the 17 rows out of the bar.
    EXPECT_EQ(kDialogSpectrum.arrowTopRow(0), 2);
    EXPECT_EQ(kDialogSpectrum.arrowTopRow(119), 2 + 136 - kArrowHeight);
}

TEST(SpectrumGeometry, PickingInvertsThePositions) {
    int hue = -1;
    int saturation = -1;
    kDialogSpectrum.hueSaturationAt({0, 10}, hue, saturation);
    EXPECT_EQ(hue, 0);
    EXPECT_EQ(saturation, 240);
    kDialogSpectrum.hueSaturationAt({124, 129}, hue, saturation);
    EXPECT_EQ(hue, 239);
    EXPECT_EQ(saturation, 0);
    EXPECT_EQ(kDialogSpectrum.luminosityAt(10), 240);
    EXPECT_EQ(kDialogSpectrum.luminosityAt(0), 240); // clamped into the bar's rows
    EXPECT_EQ(kDialogSpectrum.luminosityAt(129), 0);
    EXPECT_EQ(kDialogSpectrum.luminosityAt(200), 0);
    // The arrow shown for a luminosity sits within two rows of the point that picks it.
    for (int l = 0; l <= 240; ++l) {
        const int back = kDialogSpectrum.luminosityAt(kDialogSpectrum.arrowFor(l) + kSpectrumTop);
        EXPECT_NEAR(back, l, 3) << l;
    }
}

TEST(SpectrumGeometry, TinyControlsDoNotDivideByZero) {
    for (const SpectrumGeometry g :
         {SpectrumGeometry{0, 0}, SpectrumGeometry{36, 21}, SpectrumGeometry{37, 22}}) {
        int hue = -1;
        int saturation = -1;
        g.hueSaturationAt({0, 10}, hue, saturation);
        EXPECT_GE(hue, 0);
        EXPECT_GE(saturation, 0);
        EXPECT_GE(g.luminosityAt(10), 0);
        EXPECT_EQ(g.spectrumPixel(0, g.height - 1), g.spectrumPixel(0, g.height - 1));
        (void)g.barPixel(0, 240, 10);
    }
}

TEST(SpectrumGeometry, PaintedSpectrumCoversTheFieldAndTenRowsBelow) {
    EXPECT_EQ(kDialogSpectrum.spectrumPixel(0, 9), kSpectrumBackground);
    EXPECT_EQ(kDialogSpectrum.spectrumPixel(0, 10), (Rgb{255, 0, 0}));
    EXPECT_EQ(kDialogSpectrum.spectrumPixel(125, 50), kSpectrumBackground);
    // What a row shows is what a click on it picks: the bottom row of the field is grey.
    for (const int y : {10, 40, 70, 100, 129}) {
        int hue = 0;
        int saturation = 0;
        kDialogSpectrum.hueSaturationAt({0, y}, hue, saturation);
        const Rgb shown = kDialogSpectrum.spectrumPixel(0, y);
        EXPECT_NEAR(RgbToHsl(shown).saturation, saturation, 1) << y;
    }
    EXPECT_EQ(kDialogSpectrum.spectrumPixel(60, 129), (Rgb{127, 127, 127}));
    EXPECT_EQ(kDialogSpectrum.spectrumPixel(60, 139), (Rgb{127, 127, 127})); // below the field
    // The bar runs from white at its top to black at the bottom of the field.
    EXPECT_EQ(kDialogSpectrum.barPixel(0, 240, 10), (Rgb{255, 255, 255}));
    EXPECT_EQ(kDialogSpectrum.barPixel(0, 240, 129), (Rgb{0, 0, 0}));
}

TEST(SpectrumKeys, StepsAndClamping) {
    using Action = SpectrumKeyResult::Action;
    constexpr Hsl kStart{100, 120, 120};
    struct Row {
        SpectrumPart part;
        SpectrumKey key;
        int step;
        Action action;
        Hsl out;
    };
    const Row rows[] = {
        {SpectrumPart::Spectrum,
         SpectrumKey::Left,
         KeyStep(true, true),
         Action::ValueChanged,
         {99, 120, 120}}, // Ctrl wins over Shift
        {SpectrumPart::Spectrum,
         SpectrumKey::Right,
         KeyStep(false, true),
         Action::ValueChanged,
         {110, 120, 120}},
        {SpectrumPart::Spectrum,
         SpectrumKey::Up,
         KeyStep(false, false),
         Action::ValueChanged,
         {100, 125, 120}},
        {SpectrumPart::Spectrum, SpectrumKey::Home, 5, Action::ValueChanged, {0, 120, 120}},
        {SpectrumPart::Spectrum, SpectrumKey::End, 5, Action::ValueChanged, {239, 120, 120}},
        {SpectrumPart::Spectrum, SpectrumKey::PageUp, 5, Action::ValueChanged, {100, 240, 120}},
        {SpectrumPart::Spectrum, SpectrumKey::Right, 200, Action::ValueChanged, {239, 120, 120}},
        {SpectrumPart::Spectrum, SpectrumKey::Down, 200, Action::ValueChanged, {100, 0, 120}},
        {SpectrumPart::Spectrum, SpectrumKey::Tab, 5, Action::FocusToBar, kStart},
        {SpectrumPart::Spectrum, SpectrumKey::BackTab, 5, Action::PreviousControl, kStart},
        {SpectrumPart::Bar, SpectrumKey::Left, 5, Action::Nothing, kStart},
        {SpectrumPart::Bar, SpectrumKey::Up, 200, Action::ValueChanged, {100, 120, 240}},
        {SpectrumPart::Bar, SpectrumKey::Down, 10, Action::ValueChanged, {100, 120, 110}},
        {SpectrumPart::Bar, SpectrumKey::Home, 5, Action::ValueChanged, {100, 120, 240}},
        {SpectrumPart::Bar, SpectrumKey::End, 5, Action::ValueChanged, {100, 120, 0}},
        {SpectrumPart::Bar, SpectrumKey::PageDown, 5, Action::ValueChanged, {100, 120, 0}},
        {SpectrumPart::Bar, SpectrumKey::Tab, 5, Action::NextControl, kStart},
        {SpectrumPart::Bar, SpectrumKey::BackTab, 5, Action::FocusToSpectrum, kStart},
        {SpectrumPart::None, SpectrumKey::Up, 5, Action::Nothing, kStart},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "part " << int(row.part) << " key " << int(row.key));
        const SpectrumKeyResult r = ApplySpectrumKey(kStart, row.part, row.key, row.step);
        EXPECT_EQ(r.action, row.action);
        EXPECT_EQ(r.hsl, row.out);
    }
    // Already at the limit: nothing to report.
    EXPECT_EQ(ApplySpectrumKey({0, 0, 0}, SpectrumPart::Spectrum, SpectrumKey::Left, 5).action,
              Action::Nothing);
}

// The patterns are drawn from these tables; check them against their geometric rules.
TEST(PointerPatterns, MatchTheirShapes) {
    int crosshairPixels = 0;
    for (int row = 0; row < kCrosshairSize; ++row) {
        ASSERT_EQ(kCrosshairPattern[row].size(), std::size_t(kCrosshairSize));
        for (int col = 0; col < kCrosshairSize; ++col) {
            const bool vertical = col >= 8 && col <= 10 && (row <= 4 || row >= 14);
            const bool horizontal = row >= 8 && row <= 10 && (col <= 4 || col >= 14);
            EXPECT_EQ(kCrosshairPattern[row][col] == '#', vertical || horizontal)
                << row << "," << col;
            crosshairPixels += kCrosshairPattern[row][col] == '#';
        }
    }
    EXPECT_EQ(crosshairPixels, 4 * 3 * 5);
    for (int row = 0; row < kArrowHeight; ++row) {
        ASSERT_EQ(kArrowPattern[row].size(), std::size_t(kArrowWidth));
        const int d = std::abs(kArrowTipRow - row);
        for (int col = 0; col < kArrowWidth; ++col) {
            const char expected = (col == d || col == 8) ? 'o' : (col > d && col < 8) ? 'f' : '.';
            EXPECT_EQ(kArrowPattern[row][col], expected) << row << "," << col;
        }
    }
}

TEST(SpectrumTooltip, TextsByMode) {
    const Rgb c{0x12, 0xAB, 0x05};
    EXPECT_EQ(SpectrumTooltipText(0, c), "RGB(18,171,5)");
    EXPECT_EQ(SpectrumTooltipText(2, c), "#12AB05");
    EXPECT_EQ(SpectrumTooltipText(3, c), "05AB12");
    EXPECT_EQ(SpectrumTooltipText(4, {255, 0, 0}), "HSL(0,240,120)");
    EXPECT_LE(SpectrumTooltipText(-1, {255, 255, 255}).size(), kTooltipMaxChars);
}

TEST(Palette, HitTestAndLookup) {
    struct Row {
        Point at;
        int cell;
    };
    const Row hits[] = {
        {{13, 41}, 0},    {{26, 53}, 0}, // right and bottom edges are inside
        {{27, 41}, -1},   {{13, 54}, -1},   {{32, 41}, 1},
        {{159, 190}, 63}, {{160, 190}, -1}, {{20, 119}, -1}, // the gap above row 5
        {{324, 10}, -1},                                     // the close box is not a cell
    };
    for (const Row& row : hits) {
        EXPECT_EQ(PaletteCellAt(row.at), row.cell) << row.at.x << "," << row.at.y;
    }
    EXPECT_EQ(FirstPaletteCellOf(MakeColorRef(255, 255, 255)), 47);
    EXPECT_EQ(FirstPaletteCellOf(MakeColorRef(128, 255, 254)), 4);
    EXPECT_EQ(FirstPaletteCellOf(MakeColorRef(128, 255, 255)), -1);
    EXPECT_EQ(FirstPaletteCellOf(MakeColorRef(254, 128, 192)), 6);
    EXPECT_EQ(FirstPaletteCellOf(MakeColorRef(129, 192, 192)), 45);
    EXPECT_EQ(FirstPaletteCellOf(MakeColorRef(128, 192, 192)), -1);
    EXPECT_EQ(FirstPaletteCellOf(kNoColour), -1); // not mistaken for white
    EXPECT_TRUE(kColourDialogCloseBox.contains({322, 8}));
    EXPECT_TRUE(kColourDialogCloseBox.contains({327, 14}));
    EXPECT_FALSE(kColourDialogCloseBox.contains({328, 14}));
}

} // namespace
} // namespace orvo

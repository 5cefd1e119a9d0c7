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

} // namespace
} // namespace orvo

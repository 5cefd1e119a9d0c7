#pragma once
// The values each setting of the image may take before it goes to the keyboard. The window's
// controls only produce these; a file can hold anything, so a profile from outside is checked
// against them first (orvoctl apply; the window's profile loading can use the same rules).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings_image.h"

namespace orvo {

// One byte of the image and its allowed values min..max.
struct ValueRange {
    std::string_view name;
    ImageField field;
    std::size_t byte; // inside the field
    std::uint8_t min;
    std::uint8_t max;
};

inline constexpr std::array<ValueRange, 11> kValueRanges{{
    {"reportRate", field::reportRate, 0, 0, 3},
    // Slider positions 0..9; a keyboard set to 9 reports 10, which a read stores as it is.
    {"responseTime", field::responseTime, 0, 0, 10},
    {"lightingSpeed", field::lightingSpeed, 0, 0, 9},
    {"lightingBrightness", field::lightingBrightness, 0, 0, 50},
    // Slots 1..7, 8 multicolour; 0 is what the per-key effects leave and shows as slot 1.
    {"lightingColour", field::lightingColour, 0, 0, 8},
    {"lightingDirection", field::lightingDirection, 0, 1, 4},
    {"gameMode", field::gameMode, 0, 0, 1},
    {"winLock", field::winLock, 0, 0, 1},
    {"palmRest.effect", field::palmRest, palm::effect, 0, 3},
    {"palmRest.brightness", field::palmRest, palm::brightness, 0, 50},
    {"palmRest.speed", field::palmRest, palm::speed, 1, 5},
}};

struct OutOfRange {
    std::string field;   // "reportRate", "keyMap[17]", "macroBlocks[3].repeatCount"
    unsigned value = 0;  // what the image holds there
    std::string allowed; // "0..3", "an effect of the effect list", ...
};

// Every value outside its range: the ranges above, the lighting effect (a code of the effect
// list), each key-map entry's type (0, 3, 4 or 0x0A; a macro entry is 4, 1, block 0..31) and
// each macro block's repeat count (at most 999).
std::vector<OutOfRange> OutOfRangeFields(const SettingsImage& image);

// "reportRate is 149 (allowed 0..3)"
std::string Describe(const OutOfRange& bad);
// Every value outside its range, described on one line; empty when all are in range.
std::string DescribeOutOfRange(const SettingsImage& image);

} // namespace orvo

#include "model/settings_ranges.h"

#include <gtest/gtest.h>

#include <set>

namespace orvo {
namespace {

// An image every control could have produced: effect 1, colour 1, direction 1, palm speed 1.
SettingsImage ValidImage() {
    SettingsImage image;
    image.bytes[0x1D1A] = 1;
    image.bytes[0x1D1D] = 1;
    image.bytes[0x1D1E] = 1;
    image.bytes[0x274B + 3] = 1;
    return image;
}

std::vector<std::string> Names(const SettingsImage& image) {
    std::vector<std::string> names;
    for (const OutOfRange& bad : OutOfRangeFields(image))
        names.push_back(bad.field);
    return names;
}

TEST(SettingsRanges, EverySettingIsCheckedOverEveryByteValue) {
    ASSERT_TRUE(OutOfRangeFields(ValidImage()).empty());
    struct Row {
        std::size_t offset;
        const char* name;
        unsigned min;
        unsigned max;
    };
    const Row rows[] = {
        {0x000B, "reportRate", 0, 3},
        {0x1D19, "responseTime", 0, 10}, // 10: what a keyboard set to position 9 reports
        {0x1D1B, "lightingSpeed", 0, 9},
        {0x1D1C, "lightingBrightness", 0, 50},
        {0x1D1D, "lightingColour", 0, 8}, // 0 shows as slot 1
        {0x1D1E, "lightingDirection", 1, 4},
        {0x1D34, "gameMode", 0, 1},
        {0x1D4A, "winLock", 0, 1},
        {0x274B + 1, "palmRest.effect", 0, 3},
        {0x274B + 2, "palmRest.brightness", 0, 50},
        {0x274B + 3, "palmRest.speed", 1, 5},
    };
    ASSERT_EQ(std::size(rows), kValueRanges.size());
    for (const Row& row : rows) {
        for (unsigned v = 0; v < 256; ++v) {
            SettingsImage image = ValidImage();
            image.bytes[row.offset] = static_cast<std::uint8_t>(v);
            const auto bad = OutOfRangeFields(image);
            if (v >= row.min && v <= row.max) {
                EXPECT_TRUE(bad.empty()) << row.name << " " << v;
            } else {
                ASSERT_EQ(bad.size(), 1u) << row.name << " " << v;
                EXPECT_EQ(Describe(bad[0]), std::string(row.name) + " is " + std::to_string(v) +
                                                " (allowed " + std::to_string(row.min) + ".." +
                                                std::to_string(row.max) + ")");
            }
        }
    }
}

TEST(SettingsRanges, TheEffectIsACodeOfTheEffectList) {
    const std::set<unsigned> codes{1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 51, 52, 53, 54, 55};
    for (unsigned v = 0; v < 256; ++v) {
        SettingsImage image = ValidImage();
        image.bytes[0x1D1A] = static_cast<std::uint8_t>(v);
        EXPECT_EQ(Names(image), codes.contains(v) ? std::vector<std::string>{}
                                                  : std::vector<std::string>{"lightingEffect"})
            << v;
    }
}

TEST(SettingsRanges, KeyMapEntriesAndMacroBlocksHoldWhatTheKeyboardKnows) {
    const std::size_t entry = 0x0318 + 4 * 17;
    for (unsigned type = 0; type < 256; ++type) {
        SettingsImage image = ValidImage();
        image.bytes[entry] = static_cast<std::uint8_t>(type);
        image.bytes[entry + 1] = type == 4 ? 1 : 0;
        const bool known = type == 0 || type == 3 || type == 4 || type == 0x0A;
        EXPECT_EQ(Names(image),
                  known ? std::vector<std::string>{} : std::vector<std::string>{"keyMap[17].type"})
            << type;
    }
    struct Row {
        std::uint8_t marker;
        std::uint8_t macro;
        std::vector<std::string> bad;
    };
    const Row macros[] = {
        {1, 0, {}},
        {1, 31, {}},
        {1, 32, {"keyMap[17].macro"}},
        {0, 3, {"keyMap[17].byte1"}},
    };
    for (const Row& row : macros) {
        SettingsImage image = ValidImage();
        image.bytes[entry] = 4;
        image.bytes[entry + 1] = row.marker;
        image.bytes[entry + 2] = row.macro;
        EXPECT_EQ(Names(image), row.bad) << int(row.macro);
    }
    for (const unsigned repeat : {0u, 999u, 1000u, 65535u}) {
        SettingsImage image = ValidImage();
        const std::size_t block = 0x0518 + 192 * 31; // repeat count big-endian at its head
        image.bytes[block] = static_cast<std::uint8_t>(repeat >> 8);
        image.bytes[block + 1] = static_cast<std::uint8_t>(repeat);
        EXPECT_EQ(Names(image), repeat <= 999
                                    ? std::vector<std::string>{}
                                    : std::vector<std::string>{"macroBlocks[31].repeatCount"})
            << repeat;
    }
}

} // namespace
} // namespace orvo

// A fresh reading of the keyboard over an image with unsaved edits: per group, the edit or the
// keyboard's new value.

#include "model/keyboard_groups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvo {
namespace {

struct Group {
    std::string name;
    ImageField bytes;
};

// The groups the keyboard reads and writes as one, from the image layout.
std::vector<Group> GroupsOfTheKeyboard() {
    std::vector<Group> groups{
        {"lighting values", {field::lightingEffect.offset, 5}},
        {"colour slots", field::colourSlots},
        {"game mode", field::gameMode},
        {"report rate", field::reportRate},
        {"response time", field::responseTime},
        {"key map", field::keyMap},
        {"key-enable mask and lock", {field::keyEnableMask.offset, 22}},
        {"palm rest", field::palmRest},
    };
    for (std::size_t b = 0; b < kMacroBlockCount; ++b)
        groups.push_back({"macro block " + std::to_string(b),
                          {field::macroBlocks.offset + b * kMacroBlockSize, kMacroBlockSize}});
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t)
        groups.push_back({"custom table " + std::to_string(t),
                          {field::customLightingTables.offset + t * kCustomLightingTableSize,
                           kCustomLightingTableSize}});
    return groups;
}

SettingsImage Filled(std::uint8_t value) {
    SettingsImage image;
    image.bytes.fill(value);
    return image;
}

bool Holds(const SettingsImage& image, ImageField f, std::uint8_t value) {
    return std::ranges::all_of(image[f], [&](std::uint8_t b) { return b == value; });
}

TEST(MergeKeyboardValuesTest, EachGroupKeepsAnEditElseTakesTheKeyboardsValue) {
    constexpr std::uint8_t kOld = 0x11, kKeyboard = 0x22, kEdit = 0x33;
    const DeviceSnapshot snapshot = Filled(kOld);
    const SettingsImage read = Filled(kKeyboard);
    const std::vector<Group> groups = GroupsOfTheKeyboard();
    for (const Group& edited : groups) {
        // One byte edited, the group's last: the whole group counts as edited.
        SettingsImage image = snapshot;
        image.bytes[edited.bytes.end() - 1] = kEdit;
        const SettingsImage before = image;
        MergeKeyboardValues(image, snapshot, read);

        EXPECT_TRUE(std::ranges::equal(image[edited.bytes], before[edited.bytes])) << edited.name;
        std::vector<bool> inGroup(kSettingsImageSize, false);
        for (const Group& g : groups) {
            std::fill_n(inGroup.begin() + static_cast<long>(g.bytes.offset), g.bytes.size, true);
            if (&g != &edited) {
                EXPECT_TRUE(Holds(image, g.bytes, kKeyboard)) << g.name << " / " << edited.name;
            }
        }
        // Bytes the keyboard does not hold stay the image's.
        for (std::size_t i = 0; i < kSettingsImageSize; ++i) {
            if (!inGroup[i]) {
                ASSERT_EQ(image.bytes[i], kOld) << "byte " << i << " / " << edited.name;
            }
        }
    }
}

TEST(KeepEditsTheScriptLeftTest, AnEditStaysOnlyWhereTheScriptChangedNothing) {
    constexpr std::uint8_t kOld = 0x11, kScript = 0x22, kEdit = 0x33;
    const DeviceSnapshot snapshot = Filled(kOld);
    const std::vector<Group> groups = GroupsOfTheKeyboard();
    ASSERT_GE(groups.size(), 3u);
    // The user edited groups 0 and 1; the script changed groups 1 and 2.
    SettingsImage edited = snapshot;
    SettingsImage loaded = snapshot;
    for (std::size_t g : {0u, 1u})
        edited.bytes[groups[g].bytes.offset] = kEdit;
    for (std::size_t g : {1u, 2u})
        std::ranges::fill(loaded[groups[g].bytes], kScript);
    KeepEditsTheScriptLeft(loaded, edited, snapshot);

    EXPECT_TRUE(std::ranges::equal(loaded[groups[0].bytes], edited[groups[0].bytes]))
        << groups[0].name << ": the edit stays";
    EXPECT_TRUE(Holds(loaded, groups[1].bytes, kScript)) << groups[1].name << ": the script wins";
    EXPECT_TRUE(Holds(loaded, groups[2].bytes, kScript)) << groups[2].name;
    for (std::size_t g = 3; g < groups.size(); ++g)
        EXPECT_TRUE(Holds(loaded, groups[g].bytes, kOld)) << groups[g].name;
}

} // namespace
} // namespace orvo

#include "model/lighting_rules.h"

#include "model/key_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace orvo {
namespace {

SettingsImage WithEffect(std::uint8_t effect, std::uint8_t colour = 1) {
    SettingsImage image;
    image.byte(field::lightingEffect) = effect;
    image.byte(field::lightingColour) = colour;
    return image;
}

TEST(LightingRules, ControlsFollowTheEffect) {
    struct Row {
        std::uint8_t effect;
        bool speed, slots, direction, switches;
    };
    const Row rows[] = {
        {1, false, true, false, false},  {2, true, true, false, false},
        {3, true, true, true, false},    {8, true, true, false, false},
        {13, true, true, true, false},   {12, true, true, false, false},
        {50, false, true, false, false}, {51, false, false, false, true},
        {55, false, false, false, true}, {56, false, false, false, false}, // unknown code
    };
    for (const Row& r : rows) {
        const EffectControls c = ControlsForEffect(r.effect);
        EXPECT_EQ(c.speed, r.speed) << int(r.effect);
        EXPECT_EQ(c.colourSlots, r.slots) << int(r.effect);
        EXPECT_EQ(c.direction, r.direction) << int(r.effect);
        EXPECT_EQ(c.diySwitches, r.switches) << int(r.effect);
    }
}

TEST(LightingRules, SelectingAnEffectFixesTheColourAndDiyMode) {
    struct Row {
        std::uint8_t effect, colourBefore, colourAfter;
        bool diy;
    };
    const Row rows[] = {
        {1, 8, 1, false}, // fixed lighting refuses the multicolour slot
        {1, 5, 5, false}, {3, 2, 8, false}, {8, 1, 8, false},
        {2, 8, 8, false}, {51, 4, 4, true}, {55, 8, 8, true},
    };
    for (const Row& r : rows) {
        SettingsImage image = WithEffect(2, r.colourBefore);
        EXPECT_EQ(SelectEffect(image, r.effect), r.diy) << int(r.effect);
        EXPECT_EQ(image.byte(field::lightingEffect), r.effect);
        EXPECT_EQ(image.byte(field::lightingColour), r.colourAfter) << int(r.effect);
    }
}

TEST(LightingRules, NormalisedColourStaysAShowableSlot) {
    struct Row {
        std::uint8_t effect, before, after;
    };
    const Row rows[] = {{2, 0, 1}, {2, 9, 8}, {2, 255, 8}, {2, 7, 7}, {3, 1, 8}, {8, 0, 8}};
    for (const Row& r : rows) {
        SettingsImage image = WithEffect(r.effect, r.before);
        NormaliseLightingColour(image);
        EXPECT_EQ(image.byte(field::lightingColour), r.after)
            << int(r.effect) << "/" << int(r.before);
    }
}

TEST(LightingRules, ColourSlotClicks) {
    struct Row {
        std::uint8_t effect, selected;
        int slot;
        SlotClick result;
        std::uint8_t selectedAfter;
    };
    const Row rows[] = {
        {2, 1, 3, SlotClick::Selected, 3},   // first click only selects
        {2, 3, 3, SlotClick::EditColour, 3}, // second click edits
        {2, 3, 8, SlotClick::Selected, 8},   {2, 8, 8, SlotClick::Selected, 8},
        {1, 2, 8, SlotClick::Ignored, 2}, // fixed lighting refuses slot 8
        {3, 8, 2, SlotClick::Ignored, 8}, // wave accepts only slot 8
        {8, 8, 7, SlotClick::Ignored, 8},    {3, 8, 8, SlotClick::Selected, 8},
        {51, 1, 1, SlotClick::Ignored, 1}, // no slots for a custom profile
        {2, 1, 0, SlotClick::Ignored, 1},    {2, 1, 9, SlotClick::Ignored, 1},
    };
    for (const Row& r : rows) {
        SettingsImage image = WithEffect(r.effect, r.selected);
        EXPECT_EQ(ClickColourSlot(image, r.slot), r.result) << int(r.effect) << " slot " << r.slot;
        EXPECT_EQ(image.byte(field::lightingColour), r.selectedAfter);
    }
}

TEST(LightingRules, ColourValuesLandInTheRightBytes) {
    SettingsImage image;
    StoreColourSlot(image, 7, MakeColorRef(1, 2, 3));
    StoreColourSlot(image, 8, MakeColorRef(9, 9, 9)); // the multicolour slot has no entry
    StoreColourSlot(image, 0, MakeColorRef(9, 9, 9));
    const auto slots = image[field::colourSlots];
    EXPECT_EQ(std::vector(slots.begin() + 18, slots.end()), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::count(slots.begin(), slots.end(), 9), 0);
    EXPECT_EQ(ColourSlotValue(image, 7), MakeColorRef(1, 2, 3));

    StorePalmColour(image, MakeColorRef(10, 20, 30));
    EXPECT_EQ(image.byte(field::palmRest, palm::red), 10);
    EXPECT_EQ(image.byte(field::palmRest, palm::blue), 30);
    EXPECT_EQ(image.byte(field::palmRest, palm::mode), 0);
    EXPECT_EQ(PalmColourValue(image), MakeColorRef(10, 20, 30));
}

TEST(LightingRules, PalmRestColourByEffect) {
    struct Row {
        std::uint8_t effect;
        bool editable, swatch;
    };
    const Row rows[] = {{0, true, true}, {1, true, true}, {2, true, false}, {3, false, false}};
    for (const Row& r : rows) {
        SettingsImage image;
        image.byte(field::palmRest, palm::effect) = r.effect;
        EXPECT_EQ(PalmColourEditable(image), r.editable) << int(r.effect);
        EXPECT_EQ(PalmSwatchShowsColour(image), r.swatch) << int(r.effect);
    }
}

TEST(LightingRules, DirectionsAndSwitches) {
    EXPECT_EQ(DirectionForRegion(4), 3);
    EXPECT_EQ(DirectionForRegion(5), 4);
    EXPECT_EQ(DirectionForRegion(6), 2);
    EXPECT_EQ(DirectionForRegion(7), 1);
    EXPECT_FALSE(DirectionForRegion(8));

    const std::pair<std::uint8_t, std::uint8_t> toggles[] = {
        {0, 1}, {1, 0}, {2, 1}, {5, 0}, {255, 0}};
    for (auto [before, after] : toggles)
        EXPECT_EQ(ToggledSwitch(before), after) << int(before);

    SettingsImage image;
    EXPECT_TRUE(ToggleSwitchRegion(image, kWinLockRegion));
    EXPECT_EQ(image.byte(field::winLock), 1);
    EXPECT_EQ(image.byte(field::gameMode), 0);
    EXPECT_FALSE(ToggleSwitchRegion(image, 18));
}

TEST(LightingRules, FirmwareComparison) {
    struct Row {
        std::uint8_t offeredMajor, offeredMinor, keyMajor, keyMinor;
        bool offered;
    };
    const Row rows[] = {
        {1, 3, 1, 2, true},  {2, 0, 1, 9, true},  {1, 2, 1, 2, false},    {1, 2, 1, 5, false},
        {0, 0, 1, 2, false}, {1, 9, 2, 0, false}, {200, 0, 100, 0, true}, // compared unsigned, not
                                                                          // as signed bytes
    };
    for (const Row& r : rows) {
        FirmwareVersion keyboard;
        keyboard.bytes = {r.keyMajor, r.keyMinor, 0, 0};
        EXPECT_EQ(FirmwareUpdateOffered({r.offeredMajor, r.offeredMinor}, keyboard), r.offered)
            << int(r.offeredMajor) << "." << int(r.offeredMinor) << " vs " << int(r.keyMajor) << "."
            << int(r.keyMinor);
    }
}

std::vector<std::uint8_t> Entry(std::span<const std::uint8_t> table, std::size_t key) {
    const std::size_t at = kKeyMapEntrySize * SlotOf(key);
    return {table.begin() + long(at), table.begin() + long(at + kKeyMapEntrySize)};
}

TEST(LightingRules, DiyColouringWritesTheSelectedKeysOfTheShownTable) {
    std::vector<std::uint8_t> selected(126, 0);
    selected[0] = selected[98] = selected[112] = 1;
    selected[113] = 1; // the row above the keys cannot be coloured

    SettingsImage image = WithEffect(53);
    image.customLightingTable(2)[kKeyMapEntrySize * SlotOf(98)] = 0x7F; // byte 0 is cleared
    ASSERT_TRUE(ColourSelectedKeys(image, selected, MakeColorRef(0x11, 0x22, 0x33)));
    const auto table = image.customLightingTable(2);
    const std::vector<std::uint8_t> expected{0, 0x11, 0x22, 0x33};
    for (std::size_t key : {0u, 98u, 112u})
        EXPECT_EQ(Entry(table, key), expected) << key;
    EXPECT_EQ(Entry(table, 113), (std::vector<std::uint8_t>(4, 0)));
    EXPECT_EQ(std::count(table.begin(), table.end(), 0x11), 3);
    for (std::size_t t : {0u, 1u, 3u, 4u}) {
        const auto other = image.customLightingTable(t);
        EXPECT_EQ(std::count(other.begin(), other.end(), 0), long(other.size())) << t;
    }
}

TEST(LightingRules, DiyColouringNeedsACustomProfile) {
    // An effect code read from the keyboard above 55 has no table: nothing may be written
    // past the five tables.
    std::vector<std::uint8_t> selected(126, 1);
    for (std::uint8_t effect : {std::uint8_t{50}, std::uint8_t{56}, std::uint8_t{255}}) {
        SettingsImage image = WithEffect(effect);
        const SettingsImage before = image;
        EXPECT_FALSE(ColourSelectedKeys(image, selected, MakeColorRef(1, 1, 1)));
        EXPECT_EQ(image, before);
    }
}

} // namespace
} // namespace orvo

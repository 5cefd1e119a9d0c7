#include "model/key_tables.h"

#include <gtest/gtest.h>

#include <set>

#include "model/config_state.h"

namespace orvo {
namespace {

TEST(KeyNameTable, Rows) {
    struct Row {
        std::uint8_t keyCode;
        std::uint8_t deviceCode;
        std::u16string_view name;
    };
    const Row rows[] = {
        {0x41, 0x04, u"A "},
        {0x5A, 0x1D, u"Z "},
        {0x31, 0x1E, u"1 "},
        {0x39, 0x26, u"9 "},
        {0x30, 0x27, u"0"},
        {0x70, 0x3A, u"F1 "},
        {0x7B, 0x45, u"F12 "},
        {0x6C, 0x58, u"Enter "},
        {0x0D, 0x28, u"Enter "},
        {0xDC, 0x32, u"\\ "},
        {0xB3, 0xCD, u"Play/Pause"},
        {0xB5, 0x83, u"Media "},
        {0xAF, 0xE9, u"Volume UP "},
        {0xF0, 0xF0, u"MsLB"},
        {0xF3, 0xF3, u""},
        {0xF4, 0xF4, u""},
        {0xF7, 0xF7, u"Mouse pointer Down"},
        {0x0C, 0x00, u""},
        {0xE2, 0x00, u""},
        {0xFF, 0x00, u""},
        {0xBD, 0x2D, u"- "},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DeviceCodeOf(r.keyCode), r.deviceCode) << int(r.keyCode);
        EXPECT_EQ(KeyNameOf(r.keyCode), r.name) << int(r.keyCode);
    }
    for (std::size_t i = 0; i < KeyNameTable.size(); ++i)
        EXPECT_EQ(KeyNameTable[i].index, i);
}

TEST(KeyLayoutTable, EveryKeyOwnsOneSlot) {
    std::set<int> slots;
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        EXPECT_LT(SlotOf(k), kKeySlotCount);
        EXPECT_TRUE(slots.insert(SlotOf(k)).second) << "slot shared by key " << k;
        EXPECT_EQ(KeyIndexOfSlot(SlotOf(k)), static_cast<int>(k));
    }
    for (const std::size_t free : {18, 24, 42, 48, 107, 126, 127})
        EXPECT_EQ(KeyIndexOfSlot(free), -1);
    for (std::size_t k = kMainKeyCount; k < kKeyCount; ++k)
        EXPECT_EQ(DefaultCodeOf(k), 0);
}

TEST(FactoryKeyMap, CarriesTheDeviceCodeOfEachKeysDefault) {
    struct Row {
        std::size_t key;
        std::uint8_t deviceCode;
    };
    // Keypad Enter goes out as 0x58, the main Enter as 0x28; Fn and Apps share 0x65.
    for (const Row r : {Row{94, 0x58}, Row{54, 0x28}, Row{0, 0x29}, Row{100, 0x65}, Row{101, 0x65},
                        Row{16, 0x00}, Row{113, 0x00}}) {
        const std::size_t at = SlotOf(r.key) * kKeyMapEntrySize;
        EXPECT_EQ(FactoryKeyMap[at + 2], r.deviceCode) << r.key;
        EXPECT_EQ(FactoryKeyMap[at], 0);
        EXPECT_EQ(FactoryKeyMap[at + 1], 0);
        EXPECT_EQ(FactoryKeyMap[at + 3], 0);
    }
    EXPECT_EQ(FactoryKeyMap[18 * kKeyMapEntrySize + 2], 0);
}

struct CustomisedFixture : ::testing::Test {
    SettingsImage image;
    KeyActionTable actions;
    CustomisedKeys flags{};
    void SetUp() override {
        std::copy(FactoryKeyMap.begin(), FactoryKeyMap.end(), image[field::keyMap].begin());
        std::fill_n(image[field::keyEnableMask].begin(), 21, 0xFF);
        actions.clear();
    }
    std::size_t count() const { return std::count(flags.begin(), flags.end(), 1); }
};

TEST_F(CustomisedFixture, FactoryStateHasNoCustomisedKey) {
    flags.fill(1);
    RecomputeCustomisedKeys(image, actions, flags);
    EXPECT_EQ(count(), 0u);
}

TEST_F(CustomisedFixture, EachConditionMarksTheKey) {
    const std::size_t key = 63; // "A"
    const std::size_t slot = SlotOf(key);
    const std::function<void(CustomisedFixture&)> edits[] = {
        [&](CustomisedFixture& f) { KeyMapEntry(f.image, slot)[2] = 0x05; },
        [&](CustomisedFixture& f) { f.actions[key].setKind(AssignmentKind::Macro); },
        [&](CustomisedFixture& f) {
            f.actions[key].kindData()[0] = 0x42;
            f.actions[key].setCapturedCount(1);
        },
        [&](CustomisedFixture& f) { SetKeySlotEnabled(f.image, slot, false); },
    };
    for (const auto& edit : edits) {
        SetUp();
        edit(*this);
        RecomputeCustomisedKeys(image, actions, flags);
        EXPECT_EQ(flags[key], 1);
        EXPECT_EQ(count(), 1u);
    }
    // Capturing the key's own code, or two keys, is not the third condition.
    SetUp();
    actions[key].kindData()[0] = 0x41;
    actions[key].setCapturedCount(1);
    actions[key + 1].kindData()[0] = 0x42;
    actions[key + 1].setCapturedCount(2);
    RecomputeCustomisedKeys(image, actions, flags);
    EXPECT_EQ(count(), 0u);
}

TEST_F(CustomisedFixture, FnNeverShowsAsCustomised) {
    SetKeySlotEnabled(image, SlotOf(kFnKeyIndex), false);
    actions[kFnKeyIndex].setKind(AssignmentKind::Function);
    RecomputeCustomisedKeys(image, actions, flags);
    EXPECT_EQ(flags[kFnKeyIndex], 0);
}

} // namespace
} // namespace orvo

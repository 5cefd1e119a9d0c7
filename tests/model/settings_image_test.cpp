#include "model/settings_image.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

TEST(SettingsImage, FieldOffsetsHoldInEveryFile) {
    struct Row {
        ImageField field;
        std::size_t offset;
        std::size_t size;
    };
    const Row rows[] = {
        {field::reportRate, 0x000B, 1},
        {field::keyMap, 0x0318, 512},
        {field::macroBlocks, 0x0518, 6144},
        {field::responseTime, 0x1D19, 1},
        {field::lightingEffect, 0x1D1A, 1},
        {field::lightingSpeed, 0x1D1B, 1},
        {field::colourSlots, 0x1D1F, 21},
        {field::gameMode, 0x1D34, 1},
        {field::keyEnableMask, 0x1D35, 21},
        {field::winLock, 0x1D4A, 1},
        {field::customLightingTables, 0x1D4B, 2560},
        {field::palmRest, 0x274B, 8},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.field.offset, r.offset);
        EXPECT_EQ(r.field.size, r.size);
    }
    SettingsImage image;
    image.macroBlock(31)[0] = 0xAB;
    image.customLightingTable(4)[511] = 0xCD;
    EXPECT_EQ(image.bytes[0x0518 + 192 * 31], 0xAB);
    EXPECT_EQ(image.bytes[0x1D4B + 512 * 4 + 511], 0xCD);
}

TEST(SettingsImage, SpeedConvertsBothWays) {
    struct Row {
        std::uint8_t position;
        std::uint8_t device;
    };
    for (const Row r : {Row{0, 10}, Row{9, 1}, Row{5, 5}, Row{1, 9}}) {
        EXPECT_EQ(SpeedPositionToDevice(r.position), r.device);
        EXPECT_EQ(SpeedDeviceToPosition(r.device), r.position);
    }
    // Values no slider produces stay inside the slider's range instead of wrapping.
    EXPECT_EQ(SpeedPositionToDevice(200), 1);
    EXPECT_EQ(SpeedDeviceToPosition(0), 9);
    EXPECT_EQ(SpeedDeviceToPosition(250), 0);
}

TEST(SettingsImage, EnableBitsAreAddressedBySlot) {
    struct Row {
        std::size_t slot;
        std::size_t maskByte;
        std::uint8_t bit;
    };
    for (const Row r : {Row{0, 0, 0x01}, Row{5, 0, 0x20}, Row{6, 1, 0x01}, Row{125, 20, 0x20},
                        Row{80, 13, 0x04}}) {
        SettingsImage image;
        SetKeySlotEnabled(image, r.slot, true);
        EXPECT_EQ(image.byte(field::keyEnableMask, r.maskByte), r.bit) << r.slot;
        EXPECT_TRUE(IsKeySlotEnabled(image, r.slot));
        image[field::keyEnableMask][r.maskByte] = 0xFF;
        SetKeySlotEnabled(image, r.slot, false);
        EXPECT_EQ(image.byte(field::keyEnableMask, r.maskByte), 0xFF & ~r.bit);
    }
    // Slots past the mask never touch the byte behind it.
    SettingsImage image;
    SetKeySlotEnabled(image, 126, true);
    SetKeySlotEnabled(image, 200, true);
    EXPECT_EQ(image.byte(field::winLock), 0);
    EXPECT_FALSE(IsKeySlotEnabled(image, 126));
}

TEST(SettingsImage, WinLockClearsTheWindowsBitAndItsUnusedNeighbours) {
    struct Row {
        std::uint8_t winLock;
        std::uint8_t before;
        std::uint8_t after;
    };
    for (const Row r : {Row{1, 0xFF, 0x3E}, Row{1, 0x3F, 0x3E}, Row{1, 0x00, 0x00},
                        Row{0, 0x00, 0x01}, Row{0, 0xFE, 0xFF}}) {
        SettingsImage image;
        image.byte(field::winLock) = r.winLock;
        image.byte(field::keyEnableMask, 1) = r.before;
        image.byte(field::keyEnableMask, 0) = 0xFF;
        ApplyWinLockToMask(image);
        EXPECT_EQ(image.byte(field::keyEnableMask, 1), r.after);
        EXPECT_EQ(image.byte(field::keyEnableMask, 0), 0xFF);
        // Reading the mask back gives the same lock state.
        image.byte(field::winLock) = 7;
        UpdateWinLockFromMask(image);
        EXPECT_EQ(image.byte(field::winLock), r.winLock);
    }
}

} // namespace
} // namespace orvo

#include "model/settings_image.h"

namespace orvo {

namespace {
std::size_t MaskByte(std::size_t slot) {
    return slot / kSlotsPerMaskByte;
}
std::uint8_t MaskBit(std::size_t slot) {
    return static_cast<std::uint8_t>(1u << (slot % kSlotsPerMaskByte));
}
} // namespace

bool IsKeySlotEnabled(const SettingsImage& image, std::size_t slot) {
    if (slot >= kKeySlotCount)
        return false;
    return (image.byte(field::keyEnableMask, MaskByte(slot)) & MaskBit(slot)) != 0;
}

void SetKeySlotEnabled(SettingsImage& image, std::size_t slot, bool enabled) {
    if (slot >= kKeySlotCount)
        return;
    std::uint8_t& b = image.byte(field::keyEnableMask, MaskByte(slot));
    b = static_cast<std::uint8_t>(enabled ? (b | MaskBit(slot)) : (b & ~MaskBit(slot)));
}

void ApplyWinLockToMask(SettingsImage& image) {
    std::uint8_t& b = image.byte(field::keyEnableMask, MaskByte(kWindowsKeySlot));
    if (image.byte(field::winLock) == 1)
        b &= kWinLockMaskClear;
    else
        b |= kWinKeyBit;
}

void UpdateWinLockFromMask(SettingsImage& image) {
    image.byte(field::winLock) = IsKeySlotEnabled(image, kWindowsKeySlot) ? 0 : 1;
}

std::span<std::uint8_t, kKeyMapEntrySize> KeyMapEntry(SettingsImage& image, std::size_t slot) {
    return image[field::keyMap].subspan(slot * kKeyMapEntrySize).first<kKeyMapEntrySize>();
}

std::span<const std::uint8_t, kKeyMapEntrySize> KeyMapEntry(const SettingsImage& image,
                                                            std::size_t slot) {
    return image[field::keyMap].subspan(slot * kKeyMapEntrySize).first<kKeyMapEntrySize>();
}

} // namespace orvo

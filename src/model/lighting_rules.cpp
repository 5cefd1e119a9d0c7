#include "model/lighting_rules.h"

#include "model/key_tables.h"

#include <algorithm>

namespace orvo {

namespace {

bool MulticolourOnly(std::uint8_t effect) {
    return effect == kEffectWave || effect == kEffectSlowChange;
}

} // namespace

EffectControls ControlsForEffect(std::uint8_t effect) {
    EffectControls c;
    c.speed = effect != kEffectFixed && effect < kNoSpeedFromEffect;
    c.colourSlots = !IsCustomEffect(effect);
    c.direction = effect == kEffectWave || effect == kEffectRadar;
    c.diySwitches = CustomTableForEffect(effect).has_value();
    return c;
}

std::optional<std::size_t> CustomTableForEffect(std::uint8_t effect) {
    if (effect < kFirstCustomEffect || effect > kLastCustomEffect)
        return std::nullopt;
    return std::size_t{effect} - kFirstCustomEffect;
}

bool SelectEffect(SettingsImage& image, std::uint8_t effect) {
    image.byte(field::lightingEffect) = effect;
    std::uint8_t& colour = image.byte(field::lightingColour);
    if (effect == kEffectFixed && colour == kMulticolourSlot)
        colour = kFirstColourSlot;
    if (MulticolourOnly(effect))
        colour = kMulticolourSlot;
    return IsCustomEffect(effect);
}

std::uint8_t NormalisedLightingColour(const SettingsImage& image) {
    const std::uint8_t colour = image.byte(field::lightingColour);
    if (MulticolourOnly(image.byte(field::lightingEffect)) || colour > kMulticolourSlot)
        return kMulticolourSlot;
    return colour == 0 ? kFirstColourSlot : colour;
}

void NormaliseLightingColour(SettingsImage& image) {
    image.byte(field::lightingColour) = NormalisedLightingColour(image);
}

std::optional<std::uint8_t> DirectionForRegion(int region) {
    switch (region) {
    case kDirectionTRegion:
        return 3;
    case kDirectionBRegion:
        return 4;
    case kDirectionRRegion:
        return 2;
    case kDirectionLRegion:
        return 1;
    default:
        return std::nullopt;
    }
}

SlotClick ClickColourSlot(SettingsImage& image, int slot) {
    const std::uint8_t effect = image.byte(field::lightingEffect);
    if (slot < kFirstColourSlot || slot > kMulticolourSlot || IsCustomEffect(effect))
        return SlotClick::Ignored;
    const bool multicolour = slot == kMulticolourSlot;
    if (MulticolourOnly(effect) && !multicolour)
        return SlotClick::Ignored;
    if (effect == kEffectFixed && multicolour)
        return SlotClick::Ignored;
    std::uint8_t& selected = image.byte(field::lightingColour);
    const bool wasSelected = selected == slot;
    selected = static_cast<std::uint8_t>(slot);
    return wasSelected && !multicolour ? SlotClick::EditColour : SlotClick::Selected;
}

void StoreColourSlot(SettingsImage& image, int slot, ColorRef colour) {
    if (slot < kFirstColourSlot || slot >= kMulticolourSlot)
        return;
    auto rgb = image[field::colourSlots].subspan(std::size_t(slot - 1) * 3, 3);
    const Rgb c = ToRgb(colour);
    rgb[0] = c.r;
    rgb[1] = c.g;
    rgb[2] = c.b;
}

ColorRef ColourSlotValue(const SettingsImage& image, int slot) {
    if (slot < kFirstColourSlot || slot >= kMulticolourSlot)
        return 0;
    const auto rgb = image[field::colourSlots].subspan(std::size_t(slot - 1) * 3, 3);
    return MakeColorRef(rgb[0], rgb[1], rgb[2]);
}

bool PalmColourEditable(const SettingsImage& image) {
    return image.byte(field::palmRest, palm::effect) != kPalmEffectWave;
}

bool PalmSwatchShowsColour(const SettingsImage& image) {
    return image.byte(field::palmRest, palm::effect) <= 1;
}

void StorePalmColour(SettingsImage& image, ColorRef colour) {
    const Rgb c = ToRgb(colour);
    image.byte(field::palmRest, palm::red) = c.r;
    image.byte(field::palmRest, palm::green) = c.g;
    image.byte(field::palmRest, palm::blue) = c.b;
}

ColorRef PalmColourValue(const SettingsImage& image) {
    return MakeColorRef(image.byte(field::palmRest, palm::red),
                        image.byte(field::palmRest, palm::green),
                        image.byte(field::palmRest, palm::blue));
}

std::uint8_t ToggledSwitch(std::uint8_t value) {
    return static_cast<std::uint8_t>((value + 1) % 2);
}

bool ToggleSwitchRegion(SettingsImage& image, int region) {
    if (region == kGameModeRegion)
        image.byte(field::gameMode) = ToggledSwitch(image.byte(field::gameMode));
    else if (region == kWinLockRegion)
        image.byte(field::winLock) = ToggledSwitch(image.byte(field::winLock));
    else
        return false;
    return true;
}

bool FirmwareUpdateOffered(const OfferedVersion& offered, const FirmwareVersion& keyboard) {
    if (offered.major != keyboard.major())
        return offered.major > keyboard.major();
    return offered.minor > keyboard.minor();
}

bool FirmwareUpdateOffered(const ConfigState& state) {
    return state.firmwareRead && FirmwareUpdateOffered(state.offeredFirmware, state.firmware);
}

bool ColourSelectedKeys(SettingsImage& image, std::span<const std::uint8_t> keySelected,
                        ColorRef colour) {
    const auto table = CustomTableForEffect(image.byte(field::lightingEffect));
    return table && ColourKeysInTable(image, *table, keySelected, colour);
}

bool ColourKeysInTable(SettingsImage& image, std::size_t table,
                       std::span<const std::uint8_t> keySelected, ColorRef colour) {
    if (table >= kCustomLightingTableCount)
        return false;
    auto entries = image.customLightingTable(table);
    const Rgb c = ToRgb(colour);
    const std::size_t keys = std::min(kMainKeyCount, keySelected.size());
    for (std::size_t key = 0; key < keys; ++key) {
        if (!keySelected[key])
            continue;
        const std::size_t offset = std::size_t{SlotOf(key)} * kKeyMapEntrySize;
        if (offset + kKeyMapEntrySize > entries.size())
            continue; // a slot beyond the table has no entry to colour
        entries[offset] = 0;
        entries[offset + 1] = c.r;
        entries[offset + 2] = c.g;
        entries[offset + 3] = c.b;
    }
    return true;
}

} // namespace orvo

#include "device/apply_changes.h"

#include "device/feature_report.h"
#include "device/table_transfers.h"

#include <algorithm>

namespace orvo {

namespace {

bool Differs(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return !std::ranges::equal(a, b);
}

} // namespace

bool ChangedGroups::any() const {
    return colourSlots || gameMode || reportRate || responseTime || keyMap || keyEnableMask ||
           lighting || std::ranges::any_of(macroBlocks, [](bool b) { return b; }) ||
           std::ranges::any_of(customLightingTables, [](bool b) { return b; });
}

ChangedGroups CompareWithSnapshot(const SettingsImage& image, const DeviceSnapshot& snapshot) {
    ChangedGroups c;
    auto fieldDiffers = [&](ImageField f) { return Differs(image[f], snapshot[f]); };
    c.colourSlots = fieldDiffers(field::colourSlots);
    c.gameMode = fieldDiffers(field::gameMode);
    c.reportRate = fieldDiffers(field::reportRate);
    c.responseTime = fieldDiffers(field::responseTime);
    c.keyMap = fieldDiffers(field::keyMap);
    for (std::size_t n = 0; n < kMacroBlockCount; ++n)
        c.macroBlocks[n] = Differs(image.macroBlock(n), snapshot.macroBlock(n));
    c.keyEnableMask = fieldDiffers(field::keyEnableMask);
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t)
        c.customLightingTables[t] =
            Differs(image.customLightingTable(t), snapshot.customLightingTable(t));
    // The five lighting bytes are contiguous: effect, speed, brightness, colour, direction.
    const ImageField lighting{field::lightingEffect.offset,
                              field::lightingDirection.end() - field::lightingEffect.offset};
    c.lighting = fieldDiffers(lighting);
    return c;
}

ApplyResult ApplyChanges(CommandChannel& ch, SettingsImage& image, DeviceSnapshot& snapshot) {
    ApplyWinLockToMask(image);
    ApplyResult result;
    result.sent = CompareWithSnapshot(image, snapshot);
    const ChangedGroups& c = result.sent;

    bool ok = WritePalmRestLighting(ch, image);
    if (!c.any()) {
        result.ok = ok;
        return result;
    }

    ok = WriteLightingEffect(ch, image, kLightingSubCodeDimmed) && ok;
    ch.pacer.Sleep(pause::kCommon);
    if (c.colourSlots) {
        for (std::size_t slot = 0; slot < kColourSlotCount; ++slot)
            ok = WriteColourSlot(ch, image, slot) && ok;
    }
    if (c.gameMode)
        ok = WriteGameModeFromImage(ch, image) && ok;
    if (c.reportRate)
        ok = WriteReportRate(ch, image) && ok;
    if (c.responseTime)
        ok = WriteResponseTime(ch, image) && ok;
    if (c.keyMap) {
        ok = WriteKeyMap(ch, image) && ok;
        ch.pacer.Sleep(kPauseAfterKeyMapWrite);
    }
    for (std::size_t n = 0; n < kMacroBlockCount; ++n) {
        if (c.macroBlocks[n]) {
            ok = WriteMacroBlock(ch, image, n) && ok;
            ch.pacer.Sleep(kPauseAfterMacroBlockWrite);
        }
    }
    if (c.keyEnableMask)
        ok = WriteKeyEnableMask(ch, image) && ok;
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t) {
        if (c.customLightingTables[t])
            ok = WriteCustomLightingTable(ch, image, t) && ok;
    }
    ok = WriteLightingEffect(ch, image, kLightingSubCodeFull) && ok;

    // Only what the keyboard received counts as sent; otherwise the next Save tries again.
    if (ok)
        snapshot = image;
    result.ok = ok;
    return result;
}

} // namespace orvo

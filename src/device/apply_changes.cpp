#include "device/apply_changes.h"

#include "device/feature_report.h"
#include "device/table_transfers.h"
#include "model/keyboard_groups.h"

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
    c.lighting = fieldDiffers(kLightingValues);
    return c;
}

ApplyResult ApplyChanges(CommandChannel& ch, SettingsImage& image, DeviceSnapshot& snapshot) {
    ApplyWinLockToMask(image);
    ApplyResult result;
    result.sent = CompareWithSnapshot(image, snapshot);
    const ChangedGroups& c = result.sent;
    ChangedGroups& delivered = result.delivered;

    result.palmRestDelivered = WritePalmRestLighting(ch, image);
    bool ok = result.palmRestDelivered;
    if (!c.any()) {
        result.ok = ok;
        return result;
    }
    // Records whether a group arrived whole; the sequence goes on either way.
    const auto deliver = [&ok](bool& group, bool arrived) {
        group = arrived;
        ok = arrived && ok;
    };

    ok = WriteLightingEffect(ch, image, kLightingSubCodeDimmed) && ok;
    ch.pacer.Sleep(pause::kCommon);
    if (c.colourSlots) {
        bool all = true;
        for (std::size_t slot = 0; slot < kColourSlotCount; ++slot)
            all = WriteColourSlot(ch, image, slot) && all;
        deliver(delivered.colourSlots, all);
    }
    if (c.gameMode)
        deliver(delivered.gameMode, WriteGameModeFromImage(ch, image));
    if (c.reportRate)
        deliver(delivered.reportRate, WriteReportRate(ch, image));
    if (c.responseTime)
        deliver(delivered.responseTime, WriteResponseTime(ch, image));
    if (c.keyMap) {
        deliver(delivered.keyMap, WriteKeyMap(ch, image));
        ch.pacer.Sleep(kPauseAfterKeyMapWrite);
    }
    for (std::size_t n = 0; n < kMacroBlockCount; ++n) {
        if (c.macroBlocks[n]) {
            deliver(delivered.macroBlocks[n], WriteMacroBlock(ch, image, n));
            ch.pacer.Sleep(kPauseAfterMacroBlockWrite);
        }
    }
    if (c.keyEnableMask)
        deliver(delivered.keyEnableMask, WriteKeyEnableMask(ch, image));
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t) {
        if (c.customLightingTables[t])
            deliver(delivered.customLightingTables[t], WriteCustomLightingTable(ch, image, t));
    }
    deliver(delivered.lighting, WriteLightingEffect(ch, image, kLightingSubCodeFull));

    // Only what the keyboard received counts as sent; otherwise the next Save tries again.
    if (ok)
        snapshot = image;
    result.ok = ok;
    return result;
}

} // namespace orvo

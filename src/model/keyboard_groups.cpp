#include "model/keyboard_groups.h"

#include <algorithm>

namespace orvo {

namespace {

constexpr std::array<ImageField, kKeyboardGroupCount> MakeKeyboardGroups() {
    std::array<ImageField, kKeyboardGroupCount> groups{};
    std::size_t n = 0;
    for (ImageField f : {kLightingValues, field::colourSlots, field::gameMode, field::reportRate,
                         field::responseTime, field::keyMap})
        groups[n++] = f;
    for (std::size_t b = 0; b < kMacroBlockCount; ++b)
        groups[n++] = {field::macroBlocks.offset + b * kMacroBlockSize, kMacroBlockSize};
    // The keyboard reports the lock with the mask, in the byte right after it.
    static_assert(field::winLock.offset == field::keyEnableMask.end());
    groups[n++] = {field::keyEnableMask.offset, field::keyEnableMask.size + field::winLock.size};
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t)
        groups[n++] = {field::customLightingTables.offset + t * kCustomLightingTableSize,
                       kCustomLightingTableSize};
    groups[n++] = field::palmRest;
    return groups;
}

// Evaluated at compile time, so a group too many or too few does not build.
static_assert(MakeKeyboardGroups().back().offset == field::palmRest.offset);

} // namespace

const std::array<ImageField, kKeyboardGroupCount> KeyboardGroups = MakeKeyboardGroups();

void MergeKeyboardValues(SettingsImage& image, const DeviceSnapshot& snapshot,
                         const SettingsImage& read) {
    for (ImageField group : KeyboardGroups) {
        if (std::ranges::equal(image[group], snapshot[group]))
            std::ranges::copy(read[group], image[group].begin());
    }
}

void KeepEditsTheScriptLeft(SettingsImage& loaded, const SettingsImage& edited,
                            const DeviceSnapshot& snapshot) {
    // A group the script left equal to the snapshot takes the edited value; where the user
    // edited nothing that value is the snapshot's, so the group stays as it is.
    MergeKeyboardValues(loaded, snapshot, edited);
}

} // namespace orvo

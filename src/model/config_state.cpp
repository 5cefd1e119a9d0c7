#include "model/config_state.h"

#include "model/key_tables.h"

namespace orvo {

namespace {
constexpr std::size_t kEntryDeviceCodeByte = 2; // byte 2 of an entry: the key's device code
} // namespace

void RecomputeCustomisedKeys(const SettingsImage& image, const KeyActionTable& actions,
                             CustomisedKeys& flags) {
    flags.fill(0);
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        const std::size_t slot = SlotOf(k);
        const KeyActionRecord& r = actions[k];
        const bool remapped = KeyMapEntry(image, slot)[kEntryDeviceCodeByte] !=
                              FactoryKeyMap[slot * kKeyMapEntrySize + kEntryDeviceCodeByte];
        const bool assigned = r.kind() != 0;
        const bool otherKey = r.kindData()[0] != r.keyCode() && r.capturedCount() == 1;
        const bool disabled = !IsKeySlotEnabled(image, slot);
        flags[k] = (remapped || assigned || otherKey || disabled) ? 1 : 0;
    }
    flags[kFnKeyIndex] = 0;
}

void RecomputeCustomisedKeys(ConfigState& state) {
    RecomputeCustomisedKeys(state.image, state.keyActions, state.customisedKeys);
}

void CommitSnapshot(ConfigState& state) {
    state.deviceSnapshot = state.image;
    state.keyActionSnapshot = state.keyActions;
}

void RevertToSnapshot(ConfigState& state) {
    state.image = state.deviceSnapshot;
    state.keyActions = state.keyActionSnapshot;
}

} // namespace orvo

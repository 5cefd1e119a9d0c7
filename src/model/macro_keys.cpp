#include "model/macro_keys.h"

#include "model/config_state.h"
#include "model/key_actions.h"
#include "model/key_tables.h"
#include "model/settings_image.h"

#include <algorithm>
#include <cstdint>

namespace orvo {

namespace {

// A macro assignment reads 4, 1, number, 0 in the key-map entry and in the record's kind data.
constexpr std::uint8_t kMacroType = static_cast<std::uint8_t>(KeyMapEntryType::Macro);
constexpr std::uint8_t kMacroTag = 1;
constexpr std::size_t kNumberByte = 2;

bool PlaysMacro(std::span<const std::uint8_t> bytes) {
    return bytes[0] == kMacroType && bytes[1] == kMacroTag;
}

// What becomes of a key playing macro `number`: its new number, or nullopt for a deleted one.
// Numbers the renumbering does not cover are unchanged.
std::optional<std::size_t> NewNumber(const MacroRenumbering& renumbering, std::size_t number) {
    if (number >= renumbering.size())
        return number;
    return renumbering[number];
}

} // namespace

std::size_t RenumberMacroKeys(ConfigState& state, const MacroRenumbering& renumbering) {
    std::size_t changed = 0;
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        const auto entry = KeyMapEntry(state.image, SlotOf(key));
        KeyActionRecord& record = state.keyActions[key];
        const bool recordPlaysMacro =
            record.kind() == static_cast<std::uint8_t>(AssignmentKind::Macro) &&
            PlaysMacro(record.kindData());
        const bool entryPlaysMacro = PlaysMacro(entry);
        if (!recordPlaysMacro && !entryPlaysMacro)
            continue;
        const std::size_t old =
            entryPlaysMacro ? entry[kNumberByte] : record.kindData()[kNumberByte];
        const std::optional<std::size_t> now = NewNumber(renumbering, old);
        if (now == old)
            continue;
        ++changed;
        if (!now) {
            // The macro is gone: the key does what it says on it again.
            if (entryPlaysMacro) {
                const std::size_t at = 4 * SlotOf(key);
                std::copy_n(FactoryKeyMap.begin() + static_cast<std::ptrdiff_t>(at),
                            kKeyMapEntrySize, entry.begin());
            }
            if (recordPlaysMacro)
                record.clearAssignment();
            continue;
        }
        const auto number = static_cast<std::uint8_t>(*now);
        if (entryPlaysMacro)
            entry[kNumberByte] = number;
        if (recordPlaysMacro)
            record.kindData()[kNumberByte] = number;
    }
    RecomputeCustomisedKeys(state);
    return changed;
}

} // namespace orvo

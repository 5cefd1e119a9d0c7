#include "model/settings_ranges.h"

#include <algorithm>

#include "model/effects.h"
#include "model/key_actions.h"
#include "model/macro_model.h"

namespace orvo {

namespace {

constexpr std::size_t kKeyMapEntryCount = field::keyMap.size / kKeyMapEntrySize;
constexpr std::uint8_t kMacroEntryMarker = 1; // byte 1 of a macro entry

bool IsKeyMapEntryType(std::uint8_t type) {
    constexpr std::array kTypes{KeyMapEntryType::Keys, KeyMapEntryType::Consumer,
                                KeyMapEntryType::Macro, KeyMapEntryType::HostAction};
    return std::ranges::any_of(
        kTypes, [&](KeyMapEntryType t) { return static_cast<std::uint8_t>(t) == type; });
}

void CheckKeyMap(const SettingsImage& image, std::vector<OutOfRange>& bad) {
    for (std::size_t slot = 0; slot < kKeyMapEntryCount; ++slot) {
        const auto entry = KeyMapEntry(image, slot);
        const std::string name = "keyMap[" + std::to_string(slot) + "]";
        if (!IsKeyMapEntryType(entry[0])) {
            bad.push_back({name + ".type", entry[0], "0, 3, 4 or 10"});
        } else if (entry[0] == static_cast<std::uint8_t>(KeyMapEntryType::Macro)) {
            if (entry[1] != kMacroEntryMarker)
                bad.push_back({name + ".byte1", entry[1], "1 in a macro entry"});
            if (entry[2] >= kMacroBlockCount)
                bad.push_back(
                    {name + ".macro", entry[2], "0.." + std::to_string(kMacroBlockCount - 1)});
        }
    }
}

void CheckMacroBlocks(const SettingsImage& image, std::vector<OutOfRange>& bad) {
    for (std::size_t n = 0; n < kMacroBlockCount; ++n) {
        const auto block = image.macroBlock(n);
        const unsigned repeat = static_cast<unsigned>(block[macro_block::repeatCount] << 8 |
                                                      block[macro_block::repeatCount + 1]);
        if (repeat > kMaxRepeatCount)
            bad.push_back({"macroBlocks[" + std::to_string(n) + "].repeatCount", repeat,
                           "0.." + std::to_string(kMaxRepeatCount)});
    }
}

} // namespace

std::vector<OutOfRange> OutOfRangeFields(const SettingsImage& image) {
    std::vector<OutOfRange> bad;
    for (const ValueRange& r : kValueRanges) {
        const std::uint8_t value = image.byte(r.field, r.byte);
        if (value < r.min || value > r.max)
            bad.push_back(
                {std::string(r.name), value, std::to_string(r.min) + ".." + std::to_string(r.max)});
    }
    if (const std::uint8_t effect = image.byte(field::lightingEffect);
        !EffectRow(EffectList, effect))
        bad.push_back({"lightingEffect", effect, "a code of the effect list"});
    CheckKeyMap(image, bad);
    CheckMacroBlocks(image, bad);
    return bad;
}

std::string Describe(const OutOfRange& bad) {
    return bad.field + " is " + std::to_string(bad.value) + " (allowed " + bad.allowed + ")";
}

std::string DescribeOutOfRange(const SettingsImage& image) {
    std::string list;
    for (const OutOfRange& bad : OutOfRangeFields(image))
        list += (list.empty() ? "" : ", ") + Describe(bad);
    return list;
}

} // namespace orvo

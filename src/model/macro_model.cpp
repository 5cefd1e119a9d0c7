#include "model/macro_model.h"

#include <algorithm>
#include <string>

#include "model/byte_order.h"
#include "model/utf16.h"

namespace orvo {

std::u16string MacroRecord::name() const {
    const auto end = std::find(nameUnits.begin(), nameUnits.begin() + kMacroNameMaxLength, u'\0');
    return std::u16string(nameUnits.begin(), end);
}

void MacroRecord::setName(std::u16string_view name) {
    name = name.substr(0, std::min(name.find(u'\0'), name.size()));
    const std::u16string_view kept = CutUtf16(name, kMacroNameMaxLength);
    nameUnits.fill(0);
    std::copy(kept.begin(), kept.end(), nameUnits.begin());
}

void MacroRecord::serialiseInto(std::span<std::uint8_t, kMacroRecordSize> out) const {
    for (std::size_t i = 0; i < kMacroNameUnits; ++i)
        WriteLe16(out, macro_record::name + 2 * i, nameUnits[i]);
    WriteLe16(out, macro_record::repeatCount, repeatCount);
    out[macro_record::flags] = flags;
    std::copy(deviceEvents.begin(), deviceEvents.end(), out.begin() + macro_record::deviceEvents);
    std::copy(displayEvents.begin(), displayEvents.end(),
              out.begin() + macro_record::displayEvents);
    out[macro_record::reserved] = reserved;
}

MacroRecord MacroRecord::parse(std::span<const std::uint8_t> in) {
    std::array<std::uint8_t, kMacroRecordSize> bytes{};
    std::copy_n(in.begin(), std::min(in.size(), kMacroRecordSize), bytes.begin());
    const std::span<const std::uint8_t> b(bytes);
    MacroRecord r;
    for (std::size_t i = 0; i < kMacroNameUnits; ++i)
        r.nameUnits[i] = ReadLe16(b, macro_record::name + 2 * i);
    r.repeatCount = ReadLe16(b, macro_record::repeatCount);
    r.flags = b[macro_record::flags];
    std::copy_n(b.begin() + macro_record::deviceEvents, kEventStreamSize, r.deviceEvents.begin());
    std::copy_n(b.begin() + macro_record::displayEvents, kEventStreamSize, r.displayEvents.begin());
    r.reserved = b[macro_record::reserved];
    return r;
}

std::size_t MacroStore::leadingMacroCount() const {
    const auto firstFree = std::find_if(m_slots.begin(), m_slots.end(),
                                        [](const MacroRecord& r) { return r.isFree(); });
    return static_cast<std::size_t>(firstFree - m_slots.begin());
}

std::vector<std::uint8_t> MacroStore::serialise() const {
    std::vector<std::uint8_t> bytes(kMacroStoreSize);
    for (std::size_t n = 0; n < kMacroSlotCount; ++n)
        m_slots[n].serialiseInto(
            std::span(bytes).subspan(n * kMacroRecordSize).first<kMacroRecordSize>());
    return bytes;
}

void MacroStore::parse(std::span<const std::uint8_t> in) {
    in = in.first(std::min(in.size(), kMacroStoreSize));
    for (std::size_t n = 0; n < kMacroSlotCount; ++n) {
        const std::size_t from = std::min(n * kMacroRecordSize, in.size());
        m_slots[n] = MacroRecord::parse(in.subspan(from));
    }
}

void WriteMacroBlock(const MacroRecord& macro, std::span<std::uint8_t> block) {
    if (block.size() < kMacroBlockSize)
        return;
    WriteBe16(block, macro_block::repeatCount, macro.repeatCount);
    std::copy(macro.deviceEvents.begin(), macro.deviceEvents.end(),
              block.begin() + macro_block::events);
}

std::size_t BuildMacroBlocks(const MacroStore& store, SettingsImage& image) {
    // The image holds 32 blocks; named slots past them (only a foreign file has them) are
    // never written over the fields behind the blocks.
    const std::size_t count = std::min(store.leadingMacroCount(), kMacroBlockCount);
    for (std::size_t n = 0; n < count; ++n)
        WriteMacroBlock(store[n], image.macroBlock(n));
    return count;
}

std::u16string MacroNameFor(unsigned number) {
    const char* prefix = number <= 9 ? "Macro_00" : number <= 98 ? "Macro_0" : "Macro_";
    std::u16string name;
    for (const char c : std::string(prefix) + std::to_string(number))
        name += static_cast<char16_t>(c);
    return name;
}

std::u16string NewMacroName(std::span<const std::u16string> existing) {
    for (unsigned i = 1;; ++i) {
        std::u16string name = MacroNameFor(i);
        if (std::find(existing.begin(), existing.end(), name) == existing.end())
            return name;
    }
}

} // namespace orvo

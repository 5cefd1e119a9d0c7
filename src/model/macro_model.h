#pragma once
// The macro definitions: `MacroStore`, the exact image of "MacroDefine.bin" (190 slots of
// 894 bytes), and the 192-byte `MacroBlock` form each macro takes in the settings image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/macro_events.h"
#include "model/settings_image.h"

namespace orvo {

inline constexpr std::size_t kMacroSlotCount = 190;
inline constexpr std::size_t kMacroRecordSize = 894;
inline constexpr std::size_t kMacroStoreSize = kMacroSlotCount * kMacroRecordSize;
static_assert(kMacroStoreSize == 169860);
inline constexpr std::size_t kMaxMacros = 32; // the keyboard holds 32 blocks
inline constexpr std::size_t kMacroNameUnits = 255;
inline constexpr std::size_t kMacroNameMaxLength = 254;
inline constexpr std::uint16_t kMaxRepeatCount = 999;
inline constexpr std::uint8_t kDelayOptionFlag = 0x01;

// Byte offsets inside one record of the file.
namespace macro_record {
inline constexpr std::size_t name = 0;          // UTF-16LE, NUL-terminated
inline constexpr std::size_t repeatCount = 510; // little-endian
inline constexpr std::size_t flags = 512;       // bit 0: delay option
inline constexpr std::size_t deviceEvents = 513;
inline constexpr std::size_t displayEvents = 703;
inline constexpr std::size_t reserved = 893;
static_assert(repeatCount == name + 2 * kMacroNameUnits);
static_assert(displayEvents == deviceEvents + kEventStreamSize);
static_assert(reserved == displayEvents + kEventStreamSize && reserved + 1 == kMacroRecordSize);
} // namespace macro_record

// Byte offsets inside a macro block.
namespace macro_block {
inline constexpr std::size_t repeatCount = 0; // big-endian
inline constexpr std::size_t events = 2;      // the device stream unchanged
static_assert(events + kEventStreamSize == kMacroBlockSize);
} // namespace macro_block

struct MacroRecord {
    std::array<char16_t, kMacroNameUnits> nameUnits{}; // raw field, kept for exact round trips
    std::uint16_t repeatCount = 0; // 1 plays once; 0 = never committed, shown as 1
    std::uint8_t flags = 0;
    EventStream deviceEvents{};
    EventStream displayEvents{};
    std::uint8_t reserved = 0;

    // The name up to its NUL, at most 254 units.
    std::u16string name() const;
    // Stores a name cut to 254 units.
    void setName(std::u16string_view name);
    bool isFree() const { return nameUnits[0] == 0; }
    bool delayOption() const { return (flags & kDelayOptionFlag) != 0; }
    EventStreams streams() { return {deviceEvents, displayEvents}; }

    void serialiseInto(std::span<std::uint8_t, kMacroRecordSize> out) const;
    // Zero-fills, then takes as many bytes as given (at most one record).
    static MacroRecord parse(std::span<const std::uint8_t> in);

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

// The 190 slots. Heap-backed so that a store can live on the stack; always 190 slots.
class MacroStore {
public:
    MacroStore() : m_slots(kMacroSlotCount) {}

    MacroRecord& operator[](std::size_t slot) { return m_slots.at(slot); }
    const MacroRecord& operator[](std::size_t slot) const { return m_slots.at(slot); }
    static constexpr std::size_t size() { return kMacroSlotCount; }
    auto begin() { return m_slots.begin(); }
    auto end() { return m_slots.end(); }
    auto begin() const { return m_slots.begin(); }
    auto end() const { return m_slots.end(); }

    // Named slots from slot 0 up to the first free one: the macros a key can be given.
    std::size_t leadingMacroCount() const;

    std::vector<std::uint8_t> serialise() const; // 169860 bytes
    // Zero-fills, then takes as many bytes as given (at most 169860).
    void parse(std::span<const std::uint8_t> in);

    friend bool operator==(const MacroStore&, const MacroStore&) = default;

private:
    std::vector<MacroRecord> m_slots;
};

// The keyboard's form of one macro: repeat count big-endian, then the device stream.
void WriteMacroBlock(const MacroRecord& macro, std::span<std::uint8_t> block);

// Writes block n from slot n for n = 0, 1, ... while slot n is named, at most 32 blocks;
// later blocks keep their content. Returns the number of blocks written.
std::size_t BuildMacroBlocks(const MacroStore& store, SettingsImage& image);

// "Macro_001" .. "Macro_009", "Macro_010" .. "Macro_098", then "Macro_99", "Macro_100"...
std::u16string MacroNameFor(unsigned number);
// The first such name, counting from 1, that none of the given names equals.
std::u16string NewMacroName(std::span<const std::u16string> existing);

} // namespace orvo

#pragma once
// The host's view of every key's assignment: one 772-byte `KeyActionRecord` per key index,
// 255 records in the `KeyActionTable`, stored after the settings image in "keymap.bin" and in
// profile files. Also the assignment kinds and the 4-byte key-map entry types the keyboard
// executes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

enum class AssignmentKind : std::uint8_t {
    SingleKey = 0,
    Combination = 1,
    Macro = 2,
    Function = 3,
    PlayAudio = 4, // host-side actions 4..7: the host starts the stored path
    RunProgram = 5,
    OpenFile = 6,
    OpenFolder = 7,
    Default = 8,   // dialog result only: give the key its own function; never stored
    Pending = 255, // record only: the advanced page was opened, nothing chosen yet
};

constexpr bool IsHostSideKind(std::uint8_t kind) {
    return kind >= static_cast<std::uint8_t>(AssignmentKind::PlayAudio) &&
           kind <= static_cast<std::uint8_t>(AssignmentKind::OpenFolder);
}

// Byte 0 of a key-map entry.
enum class KeyMapEntryType : std::uint8_t {
    Keys = 0,          // 0, then three device codes (a single key is 0, code, 0)
    Consumer = 3,      // 0, low byte, high byte of a Consumer page usage
    Macro = 4,         // 1, macro number, 0
    HostAction = 0x0A, // 0, key code of the key, 0: the keyboard reports the key to the host
};

// Kind data of the host-side kinds, stored for the file only.
inline constexpr std::array<std::uint8_t, 4> kHostActionKindData{3, 0, 0x23, 2};

inline constexpr std::size_t kKeyActionRecordSize = 772;
inline constexpr std::size_t kKeyActionCount = 255;
inline constexpr std::size_t kKeyActionTableSize = kKeyActionRecordSize * kKeyActionCount;
static_assert(kKeyActionTableSize == 196860);

namespace record {
inline constexpr std::size_t keyCode = 0;  // default code of the key
inline constexpr std::size_t kind = 1;     // AssignmentKind
inline constexpr std::size_t kindData = 2; // 255 bytes, zero beyond what the kind stores
inline constexpr std::size_t kindDataSize = 255;
inline constexpr std::size_t capturedCount = 257; // captured keys (kinds 0, 1), else 0
inline constexpr std::size_t zero = 258;          // 2 bytes, always zero
inline constexpr std::size_t path = 260;          // 256 UTF-16LE units, zero-terminated
inline constexpr std::size_t pathUnits = 256;
static_assert(path + 2 * pathUnits == kKeyActionRecordSize);
static_assert(kindData + kindDataSize == capturedCount);
} // namespace record

// One record, kept as its file bytes so that every byte survives a load and save.
class KeyActionRecord {
public:
    std::array<std::uint8_t, kKeyActionRecordSize> bytes{};

    std::uint8_t keyCode() const { return bytes[record::keyCode]; }
    void setKeyCode(std::uint8_t code) { bytes[record::keyCode] = code; }
    std::uint8_t kind() const { return bytes[record::kind]; }
    void setKind(std::uint8_t kind) { bytes[record::kind] = kind; }
    void setKind(AssignmentKind kind) { setKind(static_cast<std::uint8_t>(kind)); }
    std::span<std::uint8_t, record::kindDataSize> kindData() {
        return std::span(bytes).subspan<record::kindData, record::kindDataSize>();
    }
    std::span<const std::uint8_t, record::kindDataSize> kindData() const {
        return std::span(bytes).subspan<record::kindData, record::kindDataSize>();
    }
    std::uint8_t capturedCount() const { return bytes[record::capturedCount]; }
    void setCapturedCount(std::uint8_t n) { bytes[record::capturedCount] = n; }

    // The stored path (kinds 4..7) up to its NUL, at most 255 units.
    std::u16string path() const;
    // Stores a path, cut to 255 units so that the NUL always fits.
    void setPath(std::u16string_view path);

    // Kind, kind data and captured count back to zero; byte 0 and the path stay.
    void clearAssignment();

    friend bool operator==(const KeyActionRecord&, const KeyActionRecord&) = default;
};

// The 255 records. Heap-backed so that a table can live on the stack; always 255 records.
class KeyActionTable {
public:
    KeyActionTable() : m_records(kKeyActionCount) {}

    KeyActionRecord& operator[](std::size_t keyIndex) { return m_records.at(keyIndex); }
    const KeyActionRecord& operator[](std::size_t keyIndex) const { return m_records.at(keyIndex); }
    static constexpr std::size_t size() { return kKeyActionCount; }
    auto begin() { return m_records.begin(); }
    auto end() { return m_records.end(); }
    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

    // Every record zero, then byte 0 of records 0..112 from the default codes.
    void clear();
    // Byte 0 of records 0..112 from the default codes; done after every load.
    void reseedDefaultCodes();

    // The file form: 196860 bytes.
    void serialiseInto(std::span<std::uint8_t, kKeyActionTableSize> out) const;
    // Zero-fills, then takes as many bytes as given (at most 196860). No re-seeding.
    void parse(std::span<const std::uint8_t> in);

    // First record whose key code matches and whose kind is a host-side action.
    const KeyActionRecord* findHostAction(std::uint8_t keyCode) const;

    friend bool operator==(const KeyActionTable&, const KeyActionTable&) = default;

private:
    std::vector<KeyActionRecord> m_records;
};

} // namespace orvo

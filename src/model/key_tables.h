#pragma once
// The three numberings of a key and the tables between them:
// - key code: a Windows virtual-key code, the system's own name for a key;
// - device code: the byte the keyboard firmware understands (HID keyboard usages, the low
//   byte of Consumer usages for media keys, 0xF0..0xF9 for mouse functions);
// - key index: a physical key's position 0..120 in the key picture and the record table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/settings_image.h"
#include "model/window_layout.h"

namespace orvo {

inline constexpr std::size_t kKeyNameCount = 256;
inline constexpr std::size_t kKeyNameMaxUnits = 100; // name field of the original table

struct KeyName {
    std::uint8_t index = 0;      // the entry's own key code
    std::uint8_t deviceCode = 0; // 0 where the key code is not listed
    std::u16string_view name;    // empty where not listed; trailing spaces are part of it
};

// Indexed by key code 0x00..0xFF.
extern const std::array<KeyName, kKeyNameCount> KeyNameTable;

struct KeyLayout {
    std::uint8_t defaultCode = 0; // key code of the key's own function, 0 for none
    std::uint8_t slot = 0;        // matrix position 6 * column + row, 0..125
};

// Indexed by key index 0..120 (kKeyCount).
extern const std::array<KeyLayout, kKeyCount> KeyLayoutTable;

// The key map of a keyboard fresh from the factory: for every key's slot the entry
// 0, 0, device code of its default code, 0; slots without a key are zero.
inline constexpr std::size_t kKeyMapSize = 512;
extern const std::array<std::uint8_t, kKeyMapSize> FactoryKeyMap;

// Name of a key code as shown to the user ("A ", "0", "Enter ").
std::u16string_view KeyNameOf(std::uint8_t keyCode);
// Device code written into key-map entries and macro streams; 0 for unlisted codes.
std::uint8_t DeviceCodeOf(std::uint8_t keyCode);
// Default code of a key index; 0 for an index outside 0..120.
std::uint8_t DefaultCodeOf(std::size_t keyIndex);
// Slot of a key index; for an index outside 0..120 slot 126, which has no key and no enable
// bit but still lies inside the key map and the lighting tables.
std::uint8_t SlotOf(std::size_t keyIndex);
// Key index owning a slot, or -1 for slots without a key (18, 24, 42, 48, 107, 126, 127).
int KeyIndexOfSlot(std::size_t slot);

} // namespace orvo

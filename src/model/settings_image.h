#pragma once
// The settings image: one flat block holding every keyboard setting and table at fixed
// offsets. The same bytes are exchanged with the keyboard, edited by the window and stored
// in "keymap.bin" and in profile files, so every offset below holds in all of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvo {

inline constexpr std::size_t kSettingsImageSize = 10068;

// A byte range of the image: where it starts and how many bytes it covers.
struct ImageField {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t end() const { return offset + size; }
};

namespace field {
inline constexpr ImageField reserved0{0x0000, 11};     // carried through files unchanged
inline constexpr ImageField reportRate{0x000B, 1};     // report-rate index 0..3
inline constexpr ImageField reserved1{0x000C, 780};    // carried through files unchanged
inline constexpr ImageField keyMap{0x0318, 512};       // 128 entries of 4 bytes, by slot
inline constexpr ImageField macroBlocks{0x0518, 6144}; // 32 blocks of 192 bytes
inline constexpr ImageField reserved2{0x1D18, 1};
inline constexpr ImageField responseTime{0x1D19, 1};            // written to the keyboard + 1
inline constexpr ImageField lightingEffect{0x1D1A, 1};          // 51..55 select table 0..4
inline constexpr ImageField lightingSpeed{0x1D1B, 1};           // slider 0..9, device 10 - x
inline constexpr ImageField lightingBrightness{0x1D1C, 1};      // 0..50
inline constexpr ImageField lightingColour{0x1D1D, 1};          // 1..7 slot, 8 multicolour
inline constexpr ImageField lightingDirection{0x1D1E, 1};       // 1..4
inline constexpr ImageField colourSlots{0x1D1F, 21};            // 7 x (R, G, B)
inline constexpr ImageField gameMode{0x1D34, 1};                // 0 off, 1 on
inline constexpr ImageField keyEnableMask{0x1D35, 21};          // one bit per slot, 1 = enabled
inline constexpr ImageField winLock{0x1D4A, 1};                 // host-side only
inline constexpr ImageField customLightingTables{0x1D4B, 2560}; // 5 x 512 bytes
inline constexpr ImageField palmRest{0x274B, 8};                // palm-rest block
inline constexpr ImageField reserved3{0x2753, 1};

// The fields tile the image without gaps or overlaps.
static_assert(reportRate.offset == reserved0.end() && reserved1.offset == reportRate.end() &&
              keyMap.offset == reserved1.end() && macroBlocks.offset == keyMap.end() &&
              reserved2.offset == macroBlocks.end() && responseTime.offset == reserved2.end() &&
              lightingEffect.offset == responseTime.end() &&
              lightingSpeed.offset == lightingEffect.end() &&
              lightingBrightness.offset == lightingSpeed.end() &&
              lightingColour.offset == lightingBrightness.end() &&
              lightingDirection.offset == lightingColour.end() &&
              colourSlots.offset == lightingDirection.end() &&
              gameMode.offset == colourSlots.end() && keyEnableMask.offset == gameMode.end() &&
              winLock.offset == keyEnableMask.end() &&
              customLightingTables.offset == winLock.end() &&
              palmRest.offset == customLightingTables.end() && reserved3.offset == palmRest.end() &&
              reserved3.end() == kSettingsImageSize);
} // namespace field

inline constexpr std::size_t kKeyMapEntrySize = 4;
inline constexpr std::size_t kMacroBlockCount = 32;
inline constexpr std::size_t kMacroBlockSize = 192;
inline constexpr std::size_t kColourSlotCount = 7;
inline constexpr std::size_t kCustomLightingTableCount = 5;
inline constexpr std::size_t kCustomLightingTableSize = 512;
inline constexpr std::uint8_t kFirstCustomEffect = 51; // effect 51 + t shows table t
inline constexpr std::uint8_t kLastCustomEffect =
    kFirstCustomEffect + kCustomLightingTableCount - 1; // 55
// Effects from 51 on are custom profiles: no colour slots, and key clicks may colour keys.
// The keyboard may report one above 55, which has no table.
constexpr bool IsCustomEffect(std::uint8_t effect) {
    return effect >= kFirstCustomEffect;
}

// Bytes of the palm-rest block.
namespace palm {
inline constexpr std::size_t command = 0;    // forced to 7 before every write
inline constexpr std::size_t effect = 1;     // 0..3
inline constexpr std::size_t brightness = 2; // 0..50
inline constexpr std::size_t speed = 3;      // 1..5 (slider position + 1)
inline constexpr std::size_t mode = 4;       // travels unchanged
inline constexpr std::size_t red = 5;
inline constexpr std::size_t green = 6;
inline constexpr std::size_t blue = 7;
} // namespace palm

// One settings image. The process keeps two: the image the user edits and the snapshot of
// what the keyboard last received or reported (`DeviceSnapshot`).
struct SettingsImage {
    std::array<std::uint8_t, kSettingsImageSize> bytes{};

    std::span<std::uint8_t> operator[](ImageField f) {
        return std::span(bytes).subspan(f.offset, f.size);
    }
    std::span<const std::uint8_t> operator[](ImageField f) const {
        return std::span(bytes).subspan(f.offset, f.size);
    }
    std::uint8_t& byte(ImageField f, std::size_t i = 0) { return bytes[f.offset + i]; }
    std::uint8_t byte(ImageField f, std::size_t i = 0) const { return bytes[f.offset + i]; }

    std::span<std::uint8_t> macroBlock(std::size_t n) {
        return (*this)[field::macroBlocks].subspan(n * kMacroBlockSize, kMacroBlockSize);
    }
    std::span<const std::uint8_t> macroBlock(std::size_t n) const {
        return (*this)[field::macroBlocks].subspan(n * kMacroBlockSize, kMacroBlockSize);
    }
    std::span<std::uint8_t> customLightingTable(std::size_t t) {
        return (*this)[field::customLightingTables].subspan(t * kCustomLightingTableSize,
                                                            kCustomLightingTableSize);
    }
    std::span<const std::uint8_t> customLightingTable(std::size_t t) const {
        return (*this)[field::customLightingTables].subspan(t * kCustomLightingTableSize,
                                                            kCustomLightingTableSize);
    }

    friend bool operator==(const SettingsImage&, const SettingsImage&) = default;
};

using DeviceSnapshot = SettingsImage;

// Key-enable mask: slot s (0..125) is bit (s mod 6) of mask byte (s div 6); bits 6 and 7 of
// every mask byte carry no key.
inline constexpr std::size_t kKeySlotCount = 126;
inline constexpr std::size_t kSlotsPerMaskByte = 6;
inline constexpr std::size_t kWindowsKeySlot = 6;       // mask byte 1, bit 0
inline constexpr std::uint8_t kWinLockMaskClear = 0x3E; // clears the Win bit and bits 6, 7
inline constexpr std::uint8_t kWinKeyBit = 0x01;

bool IsKeySlotEnabled(const SettingsImage& image, std::size_t slot);
void SetKeySlotEnabled(SettingsImage& image, std::size_t slot, bool enabled);

// Brings the Windows key's mask bit in line with `winLock` before the mask goes to the
// keyboard: lock on clears it (and bits 6, 7 of that byte), lock off sets it.
void ApplyWinLockToMask(SettingsImage& image);
// After a mask was read from the keyboard: `winLock` is 1 exactly when the Win bit is clear.
void UpdateWinLockFromMask(SettingsImage& image);

// The 4-byte key-map entry of a slot (0..127).
std::span<std::uint8_t, kKeyMapEntrySize> KeyMapEntry(SettingsImage& image, std::size_t slot);
std::span<const std::uint8_t, kKeyMapEntrySize> KeyMapEntry(const SettingsImage& image,
                                                            std::size_t slot);

// Lighting speed: the image keeps the slider position 0..9, the keyboard the value 10 - x.
// Out-of-range inputs are clamped so that a bad value never wraps around.
inline constexpr std::uint8_t kMaxSpeedPosition = 9;
inline constexpr std::uint8_t kSpeedBase = 10;
constexpr std::uint8_t SpeedPositionToDevice(std::uint8_t position) {
    return static_cast<std::uint8_t>(kSpeedBase -
                                     (position > kMaxSpeedPosition ? kMaxSpeedPosition : position));
}
constexpr std::uint8_t SpeedDeviceToPosition(std::uint8_t value) {
    if (value < kSpeedBase - kMaxSpeedPosition)
        return kMaxSpeedPosition;
    return static_cast<std::uint8_t>(value >= kSpeedBase ? 0 : kSpeedBase - value);
}

// The keyboard's firmware version as reported: major, minor, 0, 0. Kept beside the image,
// never stored in a file.
struct FirmwareVersion {
    std::array<std::uint8_t, 4> bytes{};
    std::uint8_t major() const { return bytes[0]; }
    std::uint8_t minor() const { return bytes[1]; }
    friend bool operator==(const FirmwareVersion&, const FirmwareVersion&) = default;
};

} // namespace orvo

#pragma once
// Physical keys as Windows virtual-key codes, the key codes the key tables are indexed by.
// A key is identified by where it sits, not by the character the layout gives it, so a German
// or French layout still records the key in that place. Left and right Shift, Ctrl, Alt and
// Win stay apart, the keypad keeps its own codes whatever the Num Lock state, and the keypad
// Enter is 0x6C.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvo {

// Linux: evdev key codes (linux/input-event-codes.h); X and Wayland report them as XKB
// keycodes 8 higher.
struct EvdevKey {
    std::uint16_t evdev;
    std::uint8_t virtualKey;
};
inline constexpr std::size_t kEvdevKeyCount = 127;
extern const std::array<EvdevKey, kEvdevKeyCount> EvdevKeyTable;
inline constexpr unsigned kXkbKeycodeOffset = 8;

// 0 for a key without a virtual-key code.
std::uint8_t VirtualKeyFromEvdev(unsigned evdevCode);
std::uint8_t VirtualKeyFromXkbKeycode(unsigned xkbKeycode);

// Windows: the message's virtual key with its scan code (bit 8 set for extended keys), made
// as specific as the table needs: the generic Shift, Ctrl and Alt become their left or right
// code, the keypad Enter 0x6C, and keypad keys read with Num Lock off their number codes.
std::uint8_t VirtualKeyFromWindows(unsigned nativeVirtualKey, unsigned scanCode);

} // namespace orvo

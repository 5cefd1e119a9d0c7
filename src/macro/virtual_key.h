#pragma once
// The virtual-key code of a Qt key event: the physical key from the platform's scan code
// where the event carries one, else a code derived from the Qt key and the keypad modifier.

#include <Qt>

#include <cstdint>

class QKeyEvent;

namespace orvo {

// How a code is derived, by platform: on Windows the native virtual key (made left/right and
// keypad specific); on macOS the Qt key; everywhere else a nonzero native scan code is an XKB
// keycode (X11, Wayland, and synthesized events that set one). Events without a usable native
// code (synthesized test events, the offscreen platform) fall back to the Qt key. 0 for a key
// without a virtual-key code.
std::uint8_t VirtualKeyOf(const QKeyEvent& event);

// The fallback: a US-layout reading of the Qt key. Without the scan code left and right
// modifiers cannot be told apart; they come out as the left ones (AltGr as right Alt).
std::uint8_t VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace orvo

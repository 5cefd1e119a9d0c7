#include "model/scan_codes.h"

#include <algorithm>

namespace orvo {

const std::array<EvdevKey, kEvdevKeyCount> EvdevKeyTable{{
    {1, 0x1B},                                          // Esc
    {2, 0x31},   {3, 0x32},   {4, 0x33},   {5, 0x34},   // 1..4
    {6, 0x35},   {7, 0x36},   {8, 0x37},   {9, 0x38},   // 5..8
    {10, 0x39},  {11, 0x30},                            // 9, 0
    {12, 0xBD},  {13, 0xBB},  {14, 0x08},  {15, 0x09},  // - = Backspace Tab
    {16, 0x51},  {17, 0x57},  {18, 0x45},  {19, 0x52},  // Q W E R
    {20, 0x54},  {21, 0x59},  {22, 0x55},  {23, 0x49},  // T Y U I
    {24, 0x4F},  {25, 0x50},  {26, 0xDB},  {27, 0xDD},  // O P [ ]
    {28, 0x0D},  {29, 0xA2},                            // Enter, left Ctrl
    {30, 0x41},  {31, 0x53},  {32, 0x44},  {33, 0x46},  // A S D F
    {34, 0x47},  {35, 0x48},  {36, 0x4A},  {37, 0x4B},  // G H J K
    {38, 0x4C},  {39, 0xBA},  {40, 0xDE},  {41, 0xC0},  // L ; ' `
    {42, 0xA0},  {43, 0xDC},                            // left Shift, backslash
    {44, 0x5A},  {45, 0x58},  {46, 0x43},  {47, 0x56},  // Z X C V
    {48, 0x42},  {49, 0x4E},  {50, 0x4D},  {51, 0xBC},  // B N M ,
    {52, 0xBE},  {53, 0xBF},  {54, 0xA1},  {55, 0x6A},  // . / right Shift, keypad *
    {56, 0xA4},  {57, 0x20},  {58, 0x14},               // left Alt, Space, Caps Lock
    {59, 0x70},  {60, 0x71},  {61, 0x72},  {62, 0x73},  // F1..F4
    {63, 0x74},  {64, 0x75},  {65, 0x76},  {66, 0x77},  // F5..F8
    {67, 0x78},  {68, 0x79},                            // F9, F10
    {69, 0x90},  {70, 0x91},                            // Num Lock, Scroll Lock
    {71, 0x67},  {72, 0x68},  {73, 0x69},  {74, 0x6D},  // keypad 7 8 9 -
    {75, 0x64},  {76, 0x65},  {77, 0x66},  {78, 0x6B},  // keypad 4 5 6 +
    {79, 0x61},  {80, 0x62},  {81, 0x63},  {82, 0x60},  // keypad 1 2 3 0
    {83, 0x6E},                                         // keypad .
    {86, 0xE2},                                         // the extra key of ISO boards
    {87, 0x7A},  {88, 0x7B},                            // F11, F12
    {96, 0x6C},  {97, 0xA3},  {98, 0x6F},               // keypad Enter, right Ctrl, keypad /
    {99, 0x2C},  {100, 0xA5},                           // Print Screen, right Alt
    {102, 0x24}, {103, 0x26}, {104, 0x21}, {105, 0x25}, // Home Up PgUp Left
    {106, 0x27}, {107, 0x23}, {108, 0x28}, {109, 0x22}, // Right End Down PgDn
    {110, 0x2D}, {111, 0x2E},                           // Insert, Delete
    {113, 0xAD}, {114, 0xAE}, {115, 0xAF},              // Mute, Volume down, Volume up
    {119, 0x13},                                        // Pause
    {125, 0x5B}, {126, 0x5C}, {127, 0x5D}, {139, 0x5D}, // left Win, right Win, Menu (twice)
    {163, 0xB0}, {164, 0xB3}, {165, 0xB1}, {166, 0xB2}, // next, play/pause, previous, stop
    {171, 0xB5}, {226, 0xB5},                           // media player (usage 0x0183)
    {183, 0x7C}, {184, 0x7D}, {185, 0x7E}, {186, 0x7F}, // F13..F16
    {187, 0x80}, {188, 0x81}, {189, 0x82}, {190, 0x83}, // F17..F20
    {191, 0x84}, {192, 0x85}, {193, 0x86}, {194, 0x87}, // F21..F24
}};

std::uint8_t VirtualKeyFromEvdev(unsigned evdevCode) {
    const auto it = std::ranges::find(EvdevKeyTable, evdevCode,
                                      [](const EvdevKey& k) { return unsigned{k.evdev}; });
    return it == EvdevKeyTable.end() ? 0 : it->virtualKey;
}

std::uint8_t VirtualKeyFromXkbKeycode(unsigned xkbKeycode) {
    return xkbKeycode < kXkbKeycodeOffset ? 0 : VirtualKeyFromEvdev(xkbKeycode - kXkbKeycodeOffset);
}

namespace {
constexpr unsigned kExtendedScanCode = 0x100;
constexpr unsigned kRightShiftScanCode = 0x36;
constexpr unsigned kVkShift = 0x10;
constexpr unsigned kVkControl = 0x11;
constexpr unsigned kVkMenu = 0x12;
constexpr unsigned kVkReturn = 0x0D;
constexpr std::uint8_t kVkKeypadEnter = 0x6C;

// Keypad scan codes (not extended) and their number-pad codes, which Windows replaces by
// navigation codes while Num Lock is off.
struct KeypadScanCode {
    unsigned scanCode;
    std::uint8_t virtualKey;
};
constexpr std::array<KeypadScanCode, 11> kKeypadScanCodes{{
    {0x47, 0x67},
    {0x48, 0x68},
    {0x49, 0x69},
    {0x4B, 0x64},
    {0x4C, 0x65},
    {0x4D, 0x66},
    {0x4F, 0x61},
    {0x50, 0x62},
    {0x51, 0x63},
    {0x52, 0x60},
    {0x53, 0x6E},
}};
} // namespace

std::uint8_t VirtualKeyFromWindows(unsigned nativeVirtualKey, unsigned scanCode) {
    const bool extended = (scanCode & kExtendedScanCode) != 0;
    switch (nativeVirtualKey) {
    case kVkShift:
        return (scanCode & 0xFF) == kRightShiftScanCode ? 0xA1 : 0xA0;
    case kVkControl:
        return extended ? 0xA3 : 0xA2;
    case kVkMenu:
        return extended ? 0xA5 : 0xA4;
    case kVkReturn:
        return extended ? kVkKeypadEnter : 0x0D;
    default:
        break;
    }
    if (!extended) {
        const auto it = std::ranges::find(kKeypadScanCodes, scanCode, &KeypadScanCode::scanCode);
        if (it != kKeypadScanCodes.end())
            return it->virtualKey;
    }
    return nativeVirtualKey <= 0xFF ? static_cast<std::uint8_t>(nativeVirtualKey) : 0;
}

} // namespace orvo

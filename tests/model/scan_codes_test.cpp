#include "model/scan_codes.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <map>
#include <set>

#include "model/key_tables.h"
#include "model/window_layout.h"

namespace orvo {
namespace {

// The physical key of every key index, named by the kernel's key codes (US positions).
const std::map<std::size_t, unsigned> kKeyOfIndex = {
    {0, KEY_ESC},         {1, KEY_F1},          {2, KEY_F2},          {3, KEY_F3},
    {4, KEY_F4},          {5, KEY_F5},          {6, KEY_F6},          {7, KEY_F7},
    {8, KEY_F8},          {9, KEY_F9},          {10, KEY_F10},        {11, KEY_F11},
    {12, KEY_F12},        {13, KEY_SYSRQ},      {14, KEY_SCROLLLOCK}, {15, KEY_PAUSE},
    {17, KEY_CONFIG},     {18, KEY_PLAYPAUSE},  {19, KEY_VOLUMEUP},   {20, KEY_GRAVE},
    {21, KEY_1},          {22, KEY_2},          {23, KEY_3},          {24, KEY_4},
    {25, KEY_5},          {26, KEY_6},          {27, KEY_7},          {28, KEY_8},
    {29, KEY_9},          {30, KEY_0},          {31, KEY_MINUS},      {32, KEY_EQUAL},
    {33, KEY_BACKSPACE},  {34, KEY_INSERT},     {35, KEY_HOME},       {36, KEY_PAGEUP},
    {37, KEY_NUMLOCK},    {38, KEY_KPSLASH},    {39, KEY_KPASTERISK}, {40, KEY_KPMINUS},
    {41, KEY_TAB},        {42, KEY_Q},          {43, KEY_W},          {44, KEY_E},
    {45, KEY_R},          {46, KEY_T},          {47, KEY_Y},          {48, KEY_U},
    {49, KEY_I},          {50, KEY_O},          {51, KEY_P},          {52, KEY_LEFTBRACE},
    {53, KEY_RIGHTBRACE}, {54, KEY_ENTER},      {55, KEY_DELETE},     {56, KEY_END},
    {57, KEY_PAGEDOWN},   {58, KEY_KP7},        {59, KEY_KP8},        {60, KEY_KP9},
    {61, KEY_KPPLUS},     {62, KEY_CAPSLOCK},   {63, KEY_A},          {64, KEY_S},
    {65, KEY_D},          {66, KEY_F},          {67, KEY_G},          {68, KEY_H},
    {69, KEY_J},          {70, KEY_K},          {71, KEY_L},          {72, KEY_SEMICOLON},
    {73, KEY_APOSTROPHE}, {74, KEY_BACKSLASH},  {75, KEY_KP4},        {76, KEY_KP5},
    {77, KEY_KP6},        {78, KEY_LEFTSHIFT},  {79, KEY_Z},          {80, KEY_X},
    {81, KEY_C},          {82, KEY_V},          {83, KEY_B},          {84, KEY_N},
    {85, KEY_M},          {86, KEY_COMMA},      {87, KEY_DOT},        {88, KEY_SLASH},
    {89, KEY_RIGHTSHIFT}, {90, KEY_UP},         {91, KEY_KP1},        {92, KEY_KP2},
    {93, KEY_KP3},        {94, KEY_KPENTER},    {95, KEY_LEFTCTRL},   {96, KEY_LEFTMETA},
    {97, KEY_LEFTALT},    {98, KEY_SPACE},      {99, KEY_RIGHTALT},   {100, KEY_COMPOSE},
    {101, KEY_COMPOSE},   {102, KEY_RIGHTCTRL}, {103, KEY_LEFT},      {104, KEY_DOWN},
    {105, KEY_RIGHT},     {106, KEY_KP0},       {107, KEY_KPDOT},
};

TEST(ScanCodes, EveryKeyTheKeyboardSendsReadsAsItsOwnCode) {
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        const std::uint8_t code = DefaultCodeOf(k);
        // Keys without a code, or whose code has no device code, send nothing to the host.
        if (code == 0 || DeviceCodeOf(code) == 0) {
            EXPECT_EQ(kKeyOfIndex.count(k), 0u) << k;
            continue;
        }
        ASSERT_EQ(kKeyOfIndex.count(k), 1u) << "no physical key for index " << k;
        const unsigned evdev = kKeyOfIndex.at(k);
        EXPECT_EQ(VirtualKeyFromEvdev(evdev), code) << k;
        EXPECT_EQ(VirtualKeyFromXkbKeycode(evdev + 8), code) << k;
    }
}

TEST(ScanCodes, EachPhysicalKeyHasOneEntry) {
    std::set<unsigned> seen;
    for (const EvdevKey& k : EvdevKeyTable) {
        EXPECT_TRUE(seen.insert(k.evdev).second) << k.evdev;
        EXPECT_NE(k.virtualKey, 0) << k.evdev;
    }
    EXPECT_EQ(VirtualKeyFromEvdev(0), 0);
    EXPECT_EQ(VirtualKeyFromEvdev(KEY_RESERVED), 0);
    EXPECT_EQ(VirtualKeyFromEvdev(KEY_POWER), 0);
    EXPECT_EQ(VirtualKeyFromXkbKeycode(3), 0);
}

TEST(ScanCodes, WindowsKeysBecomeSideAndKeypadSpecific) {
    struct Row {
        unsigned virtualKey;
        unsigned scanCode; // bit 8: extended key
        std::uint8_t expected;
    };
    const Row rows[] = {
        {0x10, 0x02A, 0xA0}, {0x10, 0x036, 0xA1}, // Shift left, right
        {0x11, 0x01D, 0xA2}, {0x11, 0x11D, 0xA3}, // Ctrl
        {0x12, 0x038, 0xA4}, {0x12, 0x138, 0xA5}, // Alt
        {0x0D, 0x01C, 0x0D}, {0x0D, 0x11C, 0x6C}, // Enter, keypad Enter
        {0x24, 0x047, 0x67}, {0x24, 0x147, 0x24}, // keypad 7 without Num Lock, Home
        {0x2E, 0x053, 0x6E}, {0x2E, 0x153, 0x2E}, // keypad . without Num Lock, Delete
        {0x0C, 0x04C, 0x65},                      // keypad 5 without Num Lock
        {0x67, 0x047, 0x67}, {0x41, 0x01E, 0x41},  {0xA0, 0x02A, 0xA0},
        {0x5D, 0x15D, 0x5D}, {0x1FF, 0x000, 0x00},
    };
    for (const Row& r : rows)
        EXPECT_EQ(VirtualKeyFromWindows(r.virtualKey, r.scanCode), r.expected)
            << std::hex << r.virtualKey << " " << r.scanCode;
}

} // namespace
} // namespace orvo

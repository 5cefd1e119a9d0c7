#include "model/key_tables.h"

namespace orvo {

namespace {

struct ListedKey {
    std::uint8_t keyCode;
    std::uint8_t deviceCode;
    std::u16string_view name;
};

// Keys listed one by one; letters, digits and F-keys are filled by rule below.
constexpr ListedKey kListedKeys[] = {
    {0x08, 0x2A, u"Back "},
    {0x09, 0x2B, u"Tab "},
    {0x0D, 0x28, u"Enter "},
    {0x13, 0x48, u"Pause "},
    {0x14, 0x39, u"Caps "},
    {0x1B, 0x29, u"Esc "},
    {0x20, 0x2C, u"Space "},
    {0x21, 0x4B, u"PgUp "},
    {0x22, 0x4E, u"PgDn "},
    {0x23, 0x4D, u"End "},
    {0x24, 0x4A, u"Home "},
    {0x25, 0x50, u"Left "},
    {0x26, 0x52, u"Up "},
    {0x27, 0x4F, u"Right "},
    {0x28, 0x51, u"Down "},
    {0x2C, 0x46, u"Prscr "},
    {0x2D, 0x49, u"Inst "},
    {0x2E, 0x4C, u"Del "},
    {0x5B, 0xE3, u"LWin "},
    {0x5C, 0xE7, u"RWin "},
    {0x5D, 0x65, u"Apps "},
    {0x60, 0x62, u"0-num "},
    {0x61, 0x59, u"1-num "},
    {0x62, 0x5A, u"2-num "},
    {0x63, 0x5B, u"3-num "},
    {0x64, 0x5C, u"4-num "},
    {0x65, 0x5D, u"5-num "},
    {0x66, 0x5E, u"6-num "},
    {0x67, 0x5F, u"7-num "},
    {0x68, 0x60, u"8-num "},
    {0x69, 0x61, u"9-num "},
    {0x6A, 0x55, u"* "},
    {0x6B, 0x57, u"+ "},
    {0x6C, 0x58, u"Enter "},
    {0x6D, 0x56, u"- "},
    {0x6E, 0x63, u". "},
    {0x6F, 0x54, u"/ "},
    {0x90, 0x53, u"Num "},
    {0x91, 0x47, u"Scrol "},
    {0xA0, 0xE1, u"LShift "},
    {0xA1, 0xE5, u"RShift "},
    {0xA2, 0xE0, u"LCtrl "},
    {0xA3, 0xE4, u"RCtrl "},
    {0xA4, 0xE2, u"LAlt "},
    {0xA5, 0xE6, u"RAlt "},
    {0xAE, 0xEA, u"Volume DOWN "},
    {0xAF, 0xE9, u"Volume UP "},
    {0xB3, 0xCD, u"Play/Pause"},
    {0xB5, 0x83, u"Media "},
    {0xBA, 0x33, u"; "},
    {0xBB, 0x2E, u"= "},
    {0xBC, 0x36, u", "},
    {0xBD, 0x2D, u"- "},
    {0xBE, 0x37, u". "},
    {0xBF, 0x38, u"/ "},
    {0xC0, 0x35, u"` "},
    {0xDB, 0x2F, u"[ "},
    {0xDC, 0x32, u"\\ "},
    {0xDD, 0x30, u"] "},
    {0xDE, 0x34, u"' "},
    {0xF0, 0xF0, u"MsLB"},
    {0xF1, 0xF1, u"MsRB"},
    {0xF2, 0xF2, u"MsMB"},
    {0xF3, 0xF3, u""},
    {0xF4, 0xF4, u""},
    {0xF5, 0xF5, u"Mouse Pointer Right"},
    {0xF6, 0xF6, u"Mouse Pointer Up"},
    {0xF7, 0xF7, u"Mouse pointer Down"},
    {0xF8, 0xF8, u"Mouse Wheel Up"},
    {0xF9, 0xF9, u"Mouse Wheel Down"},
};

// Two units per name: the character and its trailing space.
constexpr std::u16string_view kLetterNames =
    u"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z ";
constexpr std::u16string_view kDigitNames = u"1 2 3 4 5 6 7 8 9 ";
constexpr std::u16string_view kFunctionKeyNames[] = {u"F1 ", u"F2 ",  u"F3 ",  u"F4 ",
                                                     u"F5 ", u"F6 ",  u"F7 ",  u"F8 ",
                                                     u"F9 ", u"F10 ", u"F11 ", u"F12 "};

constexpr std::uint8_t kFirstLetter = 0x41; // 'A', device code 0x04
constexpr std::uint8_t kLetterToDevice = 0x3D;
constexpr std::uint8_t kFirstDigit = 0x31; // '1', device code 0x1E
constexpr std::uint8_t kDigitToDevice = 0x13;
constexpr std::uint8_t kDigitZero = 0x30;
constexpr std::uint8_t kDigitZeroDevice = 0x27;
constexpr std::uint8_t kFirstFunctionKey = 0x70; // F1, device code 0x3A
constexpr std::uint8_t kFunctionKeyToDevice = 0x36;

constexpr std::array<KeyName, kKeyNameCount> BuildKeyNameTable() {
    std::array<KeyName, kKeyNameCount> t{};
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i].index = static_cast<std::uint8_t>(i);
    for (std::size_t i = 0; i < 26; ++i) {
        KeyName& k = t[kFirstLetter + i];
        k.deviceCode = static_cast<std::uint8_t>(kFirstLetter + i - kLetterToDevice);
        k.name = kLetterNames.substr(2 * i, 2);
    }
    for (std::size_t i = 0; i < 9; ++i) {
        KeyName& k = t[kFirstDigit + i];
        k.deviceCode = static_cast<std::uint8_t>(kFirstDigit + i - kDigitToDevice);
        k.name = kDigitNames.substr(2 * i, 2);
    }
    t[kDigitZero].deviceCode = kDigitZeroDevice;
    t[kDigitZero].name = u"0";
    for (std::size_t i = 0; i < 12; ++i) {
        KeyName& k = t[kFirstFunctionKey + i];
        k.deviceCode = static_cast<std::uint8_t>(kFirstFunctionKey + i - kFunctionKeyToDevice);
        k.name = kFunctionKeyNames[i];
    }
    for (const ListedKey& l : kListedKeys) {
        t[l.keyCode].deviceCode = l.deviceCode;
        t[l.keyCode].name = l.name;
    }
    return t;
}

} // namespace

constexpr std::array<KeyName, kKeyNameCount> kKeyNameTable = BuildKeyNameTable();
const std::array<KeyName, kKeyNameCount> KeyNameTable = kKeyNameTable;

namespace {
// Key index -> default code, slot.
constexpr std::array<KeyLayout, kKeyCount> kKeyLayoutTable{
    {{0x1B, 5},   {0x70, 17},  {0x71, 23},  {0x72, 29},  {0x73, 35},  {0x74, 41},  {0x75, 47},
     {0x76, 53},  {0x77, 59},  {0x78, 65},  {0x79, 71},  {0x7A, 77},  {0x7B, 83},  {0x2C, 89},
     {0x91, 95},  {0x13, 101}, {0xE2, 11},  {0xB5, 113}, {0xB3, 119}, {0xAF, 125}, {0xC0, 4},
     {0x31, 10},  {0x32, 16},  {0x33, 22},  {0x34, 28},  {0x35, 34},  {0x36, 40},  {0x37, 46},
     {0x38, 52},  {0x39, 58},  {0x30, 64},  {0xBD, 70},  {0xBB, 76},  {0x08, 82},  {0x2D, 88},
     {0x24, 94},  {0x21, 100}, {0x90, 106}, {0x6F, 112}, {0x6A, 118}, {0x6D, 124}, {0x09, 3},
     {0x51, 9},   {0x57, 15},  {0x45, 21},  {0x52, 27},  {0x54, 33},  {0x59, 39},  {0x55, 45},
     {0x49, 51},  {0x4F, 57},  {0x50, 63},  {0xDB, 69},  {0xDD, 75},  {0x0D, 81},  {0x2E, 87},
     {0x23, 93},  {0x22, 99},  {0x67, 105}, {0x68, 111}, {0x69, 117}, {0x6B, 122}, {0x14, 2},
     {0x41, 8},   {0x53, 14},  {0x44, 20},  {0x46, 26},  {0x47, 32},  {0x48, 38},  {0x4A, 44},
     {0x4B, 50},  {0x4C, 56},  {0xBA, 62},  {0xDE, 68},  {0xDC, 80},  {0x64, 104}, {0x65, 110},
     {0x66, 116}, {0xA0, 1},   {0x5A, 7},   {0x58, 13},  {0x43, 19},  {0x56, 25},  {0x42, 31},
     {0x4E, 37},  {0x4D, 43},  {0xBC, 49},  {0xBE, 55},  {0xBF, 61},  {0xA1, 73},  {0x26, 91},
     {0x61, 103}, {0x62, 109}, {0x63, 115}, {0x6C, 120}, {0xA2, 0},   {0x5B, 6},   {0xA4, 12},
     {0x20, 30},  {0xA5, 54},  {0x5D, 60},  {0x5D, 66},  {0xA3, 78},  {0x25, 84},  {0x28, 90},
     {0x27, 96},  {0x60, 102}, {0x6E, 114}, {0xE9, 67},  {0xEA, 74},  {0xEB, 72},  {0xEC, 79},
     {0xED, 85},  {0x00, 86},  {0x00, 92},  {0x00, 97},  {0x00, 98},  {0x00, 36},  {0x00, 108},
     {0x00, 121}, {0x00, 123}}};

constexpr std::array<std::uint8_t, kKeyMapSize> BuildFactoryKeyMap() {
    std::array<std::uint8_t, kKeyMapSize> map{};
    for (const KeyLayout& k : kKeyLayoutTable)
        map[k.slot * kKeyMapEntrySize + 2] = kKeyNameTable[k.defaultCode].deviceCode;
    return map;
}
} // namespace

const std::array<KeyLayout, kKeyCount> KeyLayoutTable = kKeyLayoutTable;
const std::array<std::uint8_t, kKeyMapSize> FactoryKeyMap = BuildFactoryKeyMap();

std::u16string_view KeyNameOf(std::uint8_t keyCode) {
    return kKeyNameTable[keyCode].name;
}

std::uint8_t DeviceCodeOf(std::uint8_t keyCode) {
    return kKeyNameTable[keyCode].deviceCode;
}

std::uint8_t DefaultCodeOf(std::size_t keyIndex) {
    return keyIndex < kKeyCount ? kKeyLayoutTable[keyIndex].defaultCode : 0;
}

std::uint8_t SlotOf(std::size_t keyIndex) {
    return keyIndex < kKeyCount ? kKeyLayoutTable[keyIndex].slot
                                : static_cast<std::uint8_t>(kKeySlotCount);
}

int KeyIndexOfSlot(std::size_t slot) {
    for (std::size_t i = 0; i < kKeyCount; ++i) {
        if (kKeyLayoutTable[i].slot == slot)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace orvo

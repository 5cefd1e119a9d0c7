#include "macro/virtual_key.h"

#include "model/scan_codes.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>
#include <array>
#include <span>

namespace orvo {

namespace {

struct QtKeyCode {
    int qtKey;
    std::uint8_t virtualKey;
};

// Keys of the keypad, told by Qt::KeypadModifier; with Num Lock off they arrive as the
// navigation keys printed under the digits.
constexpr auto kKeypadKeys = std::to_array<QtKeyCode>({
    {Qt::Key_0, 0x60},      {Qt::Key_1, 0x61},        {Qt::Key_2, 0x62},
    {Qt::Key_3, 0x63},      {Qt::Key_4, 0x64},        {Qt::Key_5, 0x65},
    {Qt::Key_6, 0x66},      {Qt::Key_7, 0x67},        {Qt::Key_8, 0x68},
    {Qt::Key_9, 0x69},      {Qt::Key_Insert, 0x60},   {Qt::Key_End, 0x61},
    {Qt::Key_Down, 0x62},   {Qt::Key_PageDown, 0x63}, {Qt::Key_Left, 0x64},
    {Qt::Key_Clear, 0x65},  {Qt::Key_Right, 0x66},    {Qt::Key_Home, 0x67},
    {Qt::Key_Up, 0x68},     {Qt::Key_PageUp, 0x69},   {Qt::Key_Asterisk, 0x6A},
    {Qt::Key_Plus, 0x6B},   {Qt::Key_Enter, 0x6C},    {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E}, {Qt::Key_Delete, 0x6E},   {Qt::Key_Slash, 0x6F},
});

// Everything else, with the shifted characters of the US layout on their keys.
constexpr auto kMainKeys = std::to_array<QtKeyCode>({
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x6C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Home, 0x24},
    {Qt::Key_End, 0x23},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_Shift, 0xA0},
    {Qt::Key_Control, 0xA2},
    {Qt::Key_Alt, 0xA4},
    {Qt::Key_AltGr, 0xA5},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Space, 0x20},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_ParenRight, 0x30},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_VolumeDown, 0xAE},
    {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_MediaPause, 0xB3},
    {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_LaunchMedia, 0xB5},
});

std::uint8_t Lookup(std::span<const QtKeyCode> table, int qtKey) {
    const auto it = std::ranges::find(table, qtKey, &QtKeyCode::qtKey);
    return it == table.end() ? 0 : it->virtualKey;
}

} // namespace

std::uint8_t VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const std::uint8_t vk = Lookup(kKeypadKeys, qtKey))
            return vk;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<std::uint8_t>(qtKey); // Qt and Windows share these codes
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<std::uint8_t>(0x70 + (qtKey - Qt::Key_F1));
    return Lookup(kMainKeys, qtKey);
}

std::uint8_t VirtualKeyOf(const QKeyEvent& event) {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"windows") {
        if (event.nativeVirtualKey() != 0)
            return VirtualKeyFromWindows(event.nativeVirtualKey(), event.nativeScanCode());
    } else if (platform != u"cocoa" && event.nativeScanCode() != 0) {
        if (const std::uint8_t vk = VirtualKeyFromXkbKeycode(event.nativeScanCode()))
            return vk;
    }
    return VirtualKeyFromQtKey(event.key(), event.modifiers());
}

} // namespace orvo

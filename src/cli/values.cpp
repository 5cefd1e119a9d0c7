#include "cli/values.h"

#include "model/name_lookup.h"
#include "model/utf16.h"

namespace orvo::cli {

std::optional<unsigned> NumberIn(std::string_view text, unsigned min, unsigned max) {
    const auto wide = Text16(text);
    if (!wide)
        return std::nullopt;
    const auto n = ParseNumber(*wide, max);
    if (!n || *n < min)
        return std::nullopt;
    return n;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<Rgb> HexColour(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    unsigned bytes[3] = {};
    for (std::size_t i = 0; i < 6; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        bytes[i / 2] = bytes[i / 2] * 16 + static_cast<unsigned>(digit);
    }
    return Rgb{static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1]),
               static_cast<std::uint8_t>(bytes[2])};
}

std::optional<bool> OnOff(std::string_view text) {
    if (text == "on")
        return true;
    if (text == "off")
        return false;
    return std::nullopt;
}

std::optional<std::u16string> Text16(std::string_view utf8) {
    return FromUtf8(utf8);
}

} // namespace orvo::cli

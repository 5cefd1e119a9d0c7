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

std::optional<Rgb> HexColour(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    unsigned bytes[3] = {};
    for (std::size_t i = 0; i < 6; ++i) {
        const char ch = text[i];
        unsigned digit = 0;
        if (ch >= '0' && ch <= '9')
            digit = static_cast<unsigned>(ch - '0');
        else if (ch >= 'a' && ch <= 'f')
            digit = static_cast<unsigned>(ch - 'a' + 10);
        else if (ch >= 'A' && ch <= 'F')
            digit = static_cast<unsigned>(ch - 'A' + 10);
        else
            return std::nullopt;
        bytes[i / 2] = bytes[i / 2] * 16 + digit;
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

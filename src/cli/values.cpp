#include "cli/values.h"

#include "model/name_lookup.h"
#include "model/utf16.h"

namespace orvo::cli {

std::optional<unsigned> NumberIn(std::string_view text, unsigned min, unsigned max) {
    const auto wide = FromUtf8(text);
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

std::optional<std::size_t> NumberOrName(std::span<const std::u16string> names,
                                        std::string_view word) {
    if (const auto n = NumberIn(word, 0, 999))
        return *n < names.size() ? std::optional<std::size_t>(*n) : std::nullopt;
    const auto wide = FromUtf8(word);
    if (!wide)
        return std::nullopt;
    const std::u16string wanted = FoldedName(*wide);
    for (std::size_t n = 0; n < names.size(); ++n) {
        if (FoldedName(names[n]) == wanted)
            return n;
    }
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::optional<bool> OnOff(std::string_view text) {
    if (text == "on")
        return true;
    if (text == "off")
        return false;
    return std::nullopt;
}

} // namespace orvo::cli

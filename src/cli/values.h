#pragma once
// The values orvoctl's words and files carry (numbers in a range, hex digits, colours, on/off,
// a place among names) and a word quoted for a message.

#include "model/colour_model.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvo::cli {

// A whole decimal number min..max.
std::optional<unsigned> NumberIn(std::string_view text, unsigned min, unsigned max);
// 0..15 for a hex digit of either case, else -1.
int HexDigit(char c);
// "RRGGBB" or "#RRGGBB", six hex digits.
std::optional<Rgb> HexColour(std::string_view text);
// The place of `word` among `names`: a number from 0 below their count, else the first name
// equal to it as names are compared (FoldedName).
std::optional<std::size_t> NumberOrName(std::span<const std::u16string> names,
                                        std::string_view word);
// The text in double quotes, as messages name what was given.
std::string Quoted(std::string_view text);
// "on" or "off"
std::optional<bool> OnOff(std::string_view text);

} // namespace orvo::cli

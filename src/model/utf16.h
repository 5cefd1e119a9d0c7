#pragma once
// UTF-16 text as the files store it (macro names, action paths: UTF-16LE, NUL-terminated in
// fixed-size fields) and its conversion to UTF-8 for terminals and JSON.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvo {

// Reads UTF-16LE units from a fixed field up to the first NUL, at most maxUnits units.
std::u16string ReadUtf16Le(std::span<const std::uint8_t> field, std::size_t maxUnits);

// Writes text into a fixed field as UTF-16LE: at most (field units - 1) units, then NUL and
// zeros to the end of the field. Returns the number of units kept. A cut never leaves half of
// a surrogate pair behind.
std::size_t WriteUtf16Le(std::span<std::uint8_t> field, std::u16string_view text);

// Cuts text to at most maxUnits units without splitting a surrogate pair.
std::u16string_view CutUtf16(std::u16string_view text, std::size_t maxUnits);

// UTF-8 of a UTF-16 text; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);

// One UTF-8 sequence: its code point and length. A byte that starts no well-formed sequence
// (stray or overlong bytes, surrogates, code points above U+10FFFF, a cut sequence) decodes
// alone, not valid.
struct Decoded {
    char32_t code = 0;
    std::size_t length = 1;
    bool valid = false;
};
Decoded DecodeUtf8(std::string_view utf8, std::size_t at);

// UTF-16 of a UTF-8 text; nullopt when it is not well-formed UTF-8 (stray or overlong bytes,
// surrogates, code points above U+10FFFF).
std::optional<std::u16string> FromUtf8(std::string_view utf8);

// No unpaired surrogate: the text survives a trip through UTF-8 unchanged.
bool IsWellFormedUtf16(std::u16string_view text);

} // namespace orvo

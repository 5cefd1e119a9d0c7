#include "model/utf16.h"

#include <algorithm>

#include "model/byte_order.h"

namespace orvo {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
} // namespace

std::u16string ReadUtf16Le(std::span<const std::uint8_t> field, std::size_t maxUnits) {
    std::u16string text;
    const std::size_t units = std::min(maxUnits, field.size() / 2);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = ReadLe16(field, 2 * i);
        if (u == 0)
            break;
        text += u;
    }
    return text;
}

std::u16string_view CutUtf16(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    std::size_t n = maxUnits;
    if (n > 0 && IsHighSurrogate(text[n - 1]))
        --n;
    return text.substr(0, n);
}

std::size_t WriteUtf16Le(std::span<std::uint8_t> field, std::u16string_view text) {
    const std::size_t capacity = field.size() / 2;
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    if (capacity == 0)
        return 0;
    // Stop at an embedded NUL: what follows it could never be read back.
    text = text.substr(0, std::min(text.find(u'\0'), text.size()));
    const std::u16string_view kept = CutUtf16(text, capacity - 1);
    for (std::size_t i = 0; i < kept.size(); ++i)
        WriteLe16(field, 2 * i, kept[i]);
    return kept.size();
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            AppendUtf8(out, c);
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

Decoded DecodeUtf8(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return {lead, 1, true};
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0; // smallest code point of that length, to refuse overlong forms
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return {};
    }
    if (at + length > s.size())
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return {};
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, length, true};
}

std::optional<std::u16string> FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded d = DecodeUtf8(utf8, at);
        if (!d.valid)
            return std::nullopt;
        if (d.code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((d.code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((d.code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(d.code);
        }
        at += d.length;
    }
    return out;
}

bool IsWellFormedUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
            return false;
    }
    return true;
}

} // namespace orvo

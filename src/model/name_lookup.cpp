#include "model/name_lookup.h"

#include "model/effects.h"
#include "model/key_tables.h"
#include "model/window_layout.h"

#include <array>

namespace orvo {

namespace {

constexpr char16_t kIndexMark = u'#';
constexpr std::u16string_view kPalmEnding = u"-plam rest"; // folded

// The letter without its accent, lower-case, for the Latin-1 letters the names use.
char16_t FoldLetter(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c - u'A' + u'a');
    if (c < 0xC0 || c > 0xFF)
        return c;
    // 0xC0..0xFF, upper and lower case alike (0xD7 and 0xF7 are signs, 0xDF sharp s).
    constexpr std::u16string_view kBase = u"aaaaaaaceeeeiiiidnooooo\u00d7ouuuuyt\u00df"
                                          u"aaaaaaaceeeeiiiidnooooo\u00f7ouuuuyty";
    return kBase[c - 0xC0];
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0xA0;
}

template <std::size_t N>
std::optional<std::uint8_t> FindInList(const std::array<Effect, N>& list,
                                       std::u16string_view nameOrCode,
                                       std::u16string_view ending = {}) {
    if (const auto code = ParseNumber(nameOrCode, 255)) {
        if (EffectRow(list, static_cast<std::uint8_t>(*code)))
            return static_cast<std::uint8_t>(*code);
        return std::nullopt;
    }
    const std::u16string wanted = FoldedName(nameOrCode);
    for (const Effect& e : list) {
        std::u16string name = FoldedName(e.name);
        if (name == wanted)
            return e.code;
        if (!ending.empty() && name.ends_with(ending)) {
            name.resize(name.size() - ending.size());
            if (name == wanted)
                return e.code;
        }
    }
    return std::nullopt;
}

// "#N" with N below `count`.
std::optional<std::size_t> IndexMark(std::u16string_view text, std::size_t count) {
    const std::u16string folded = FoldedName(text);
    if (folded.size() < 2 || folded[0] != kIndexMark)
        return std::nullopt;
    const auto n = ParseNumber(std::u16string_view(folded).substr(1), 255);
    if (!n || *n >= count)
        return std::nullopt;
    return *n;
}

bool IsKeypadCode(std::uint8_t code) {
    return code >= 0x60 && code <= 0x6F;
}

// Of the keys a name finds, the one a person means: the main block's before the keypad's, any
// before the Fn key (which carries the Apps code), then the lowest index.
int Preference(std::size_t key) {
    return (IsKeypadCode(DefaultCodeOf(key)) ? 1 : 0) + (key == kFnKeyIndex ? 2 : 0);
}

} // namespace

std::u16string FoldedName(std::u16string_view text) {
    std::u16string out;
    bool blank = false;
    for (const char16_t c : text) {
        if (IsBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += u' ';
        blank = false;
        out += FoldLetter(c);
    }
    return out;
}

std::optional<unsigned> ParseNumber(std::u16string_view text, unsigned max) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    unsigned value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - u'0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

std::optional<std::uint8_t> FindEffect(std::u16string_view nameOrCode) {
    return FindInList(EffectList, nameOrCode);
}

std::optional<std::uint8_t> FindPalmEffect(std::u16string_view nameOrCode) {
    return FindInList(PalmEffectList, nameOrCode, kPalmEnding);
}

std::optional<std::size_t> FindKeyIndex(std::u16string_view name) {
    if (const auto index = IndexMark(name, kKeyCount))
        return index;
    const std::u16string wanted = FoldedName(name);
    if (wanted.empty())
        return std::nullopt;
    // Each key's two names, folded once.
    struct KeyNames {
        std::array<std::u16string, kKeyCount> byTable, byLabel;
    };
    static const KeyNames names = [] {
        KeyNames n;
        for (std::size_t k = 0; k < kKeyCount; ++k) {
            n.byTable[k] = FoldedName(KeyNameOf(DefaultCodeOf(k)));
            const std::string_view label = KeyPictureTable[k].label;
            n.byLabel[k] = FoldedName(std::u16string(label.begin(), label.end()));
        }
        return n;
    }();
    // The key table's names first, then the labels of the key picture.
    for (const auto* table : {&names.byTable, &names.byLabel}) {
        std::optional<std::size_t> best;
        for (std::size_t k = 0; k < kKeyCount; ++k) {
            if ((*table)[k] == wanted && (!best || Preference(k) < Preference(*best)))
                best = k;
        }
        if (best)
            return best;
    }
    return std::nullopt;
}

std::optional<std::uint8_t> FindKeyCode(std::u16string_view name) {
    if (const auto index = IndexMark(name, kKeyCount)) {
        const std::uint8_t code = DefaultCodeOf(*index);
        return code == 0 ? std::nullopt : std::optional<std::uint8_t>(code);
    }
    const std::u16string wanted = FoldedName(name);
    if (wanted.empty())
        return std::nullopt;
    std::optional<std::uint8_t> best;
    for (const KeyName& k : KeyNameTable) {
        if (FoldedName(k.name) != wanted)
            continue;
        if (!best || (IsKeypadCode(*best) && !IsKeypadCode(k.index)))
            best = k.index;
    }
    return best;
}

namespace {

std::u16string FirstNameFindingKey(std::size_t keyIndex) {
    // The first of the key's names that finds it again.
    std::u16string_view name = KeyNameOf(DefaultCodeOf(keyIndex));
    while (!name.empty() && IsBlank(name.back()))
        name.remove_suffix(1);
    const std::string_view label = KeyPictureTable[keyIndex].label;
    for (const std::u16string& candidate :
         {std::u16string(name), std::u16string(label.begin(), label.end())}) {
        if (!candidate.empty() && FindKeyIndex(candidate) == keyIndex)
            return candidate;
    }
    const std::string number = std::to_string(keyIndex);
    return kIndexMark + std::u16string(number.begin(), number.end());
}

} // namespace

std::u16string KeyIndexName(std::size_t keyIndex) {
    if (keyIndex >= kKeyCount)
        return {};
    static const std::array<std::u16string, kKeyCount> names = [] {
        std::array<std::u16string, kKeyCount> n;
        for (std::size_t k = 0; k < kKeyCount; ++k)
            n[k] = FirstNameFindingKey(k);
        return n;
    }();
    return names[keyIndex];
}

const FunctionRow* FindFunctionByName(std::u16string_view name) {
    const std::u16string wanted = FoldedName(name);
    for (const FunctionRow& row : FunctionTable) {
        if (!row.isGroup && FoldedName(row.label) == wanted)
            return &row;
    }
    return nullptr;
}

} // namespace orvo

#pragma once
// A small JSON reader for the files orvoctl takes (profiles written by `orvoctl export`). It
// keeps the line each value starts on, so that a value at fault can be named with its line,
// and refuses what would make a document ambiguous or dangerous: duplicate keys, lone
// surrogates, text that is not UTF-8, nesting deeper than any profile needs.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo::cli {

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    std::size_t line = 0; // 1-based line the value starts on
    bool boolean = false;
    std::string text; // a number as written, or a string's UTF-8
    std::vector<JsonValue> items;
    std::vector<JsonMember> members; // in document order

    // The member with this key, or nullptr.
    const JsonValue* find(std::string_view key) const;
};

// A pair of its own rather than std::pair, which needs its types complete where it is named.
struct JsonMember {
    std::string key;
    JsonValue value;
};

struct JsonParse {
    std::optional<JsonValue> value;
    std::size_t line = 0; // where reading stopped, when it failed
    std::size_t column = 0;
    std::string error;
};

inline constexpr std::size_t kMaxJsonDepth = 32;

JsonParse ParseJson(std::string_view text);

} // namespace orvo::cli

#include "cli/json_reader.h"

#include "cli/values.h"
#include "model/utf16.h"

#include <set>

namespace orvo::cli {

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    JsonParse Run() {
        JsonParse result;
        JsonValue value;
        if (Value(value, 0)) {
            SkipBlanks();
            if (m_at == m_text.size())
                result.value = std::move(value);
            else
                Error("text after the document");
        }
        if (!result.value) {
            result.line = m_errorLine;
            result.column = m_errorColumn;
            result.error = m_error;
        }
        return result;
    }

private:
    bool Error(std::string message) {
        if (m_error.empty()) {
            m_error = std::move(message);
            m_errorLine = m_line;
            m_errorColumn = m_at - m_lineStart + 1;
        }
        return false;
    }

    void SkipBlanks() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '\n') {
                ++m_line;
                m_lineStart = m_at + 1;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++m_at;
        }
    }

    bool Take(char c) {
        SkipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    bool Literal(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word)
            return Error("unknown word");
        m_at += word.size();
        return true;
    }

    bool Value(JsonValue& v, std::size_t depth) {
        SkipBlanks();
        if (depth > kMaxJsonDepth)
            return Error("nested too deeply");
        v.line = m_line;
        if (m_at >= m_text.size())
            return Error("the document ends where a value should be");
        switch (m_text[m_at]) {
        case '{':
            return Object(v, depth);
        case '[':
            return Array(v, depth);
        case '"':
            v.kind = JsonValue::Kind::String;
            return String(v.text);
        case 't':
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
            return Literal("true");
        case 'f':
            v.kind = JsonValue::Kind::Bool;
            return Literal("false");
        case 'n':
            return Literal("null");
        default:
            return Number(v);
        }
    }

    bool Object(JsonValue& v, std::size_t depth) {
        v.kind = JsonValue::Kind::Object;
        ++m_at;
        if (Take('}'))
            return true;
        std::set<std::string, std::less<>> keys;
        do {
            SkipBlanks();
            if (m_at >= m_text.size() || m_text[m_at] != '"')
                return Error("expected a key in quotes");
            std::string key;
            if (!String(key))
                return false;
            if (!keys.insert(key).second)
                return Error("the key \"" + key + "\" is given twice");
            if (!Take(':'))
                return Error("expected ':' after the key");
            JsonValue member;
            if (!Value(member, depth + 1))
                return false;
            v.members.push_back({std::move(key), std::move(member)});
        } while (Take(','));
        return Take('}') || Error("expected ',' or '}'");
    }

    bool Array(JsonValue& v, std::size_t depth) {
        v.kind = JsonValue::Kind::Array;
        ++m_at;
        if (Take(']'))
            return true;
        do {
            JsonValue item;
            if (!Value(item, depth + 1))
                return false;
            v.items.push_back(std::move(item));
        } while (Take(','));
        return Take(']') || Error("expected ',' or ']'");
    }

    bool Digits() {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9')
            ++m_at;
        return m_at > start;
    }

    bool Number(JsonValue& v) {
        v.kind = JsonValue::Kind::Number;
        const std::size_t start = m_at;
        if (m_text[m_at] == '-')
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == '0')
            ++m_at;
        else if (!Digits())
            return Error(m_at == start ? "unexpected character" : "a number without digits");
        if (m_at < m_text.size() && m_text[m_at] == '.') {
            ++m_at;
            if (!Digits())
                return Error("a number without digits after '.'");
        }
        if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-'))
                ++m_at;
            if (!Digits())
                return Error("a number without digits in its exponent");
        }
        v.text = std::string(m_text.substr(start, m_at - start));
        return true;
    }

    std::optional<unsigned> Hex4() {
        if (m_at + 4 > m_text.size())
            return std::nullopt;
        unsigned value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const int digit = HexDigit(m_text[m_at + i]);
            if (digit < 0)
                return std::nullopt;
            value = value << 4 | static_cast<unsigned>(digit);
        }
        m_at += 4;
        return value;
    }

    bool String(std::string& out) {
        ++m_at; // the opening quote
        // Plain printable ASCII up to the closing quote is taken as it is.
        std::size_t end = m_at;
        while (end < m_text.size() && m_text[end] >= 0x20 && m_text[end] < 0x7F &&
               m_text[end] != '"' && m_text[end] != '\\')
            ++end;
        if (end < m_text.size() && m_text[end] == '"') {
            out.assign(m_text.substr(m_at, end - m_at));
            m_at = end + 1;
            return true;
        }
        std::u16string units;
        std::size_t plainFrom = m_at;
        const auto flushPlain = [&]() -> bool {
            const auto text = FromUtf8(m_text.substr(plainFrom, m_at - plainFrom));
            if (!text)
                return Error("text that is not UTF-8");
            units += *text;
            return true;
        };
        while (true) {
            if (m_at >= m_text.size())
                return Error("a string without its closing quote");
            const char c = m_text[m_at];
            if (c == '"') {
                if (!flushPlain())
                    return false;
                ++m_at;
                break;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return Error("a control character inside a string");
            if (c != '\\') {
                ++m_at;
                continue;
            }
            if (!flushPlain())
                return false;
            ++m_at;
            if (m_at >= m_text.size())
                return Error("a string without its closing quote");
            const char e = m_text[m_at++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                units += static_cast<char16_t>(e);
                break;
            case 'b':
                units += u'\b';
                break;
            case 'f':
                units += u'\f';
                break;
            case 'n':
                units += u'\n';
                break;
            case 'r':
                units += u'\r';
                break;
            case 't':
                units += u'\t';
                break;
            case 'u': {
                const auto unit = Hex4();
                if (!unit)
                    return Error("\\u needs four hex digits");
                units += static_cast<char16_t>(*unit);
                break;
            }
            default:
                return Error("an unknown escape");
            }
            plainFrom = m_at;
        }
        if (!IsWellFormedUtf16(units))
            return Error("a string with half of a surrogate pair");
        out = ToUtf8(units);
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 1;
    std::size_t m_lineStart = 0;
    std::string m_error;
    std::size_t m_errorLine = 0;
    std::size_t m_errorColumn = 0;
};

} // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
    for (const auto& [name, value] : members) {
        if (name == key)
            return &value;
    }
    return nullptr;
}

JsonParse ParseJson(std::string_view text) {
    return Reader(text).Run();
}

} // namespace orvo::cli

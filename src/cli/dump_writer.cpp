#include "cli/dump_writer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "model/utf16.h"

namespace orvo::cli {

namespace {

std::string Hex2(unsigned char c) {
    char buf[5];
    std::snprintf(buf, sizeof buf, "%02x", c);
    return buf;
}

std::string Hex4(char32_t c) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%04x", static_cast<unsigned>(c));
    return buf;
}

// Characters that would break the dump's lines or reorder what a terminal shows: the C0 and
// C1 controls, DEL, the bidirectional marks, embeddings, overrides and isolates, and the line
// and paragraph separators.
bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Text form: "key: value" lines, two spaces per level; array elements on their own lines,
// an object inside an array opens with "- ".
class TextWriter final : public DumpWriter {
public:
    void beginObject(std::string_view key) override {
        if (!inArray()) {
            if (!m_levels.empty() || !key.empty())
                line(std::string(key) + ":");
        } else {
            m_dash = true;
        }
        m_levels.push_back(false);
    }
    void endObject() override {
        m_levels.pop_back();
        m_dash = false;
    }
    void beginArray(std::string_view key) override {
        line(inArray() ? std::string("-") : std::string(key) + ":");
        m_levels.push_back(true);
    }
    void endArray() override { m_levels.pop_back(); }
    void number(std::string_view key, std::int64_t value) override {
        scalar(key, std::to_string(value));
    }
    void boolean(std::string_view key, bool value) override { scalar(key, value ? "yes" : "no"); }
    void string(std::string_view key, std::string_view utf8) override {
        scalar(key, Printable(utf8));
    }
    std::string finish() override { return std::move(m_out); }

private:
    bool inArray() const { return !m_levels.empty() && m_levels.back(); }

    // Depth of the current level: the top object sits at 0.
    std::size_t indent() const { return m_levels.empty() ? 0 : 2 * (m_levels.size() - 1); }

    void line(const std::string& text) {
        std::string prefix(indent(), ' ');
        if (m_dash && prefix.size() >= 2) {
            prefix[prefix.size() - 2] = '-';
            m_dash = false;
        }
        m_out += prefix + text + '\n';
    }
    void scalar(std::string_view key, const std::string& value) {
        line(inArray() ? value : std::string(key) + ": " + value);
    }
    // Control characters would break the line structure or reorder it; show them as escapes:
    // \xNN for C0 controls, DEL and bytes that are not UTF-8, \uNNNN for the others.
    static std::string Printable(std::string_view utf8) {
        std::string out;
        for (std::size_t at = 0; at < utf8.size();) {
            const Decoded d = DecodeUtf8(utf8, at);
            if (!d.valid || d.code < 0x20 || d.code == 0x7F)
                out += "\\x" + Hex2(static_cast<unsigned char>(utf8[at]));
            else if (IsControl(d.code))
                out += "\\u" + Hex4(d.code);
            else
                out += utf8.substr(at, d.length);
            at += d.length;
        }
        return out;
    }

    std::string m_out;
    std::vector<bool> m_levels; // true for an array
    bool m_dash = false;
};

class JsonWriter final : public DumpWriter {
public:
    void beginObject(std::string_view key) override { open(key, '{'); }
    void endObject() override { close('}'); }
    void beginArray(std::string_view key) override { open(key, '['); }
    void endArray() override { close(']'); }
    void number(std::string_view key, std::int64_t value) override {
        item(key);
        m_out += std::to_string(value);
    }
    void boolean(std::string_view key, bool value) override {
        item(key);
        m_out += value ? "true" : "false";
    }
    void string(std::string_view key, std::string_view utf8) override {
        item(key);
        m_out += '"' + JsonEscape(utf8) + '"';
    }
    std::string finish() override { return std::move(m_out) + '\n'; }

private:
    struct Level {
        bool array;
        bool empty = true;
    };

    void item(std::string_view key) {
        if (m_levels.empty())
            return;
        Level& level = m_levels.back();
        if (!level.empty)
            m_out += ',';
        level.empty = false;
        m_out += '\n' + std::string(2 * m_levels.size(), ' ');
        if (!level.array)
            m_out += '"' + JsonEscape(key) + "\": ";
    }
    void open(std::string_view key, char bracket) {
        item(key);
        m_out += bracket;
        m_levels.push_back({bracket == '['});
    }
    void close(char bracket) {
        const bool empty = m_levels.back().empty;
        m_levels.pop_back();
        if (!empty)
            m_out += '\n' + std::string(2 * m_levels.size(), ' ');
        m_out += bracket;
    }

    std::string m_out;
    std::vector<Level> m_levels;
};

} // namespace

std::string JsonEscape(std::string_view utf8) {
    // Most texts (names, hex bytes) are plain printable ASCII and stay as they are.
    if (std::ranges::all_of(utf8,
                            [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; }))
        return std::string(utf8);
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded d = DecodeUtf8(utf8, at);
        switch (d.valid ? d.code : 0xFFFD) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case 0xFFFD:
            out += d.valid ? std::string(utf8.substr(at, d.length)) : "\\ufffd";
            break;
        default:
            if (IsControl(d.code))
                out += "\\u" + Hex4(d.code);
            else
                out += utf8.substr(at, d.length);
        }
        at += d.length;
    }
    return out;
}

std::unique_ptr<DumpWriter> MakeTextWriter() {
    return std::make_unique<TextWriter>();
}
std::unique_ptr<DumpWriter> MakeJsonWriter() {
    return std::make_unique<JsonWriter>();
}

} // namespace orvo::cli

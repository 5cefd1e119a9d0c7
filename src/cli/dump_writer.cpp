#include "cli/dump_writer.h"

#include <cstdio>
#include <vector>

namespace orvo::cli {

namespace {

std::string Hex2(unsigned char c) {
    char buf[5];
    std::snprintf(buf, sizeof buf, "%02x", c);
    return buf;
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
    // Control characters would break the line structure; show them as escapes.
    static std::string Printable(std::string_view utf8) {
        std::string out;
        for (const char c : utf8) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7F)
                out += "\\x" + Hex2(u);
            else
                out += c;
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
    std::string out;
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
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
        default:
            if (u < 0x20)
                out += "\\u00" + Hex2(u);
            else
                out += c;
        }
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

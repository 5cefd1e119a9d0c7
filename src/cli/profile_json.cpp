#include "cli/profile_json.h"

#include "cli/dump_file.h"
#include "cli/dump_writer.h"
#include "cli/json_reader.h"
#include "cli/values.h"
#include "model/byte_order.h"
#include "model/config_files.h"
#include "model/key_tables.h"
#include "model/name_lookup.h"
#include "model/settings_image.h"
#include "model/utf16.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>

namespace orvo::cli {

namespace {

// The image's reserved ranges, carried through files unchanged.
constexpr std::array<ImageField, 4> kReserved{field::reserved0, field::reserved1, field::reserved2,
                                              field::reserved3};
constexpr std::size_t kSlotCount = kKeyMapSize / kKeyMapEntrySize; // 128, 126 and 127 keyless

bool AllZero(std::span<const std::uint8_t> bytes) {
    return std::ranges::all_of(bytes, [](std::uint8_t b) { return b == 0; });
}

// Up to the last byte that is not zero; the import fills the rest with zeros.
std::span<const std::uint8_t> Trimmed(std::span<const std::uint8_t> bytes) {
    std::size_t n = bytes.size();
    while (n > 0 && bytes[n - 1] == 0)
        --n;
    return bytes.first(n);
}

std::span<const std::uint8_t> FactoryEntry(std::size_t slot) {
    return std::span(FactoryKeyMap).subspan(slot * kKeyMapEntrySize, kKeyMapEntrySize);
}

// A record as loading leaves an untouched key: zero, with the key's own code in byte 0.
KeyActionRecord UntouchedRecord(std::size_t k) {
    KeyActionRecord r;
    if (k < kMainKeyCount)
        r.setKeyCode(DefaultCodeOf(k));
    return r;
}

// The path field as text when it is one: well-formed text up to its NUL, zeros after it.
std::optional<std::u16string> PathText(std::span<const std::uint8_t> field) {
    std::u16string units;
    bool ended = false;
    for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
        const char16_t u = ReadLe16(field, i);
        if (ended && u != 0)
            return std::nullopt;
        if (u == 0)
            ended = true;
        else
            units += u;
    }
    if (!IsWellFormedUtf16(units))
        return std::nullopt;
    return units;
}

void DescribeKeyActions(const KeyActionTable& table, DumpWriter& out) {
    out.beginArray("keyActions");
    for (std::size_t k = 0; k < table.size(); ++k) {
        const KeyActionRecord& r = table[k];
        if (r == UntouchedRecord(k))
            continue;
        const auto bytes = std::span(r.bytes);
        out.beginObject("");
        out.number("record", static_cast<std::int64_t>(k));
        if (k < kKeyCount)
            out.string("keyName", ToUtf8(KeyIndexName(k)));
        out.number("keyCode", r.keyCode());
        out.number("kind", r.kind());
        out.string("kindName", KindName(r.kind()));
        out.string("data", HexBytes(Trimmed(r.kindData())));
        out.number("capturedCount", r.capturedCount());
        if (const auto zero = bytes.subspan(record::zero, 2); !AllZero(zero))
            out.string("zero", HexBytes(zero));
        const auto path = bytes.subspan(record::path, 2 * record::pathUnits);
        if (const auto text = PathText(path))
            out.string("path", ToUtf8(*text));
        else
            out.string("pathBytes", HexBytes(Trimmed(path)));
        out.endObject();
    }
    out.endArray();
}

void DescribeRest(const SettingsImage& image, DumpWriter& out) {
    out.beginArray("otherKeyMapEntries");
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        const auto entry = KeyMapEntry(image, slot);
        if (KeyIndexOfSlot(slot) >= 0 || std::ranges::equal(entry, FactoryEntry(slot)))
            continue;
        out.beginObject("");
        out.number("slot", static_cast<std::int64_t>(slot));
        out.string("entry", HexBytes(entry));
        out.endObject();
    }
    out.endArray();
    out.string("keyEnableMask", HexBytes(image[field::keyEnableMask]));

    out.beginArray("macroBlocks");
    for (std::size_t n = 0; n < kMacroBlockCount; ++n) {
        const auto block = image.macroBlock(n);
        if (AllZero(block))
            continue;
        out.beginObject("");
        out.number("block", static_cast<std::int64_t>(n));
        out.number("repeatCount", ReadBe16(block, 0));
        out.string("bytes", HexBytes(Trimmed(block)));
        out.endObject();
    }
    out.endArray();

    out.beginArray("customLighting");
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t) {
        const auto table = image.customLightingTable(t);
        if (AllZero(table))
            continue;
        out.beginObject("");
        out.number("table", static_cast<std::int64_t>(t + 1));
        out.beginArray("keys");
        for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
            const auto e = table.subspan(slot * kKeyMapEntrySize, kKeyMapEntrySize);
            if (AllZero(e))
                continue;
            out.beginObject("");
            out.number("slot", static_cast<std::int64_t>(slot));
            if (const int key = KeyIndexOfSlot(slot); key >= 0)
                out.string("keyName", ToUtf8(KeyIndexName(static_cast<std::size_t>(key))));
            out.string("colour", Colour(e[1], e[2], e[3]));
            if (e[0] != 0)
                out.number("byte0", e[0]);
            out.endObject();
        }
        out.endArray();
        out.endObject();
    }
    out.endArray();

    out.beginArray("reserved");
    for (const ImageField& range : kReserved) {
        if (AllZero(image[range]))
            continue;
        out.beginObject("");
        out.number("offset", static_cast<std::int64_t>(range.offset));
        out.string("bytes", HexBytes(image[range]));
        out.endObject();
    }
    out.endArray();
}

// ---- import --------------------------------------------------------------------------------

using Kind = JsonValue::Kind;

class Importer {
public:
    explicit Importer(ProfileImport& result) : m_result(result) {}

    bool Fail(const JsonValue& at, const std::string& field, const std::string& message) {
        if (m_result.error.empty()) {
            m_result.line = at.line;
            m_result.field = field;
            m_result.error = message;
        }
        return false;
    }

    // Every member must be one the format knows (a misspelt one would be lost silently).
    bool Known(const JsonValue& object, const std::string& field,
               std::initializer_list<std::string_view> keys) {
        for (const auto& [key, value] : object.members) {
            if (std::find(keys.begin(), keys.end(), key) == keys.end())
                return Fail(value, Join(field, key), "unknown field");
        }
        return true;
    }

    // A member of the given kind; nullptr (and a failure when required) when it is missing.
    const JsonValue* Member(const JsonValue& object, const std::string& field, std::string_view key,
                            Kind kind, bool required = true) {
        const JsonValue* v = object.find(key);
        if (!v) {
            if (required)
                Fail(object, Join(field, key), "missing");
            return nullptr;
        }
        if (v->kind != kind) {
            Fail(*v, Join(field, key), std::string("expected ") + KindText(kind));
            return nullptr;
        }
        return v;
    }

    std::optional<unsigned> Number(const JsonValue& object, const std::string& field,
                                   std::string_view key, unsigned max) {
        const JsonValue* v = Member(object, field, key, Kind::Number);
        if (!v)
            return std::nullopt;
        const std::u16string digits(v->text.begin(), v->text.end());
        const auto n = ParseNumber(digits, max);
        if (!n)
            Fail(*v, Join(field, key), "expected a whole number 0.." + std::to_string(max));
        return n;
    }

    bool Byte(const JsonValue& object, const std::string& field, std::string_view key,
              std::uint8_t& out) {
        const auto n = Number(object, field, key, 255);
        if (n)
            out = static_cast<std::uint8_t>(*n);
        return n.has_value();
    }

    // "ab cd ef": at most `max` bytes (exactly `max` when `exact`).
    std::optional<std::vector<std::uint8_t>> Hex(const JsonValue& object, const std::string& field,
                                                 std::string_view key, std::size_t max,
                                                 bool exact) {
        const JsonValue* v = Member(object, field, key, Kind::String);
        if (!v)
            return std::nullopt;
        std::vector<std::uint8_t> bytes;
        const std::string& t = v->text;
        bytes.reserve(t.size() / 3 + 1);
        for (std::size_t at = 0; at < t.size();) {
            if (t[at] == ' ') {
                ++at;
                continue;
            }
            const int high = HexDigit(t[at]);
            const int low = at + 1 < t.size() ? HexDigit(t[at + 1]) : -1;
            if (high < 0 || low < 0) {
                Fail(*v, Join(field, key), "expected bytes as pairs of hex digits");
                return std::nullopt;
            }
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
            at += 2;
        }
        if (bytes.size() > max || (exact && bytes.size() != max)) {
            Fail(*v, Join(field, key),
                 (exact ? "expected " : "expected at most ") + std::to_string(max) + " bytes");
            return std::nullopt;
        }
        return bytes;
    }

    bool ColourTo(const JsonValue& object, const std::string& field, std::string_view key,
                  std::span<std::uint8_t> rgb) {
        const JsonValue* v = Member(object, field, key, Kind::String);
        if (!v)
            return false;
        return ColourValue(*v, Join(field, key), rgb);
    }

    bool ColourValue(const JsonValue& v, const std::string& field, std::span<std::uint8_t> rgb) {
        // The file always writes the "#"; the command line's bare "RRGGBB" is not taken here.
        const auto colour = v.text.starts_with('#') ? HexColour(v.text) : std::nullopt;
        if (!colour)
            return Fail(v, field, "expected a colour \"#RRGGBB\"");
        rgb[0] = colour->r;
        rgb[1] = colour->g;
        rgb[2] = colour->b;
        return true;
    }

    // The objects of a list member, each checked by `each`; an absent list is an empty one.
    template <typename F> bool List(const JsonValue& root, std::string_view key, F&& each) {
        const JsonValue* list = Member(root, "", key, Kind::Array, false);
        if (!list)
            return m_result.error.empty();
        for (std::size_t i = 0; i < list->items.size(); ++i) {
            const JsonValue& item = list->items[i];
            const std::string field = std::string(key) + "[" + std::to_string(i) + "]";
            if (item.kind != Kind::Object)
                return Fail(item, field, "expected an object");
            if (!each(item, field))
                return false;
        }
        return true;
    }

    // A number listed once only in its list.
    bool Once(std::set<unsigned>& seen, unsigned n, const JsonValue& at, const std::string& field,
              std::string_view what) {
        if (!seen.insert(n).second)
            return Fail(at, field,
                        std::string(what) + " " + std::to_string(n) + " is listed twice");
        return true;
    }

    static std::string Join(const std::string& field, std::string_view key) {
        return field.empty() ? std::string(key) : field + "." + std::string(key);
    }

private:
    static const char* KindText(Kind kind) {
        switch (kind) {
        case Kind::Number:
            return "a number";
        case Kind::String:
            return "a string";
        case Kind::Array:
            return "a list";
        case Kind::Object:
            return "an object";
        default:
            return "a value";
        }
    }

    ProfileImport& m_result;
};

bool ReadLighting(Importer& in, const JsonValue& root, SettingsImage& image) {
    const JsonValue* l = in.Member(root, "", "lighting", Kind::Object);
    if (!l)
        return false;
    const std::string f = "lighting";
    if (!in.Known(*l, f,
                  {"effect", "effectName", "speedPosition", "brightness", "colour", "direction",
                   "colourSlots"}) ||
        !in.Byte(*l, f, "effect", image.byte(field::lightingEffect)) ||
        !in.Byte(*l, f, "speedPosition", image.byte(field::lightingSpeed)) ||
        !in.Byte(*l, f, "brightness", image.byte(field::lightingBrightness)) ||
        !in.Byte(*l, f, "colour", image.byte(field::lightingColour)) ||
        !in.Byte(*l, f, "direction", image.byte(field::lightingDirection)))
        return false;
    const JsonValue* slots = in.Member(*l, f, "colourSlots", Kind::Array);
    if (!slots)
        return false;
    if (slots->items.size() != kColourSlotCount)
        return in.Fail(*slots, f + ".colourSlots", "expected 7 colours");
    for (std::size_t i = 0; i < kColourSlotCount; ++i) {
        const JsonValue& v = slots->items[i];
        const std::string name = f + ".colourSlots[" + std::to_string(i) + "]";
        if (v.kind != Kind::String)
            return in.Fail(v, name, "expected a colour \"#RRGGBB\"");
        if (!in.ColourValue(v, name, image[field::colourSlots].subspan(3 * i, 3)))
            return false;
    }
    return true;
}

bool ReadPalmRest(Importer& in, const JsonValue& root, SettingsImage& image) {
    const JsonValue* p = in.Member(root, "", "palmRest", Kind::Object);
    if (!p)
        return false;
    const std::string f = "palmRest";
    return in.Known(*p, f,
                    {"command", "effect", "effectName", "brightness", "speed", "mode", "colour"}) &&
           in.Byte(*p, f, "command", image.byte(field::palmRest, palm::command)) &&
           in.Byte(*p, f, "effect", image.byte(field::palmRest, palm::effect)) &&
           in.Byte(*p, f, "brightness", image.byte(field::palmRest, palm::brightness)) &&
           in.Byte(*p, f, "speed", image.byte(field::palmRest, palm::speed)) &&
           in.Byte(*p, f, "mode", image.byte(field::palmRest, palm::mode)) &&
           in.ColourTo(*p, f, "colour", image[field::palmRest].subspan(palm::red, 3));
}

bool ReadKeyMap(Importer& in, const JsonValue& root, SettingsImage& image) {
    std::ranges::copy(FactoryKeyMap, image[field::keyMap].begin());
    std::set<unsigned> slots;
    const auto setEntry = [&](const JsonValue& item, const std::string& f, std::size_t slot) {
        const auto entry = in.Hex(item, f, "entry", kKeyMapEntrySize, true);
        if (!entry)
            return false;
        std::ranges::copy(*entry, KeyMapEntry(image, slot).begin());
        return true;
    };
    const bool keys =
        in.List(root, "remappedKeys", [&](const JsonValue& item, const std::string& f) {
            if (!in.Known(item, f, {"key", "defaultKey", "entry", "factoryEntry", "enabled"}))
                return false;
            const auto key = in.Number(item, f, "key", kKeyCount - 1);
            return key && in.Once(slots, SlotOf(*key), item, f, "key") &&
                   setEntry(item, f, SlotOf(*key));
        });
    return keys &&
           in.List(root, "otherKeyMapEntries", [&](const JsonValue& item, const std::string& f) {
               if (!in.Known(item, f, {"slot", "entry"}))
                   return false;
               const auto slot = in.Number(item, f, "slot", kSlotCount - 1);
               if (!slot)
                   return false;
               if (KeyIndexOfSlot(*slot) >= 0)
                   return in.Fail(item, f + ".slot",
                                  "slot " + std::to_string(*slot) +
                                      " belongs to a key: list it under remappedKeys");
               return in.Once(slots, *slot, item, f, "slot") && setEntry(item, f, *slot);
           });
}

bool ReadTables(Importer& in, const JsonValue& root, SettingsImage& image) {
    const auto mask = in.Hex(root, "", "keyEnableMask", field::keyEnableMask.size, true);
    if (!mask)
        return false;
    std::ranges::copy(*mask, image[field::keyEnableMask].begin());

    std::set<unsigned> blocks;
    const bool macros =
        in.List(root, "macroBlocks", [&](const JsonValue& item, const std::string& f) {
            if (!in.Known(item, f, {"block", "repeatCount", "bytes"}))
                return false;
            const auto n = in.Number(item, f, "block", kMacroBlockCount - 1);
            if (!n || !in.Once(blocks, *n, item, f, "block"))
                return false;
            const auto bytes = in.Hex(item, f, "bytes", kMacroBlockSize, false);
            if (bytes)
                std::ranges::copy(*bytes, image.macroBlock(*n).begin());
            return bytes.has_value();
        });
    if (!macros)
        return false;

    std::set<unsigned> tables;
    const bool lighting =
        in.List(root, "customLighting", [&](const JsonValue& item, const std::string& f) {
            if (!in.Known(item, f, {"table", "keys"}))
                return false;
            const auto t = in.Number(item, f, "table", kCustomLightingTableCount);
            if (!t)
                return false;
            if (*t == 0)
                return in.Fail(item, f + ".table", "tables are 1 to 5");
            if (!in.Once(tables, *t, item, f, "table"))
                return false;
            const JsonValue* keys = in.Member(item, f, "keys", Kind::Array);
            if (!keys)
                return false;
            auto table = image.customLightingTable(*t - 1);
            std::set<unsigned> slots;
            for (std::size_t i = 0; i < keys->items.size(); ++i) {
                const JsonValue& e = keys->items[i];
                const std::string ef = f + ".keys[" + std::to_string(i) + "]";
                if (e.kind != Kind::Object)
                    return in.Fail(e, ef, "expected an object");
                if (!in.Known(e, ef, {"slot", "keyName", "colour", "byte0"}))
                    return false;
                const auto slot = in.Number(e, ef, "slot", kSlotCount - 1);
                if (!slot || !in.Once(slots, *slot, e, ef, "slot"))
                    return false;
                auto entry = table.subspan(*slot * kKeyMapEntrySize, kKeyMapEntrySize);
                if (!in.ColourTo(e, ef, "colour", entry.subspan(1, 3)))
                    return false;
                if (e.find("byte0") && !in.Byte(e, ef, "byte0", entry[0]))
                    return false;
            }
            return true;
        });
    if (!lighting)
        return false;

    std::set<unsigned> offsets;
    return in.List(root, "reserved", [&](const JsonValue& item, const std::string& f) {
        if (!in.Known(item, f, {"offset", "bytes"}))
            return false;
        const auto offset = in.Number(item, f, "offset", kSettingsImageSize);
        if (!offset)
            return false;
        const auto range = std::ranges::find_if(
            kReserved, [&](const ImageField& r) { return r.offset == *offset; });
        if (range == kReserved.end())
            return in.Fail(item, f + ".offset", "no reserved range starts there");
        if (!in.Once(offsets, *offset, item, f, "offset"))
            return false;
        const auto bytes = in.Hex(item, f, "bytes", range->size, false);
        if (bytes)
            std::ranges::copy(*bytes, image[*range].begin());
        return bytes.has_value();
    });
}

bool ReadKeyActions(Importer& in, const JsonValue& root, KeyActionTable& table, bool allowed) {
    for (std::size_t k = 0; k < table.size(); ++k)
        table[k] = UntouchedRecord(k);
    std::set<unsigned> records;
    return in.List(root, "keyActions", [&](const JsonValue& item, const std::string& f) {
        if (!allowed)
            return in.Fail(item, f, "a profile of the settings image alone has no key actions");
        if (!in.Known(item, f,
                      {"record", "keyName", "keyCode", "kind", "kindName", "data", "capturedCount",
                       "zero", "path", "pathBytes"}))
            return false;
        const auto k = in.Number(item, f, "record", kKeyActionCount - 1);
        if (!k || !in.Once(records, *k, item, f, "record"))
            return false;
        KeyActionRecord r;
        std::uint8_t code = 0, kind = 0, count = 0;
        if (!in.Byte(item, f, "keyCode", code) || !in.Byte(item, f, "kind", kind))
            return false;
        r.setKeyCode(code);
        r.setKind(kind);
        if (item.find("capturedCount")) {
            if (!in.Byte(item, f, "capturedCount", count))
                return false;
            r.setCapturedCount(count);
        }
        if (item.find("data")) {
            const auto data = in.Hex(item, f, "data", record::kindDataSize, false);
            if (!data)
                return false;
            std::ranges::copy(*data, r.kindData().begin());
        }
        if (item.find("zero")) {
            const auto zero = in.Hex(item, f, "zero", 2, true);
            if (!zero)
                return false;
            std::ranges::copy(*zero, r.bytes.begin() + record::zero);
        }
        const auto path = std::span(r.bytes).subspan(record::path, 2 * record::pathUnits);
        if (item.find("path") && item.find("pathBytes"))
            return in.Fail(item, f, "give path or pathBytes, not both");
        if (const JsonValue* v = in.Member(item, f, "path", Kind::String, false)) {
            const auto units = FromUtf8(v->text);
            if (!units || units->size() > record::pathUnits)
                return in.Fail(*v, f + ".path", "expected at most 256 UTF-16 units of text");
            for (std::size_t i = 0; i < units->size(); ++i)
                WriteLe16(path, 2 * i, (*units)[i]);
        } else if (item.find("pathBytes")) {
            const auto bytes = in.Hex(item, f, "pathBytes", path.size(), false);
            if (!bytes)
                return false;
            std::ranges::copy(*bytes, path.begin());
        }
        table[*k] = r;
        return true;
    });
}

} // namespace

std::optional<std::string> ExportProfileJson(std::span<const std::uint8_t> file) {
    if (file.size() != kProfileFileSize && file.size() != kSettingsImageSize)
        return std::nullopt;
    SettingsImage image;
    std::ranges::copy(file.first(kSettingsImageSize), image.bytes.begin());
    const std::unique_ptr<DumpWriter> out = MakeJsonWriter();
    out->beginObject("");
    out->string("format", kProfileJsonFormat);
    out->number("formatVersion", kProfileJsonVersion);
    out->number("size", static_cast<std::int64_t>(file.size()));
    DescribeSettings(image, *out);
    DescribeRest(image, *out);
    if (file.size() == kProfileFileSize) {
        KeyActionTable table;
        table.parse(file.subspan(kSettingsImageSize));
        DescribeKeyActions(table, *out);
    }
    out->endObject();
    return out->finish();
}

ProfileImport ImportProfileJson(std::string_view json) {
    ProfileImport result;
    const JsonParse parsed = ParseJson(json);
    if (!parsed.value) {
        result.line = parsed.line;
        result.error = parsed.error + " (column " + std::to_string(parsed.column) + ")";
        return result;
    }
    const JsonValue& root = *parsed.value;
    Importer in(result);
    if (root.kind != Kind::Object) {
        in.Fail(root, "", "expected an object");
        return result;
    }
    const JsonValue* format = in.Member(root, "", "format", Kind::String);
    if (format && format->text != kProfileJsonFormat)
        in.Fail(*format, "format", "not a profile of orvoctl export");
    const auto version = in.Number(root, "", "formatVersion", 1000000);
    if (version && *version != kProfileJsonVersion)
        in.Fail(*root.find("formatVersion"), "formatVersion",
                "version " + std::to_string(*version) + " is not one this orvoctl reads (1)");
    if (!result.ok())
        return result;
    if (!in.Known(root, "",
                  {"format", "formatVersion", "size", "lighting", "gameMode", "winLock",
                   "reportRate", "responseTime", "palmRest", "remappedKeys", "otherKeyMapEntries",
                   "keyEnableMask", "macroBlocks", "customLighting", "reserved", "keyActions"}))
        return result;
    std::size_t size = kProfileFileSize;
    if (const JsonValue* s = root.find("size")) {
        const auto n = in.Number(root, "", "size", kProfileFileSize);
        if (!n)
            return result;
        if (*n != kProfileFileSize && *n != kSettingsImageSize) {
            in.Fail(*s, "size", "a profile holds 206928 or 10068 bytes");
            return result;
        }
        size = *n;
    }
    SettingsImage image;
    KeyActionTable table;
    const bool ok = ReadLighting(in, root, image) &&
                    in.Byte(root, "", "gameMode", image.byte(field::gameMode)) &&
                    in.Byte(root, "", "winLock", image.byte(field::winLock)) &&
                    in.Byte(root, "", "reportRate", image.byte(field::reportRate)) &&
                    in.Byte(root, "", "responseTime", image.byte(field::responseTime)) &&
                    ReadPalmRest(in, root, image) && ReadKeyMap(in, root, image) &&
                    ReadTables(in, root, image) &&
                    ReadKeyActions(in, root, table, size == kProfileFileSize);
    if (!ok)
        return result;
    result.bytes = SerialiseProfile(image, table);
    result.bytes.resize(size);
    return result;
}

} // namespace orvo::cli

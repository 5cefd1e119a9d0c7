#include "cli/dump_file.h"

#include <array>
#include <cstdio>
#include <system_error>

#include "cli/commands.h"
#include "model/atomic_file.h"
#include "model/config_files.h"
#include "model/effects.h"
#include "model/key_tables.h"
#include "model/macro_model.h"
#include "model/program_folders.h"
#include "model/utf16.h"

namespace orvo::cli {

namespace {

// Large enough for either layout; reading stops there so a huge file cannot exhaust memory.
constexpr std::size_t kMaxDumpBytes = kProfileFileSize;

} // namespace

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string s;
    s.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        if (!s.empty())
            s += ' ';
        s += kHex[b >> 4];
        s += kHex[b & 0x0F];
    }
    return s;
}

std::string Colour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", r, g, b);
    return buf;
}

std::string_view KindName(std::uint8_t kind) {
    static constexpr std::array<std::string_view, 8> kNames{
        "single key",      "combination", "macro",     "function",
        "play audio file", "run program", "open file", "open folder"};
    if (kind < kNames.size())
        return kNames[kind];
    return kind == static_cast<std::uint8_t>(AssignmentKind::Pending) ? "nothing chosen yet" : "";
}

namespace {

void SizeNote(DumpWriter& out, std::size_t size, std::size_t expected) {
    if (size == expected)
        return;
    out.string("note", "file holds " + std::to_string(size) + " bytes, the layout " +
                           std::to_string(expected) +
                           "; missing bytes read as zero, extra "
                           "bytes are ignored");
}

void DescribeLighting(const SettingsImage& image, DumpWriter& out) {
    out.beginObject("lighting");
    const std::uint8_t effect = image.byte(field::lightingEffect);
    out.number("effect", effect);
    out.string("effectName", ToUtf8(EffectName(EffectList, effect)));
    out.number("speedPosition", image.byte(field::lightingSpeed));
    out.number("brightness", image.byte(field::lightingBrightness));
    out.number("colour", image.byte(field::lightingColour));
    out.number("direction", image.byte(field::lightingDirection));
    out.beginArray("colourSlots");
    for (std::size_t i = 0; i < kColourSlotCount; ++i)
        out.string("", Colour(image.byte(field::colourSlots, 3 * i),
                              image.byte(field::colourSlots, 3 * i + 1),
                              image.byte(field::colourSlots, 3 * i + 2)));
    out.endArray();
    out.endObject();
}

void DescribePalmRest(const SettingsImage& image, DumpWriter& out) {
    const auto p = image[field::palmRest];
    out.beginObject("palmRest");
    out.number("command", p[palm::command]);
    out.number("effect", p[palm::effect]);
    out.string("effectName", ToUtf8(EffectName(PalmEffectList, p[palm::effect])));
    out.number("brightness", p[palm::brightness]);
    out.number("speed", p[palm::speed]);
    out.number("mode", p[palm::mode]);
    out.string("colour", Colour(p[palm::red], p[palm::green], p[palm::blue]));
    out.endObject();
}

void DescribeRemappedKeys(const SettingsImage& image, DumpWriter& out) {
    out.beginArray("remappedKeys");
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        const std::size_t slot = SlotOf(k);
        const auto entry = KeyMapEntry(image, slot);
        const auto factory =
            std::span(FactoryKeyMap).subspan(slot * kKeyMapEntrySize, kKeyMapEntrySize);
        if (std::equal(entry.begin(), entry.end(), factory.begin()))
            continue;
        out.beginObject("");
        out.number("key", static_cast<std::int64_t>(k));
        out.string("defaultKey", ToUtf8(KeyNameOf(DefaultCodeOf(k))));
        out.string("entry", HexBytes(entry));
        out.string("factoryEntry", HexBytes(factory));
        out.boolean("enabled", IsKeySlotEnabled(image, slot));
        out.endObject();
    }
    out.endArray();
}

void DescribeHostActions(const KeyActionTable& table, DumpWriter& out) {
    out.beginArray("hostActions");
    for (std::size_t k = 0; k < table.size(); ++k) {
        const KeyActionRecord& r = table[k];
        if (!IsHostSideKind(r.kind()))
            continue;
        out.beginObject("");
        out.number("record", static_cast<std::int64_t>(k));
        out.number("keyCode", r.keyCode());
        out.number("kind", r.kind());
        out.string("kindName", KindName(r.kind()));
        out.string("path", ToUtf8(r.path()));
        out.endObject();
    }
    out.endArray();
}

} // namespace

void DescribeSettings(const SettingsImage& image, DumpWriter& out) {
    DescribeLighting(image, out);
    out.number("gameMode", image.byte(field::gameMode));
    out.number("winLock", image.byte(field::winLock));
    out.number("reportRate", image.byte(field::reportRate));
    out.number("responseTime", image.byte(field::responseTime));
    DescribePalmRest(image, out);
    DescribeRemappedKeys(image, out);
}

DumpLayout DetectLayout(const std::filesystem::path& file, std::size_t size) {
    if (size == kMacroStoreSize)
        return DumpLayout::Macros;
    if (size != kProfileFileSize && file.filename() == kMacroFileName)
        return DumpLayout::Macros;
    return DumpLayout::Profile;
}

void DescribeProfile(std::span<const std::uint8_t> bytes, std::size_t fileSize, DumpWriter& out) {
    SettingsImage image;
    KeyActionTable table;
    ParseProfile(bytes, &image, table);
    out.string("layout", "profile");
    out.number("size", static_cast<std::int64_t>(fileSize));
    SizeNote(out, fileSize, kProfileFileSize);
    DescribeSettings(image, out);
    DescribeHostActions(table, out);
}

void DescribeMacros(std::span<const std::uint8_t> bytes, std::size_t fileSize, DumpWriter& out) {
    MacroStore store;
    store.parse(bytes);
    out.string("layout", "macros");
    out.number("size", static_cast<std::int64_t>(fileSize));
    SizeNote(out, fileSize, kMacroStoreSize);
    out.beginArray("macros");
    for (std::size_t n = 0; n < store.size(); ++n) {
        const MacroRecord& m = store[n];
        if (m.isFree())
            continue;
        out.beginObject("");
        out.number("slot", static_cast<std::int64_t>(n));
        out.string("name", ToUtf8(m.name()));
        out.number("repeatCount", m.repeatCount);
        out.boolean("delayOption", m.delayOption());
        out.beginArray("events");
        for (const EventLine& line : EventLines(m.displayEvents))
            out.string("", ToUtf8(line.text));
        out.endArray();
        out.endObject();
    }
    out.endArray();
}

DumpOutput DumpFile(const std::filesystem::path& file, bool json) {
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(file, ec);
    const auto bytes = regular ? ReadFilePrefix(file, kMaxDumpBytes) : std::nullopt;
    if (!bytes) {
        const char* why =
            std::filesystem::exists(file, ec) ? "not a readable file" : "no such file";
        return {kExitUsage, {}, "orvoctl dump: cannot read " + file.string() + ": " + why + "\n"};
    }
    // The size decides the layout; a file larger than both is described by its first bytes.
    const std::uintmax_t onDisk = std::filesystem::file_size(file, ec);
    const std::size_t size = ec ? bytes->size() : static_cast<std::size_t>(onDisk);
    const std::unique_ptr<DumpWriter> out = json ? MakeJsonWriter() : MakeTextWriter();
    out->beginObject("");
    out->string("file", file.string());
    if (DetectLayout(file, size) == DumpLayout::Macros)
        DescribeMacros(*bytes, size, *out);
    else
        DescribeProfile(*bytes, size, *out);
    out->endObject();
    return {kExitOk, out->finish(), {}};
}

} // namespace orvo::cli

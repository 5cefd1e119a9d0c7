// orvoctl key, keys and colour: key assignments through the key assignment dialog's rules, the
// list of every key's assignment, and DIY colouring of keys.

#include "cli/commands.h"
#include "cli/config_work.h"
#include "cli/dump_file.h"
#include "cli/values.h"
#include "model/function_table.h"
#include "model/key_script.h"
#include "model/key_tables.h"
#include "model/lighting_rules.h"
#include "model/name_lookup.h"
#include "model/utf16.h"

#include <algorithm>
#include <filesystem>

namespace orvo::cli {

namespace {

constexpr OptionSpec kKeyOptions[] = {
    {"--key", true},      {"--combo", true},   {"--macro", true},  {"--function", true},
    {"--play", true},     {"--run", true},     {"--open", true},   {"--folder", true},
    {"--disable", false}, {"--enable", false}, {"--reset", false}, {"--no-apply", false},
};

constexpr OptionSpec kColourOptions[] = {{"--table", true}, {"--no-apply", false}};

// The host-side actions by option, in the order of the "Avanzado" rows.
struct HostOption {
    std::string_view option;
    AssignmentKind kind;
    std::string_view shown; // in `keys`
};
constexpr HostOption kHostOptions[] = {
    {"--play", AssignmentKind::PlayAudio, "play"},
    {"--run", AssignmentKind::RunProgram, "run"},
    {"--open", AssignmentKind::OpenFile, "open"},
    {"--folder", AssignmentKind::OpenFolder, "folder"},
};

std::optional<std::size_t> KeyByName(std::string_view word) {
    const auto wide = FromUtf8(word);
    return wide ? FindKeyIndex(*wide) : std::nullopt;
}

std::optional<std::uint8_t> KeyCodeByName(std::string_view word) {
    const auto wide = FromUtf8(word);
    return wide ? FindKeyCode(*wide) : std::nullopt;
}

// "LCtrl+Alt+Del"; a doubled "+" stands for the key named "+" ("LCtrl++").
std::optional<std::vector<std::string_view>> ComboParts(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find('+', at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::vector<std::string_view> parts;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!words[i].empty()) {
            parts.push_back(words[i]);
        } else if (i + 1 < words.size() && words[i + 1].empty()) {
            parts.push_back("+");
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return parts;
}

// A macro by its number or its name, among the macros a key can be given.
std::optional<int> MacroByName(const MacroStore& macros, std::string_view word) {
    std::vector<std::u16string> names(std::min(macros.leadingMacroCount(), kMaxMacros));
    for (std::size_t n = 0; n < names.size(); ++n)
        names[n] = macros[n].name();
    const auto n = NumberOrName(names, word);
    return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

std::string KeyNames(std::span<const std::uint8_t> codes, std::string_view joiner) {
    std::string text;
    for (const std::uint8_t code : codes) {
        if (code == 0)
            break;
        const std::u16string name =
            FoldedName(KeyNameOf(code)).empty() ? u"?" : std::u16string(KeyNameOf(code));
        std::string utf8 = ToUtf8(name);
        while (!utf8.empty() && utf8.back() == ' ')
            utf8.pop_back();
        text += (text.empty() ? "" : std::string(joiner)) + utf8;
    }
    return text;
}

// What a key does, as `keys` lists it: from its action record, which names what the dialog
// stored; an entry the record does not explain is shown as its bytes.
std::string AssignmentText(const ConfigState& config, std::size_t key) {
    const KeyActionRecord& r = config.keyActions[key];
    const auto data = r.kindData();
    const auto entry = KeyMapEntry(config.image, SlotOf(key));
    const auto factory = std::span(FactoryKeyMap).subspan(SlotOf(key) * kKeyMapEntrySize, 4);
    std::string text;
    switch (static_cast<AssignmentKind>(r.kind())) {
    case AssignmentKind::SingleKey:
        if (r.capturedCount() > 0)
            text = "key " + KeyNames(data, "+");
        break;
    case AssignmentKind::Combination:
        text = "combination " + KeyNames(data, "+");
        break;
    case AssignmentKind::Macro: {
        text = "macro " + std::to_string(data[2]);
        if (data[2] < kMacroSlotCount && !config.macros[data[2]].isFree())
            text += " (" + ToUtf8(config.macros[data[2]].name()) + ")";
        break;
    }
    case AssignmentKind::Function: {
        const FunctionRow* f = FindFunctionByEntry(data.first<4>());
        text = "function " + (f ? ToUtf8(f->label) : "? (" + HexBytes(data.first<4>()) + ")");
        break;
    }
    case AssignmentKind::PlayAudio:
    case AssignmentKind::RunProgram:
    case AssignmentKind::OpenFile:
    case AssignmentKind::OpenFolder:
        text = std::string(kHostOptions[r.kind() - 4].shown) + " " + ToUtf8(r.path());
        break;
    default:
        break;
    }
    if (text.empty())
        text = std::equal(entry.begin(), entry.end(), factory.begin()) ? "own function"
                                                                       : "entry " + HexBytes(entry);
    if (!IsKeySlotEnabled(config.image, SlotOf(key)))
        text += ", disabled";
    return text;
}

} // namespace

int RunKey(const Context& c, Args args) {
    constexpr std::string_view kCommand = "key";
    const ParsedArgs p = ParseArgs(args, kKeyOptions);
    if (!p.error.empty())
        return UsageError(c, kCommand, p.error);
    if (p.positional.size() != 1)
        return UsageError(c, kCommand, "name one key");
    const auto key = KeyByName(p.positional[0]);
    if (!key)
        return UsageError(c, kCommand, "no key is named " + Quoted(p.positional[0]));
    const std::size_t actions =
        std::ranges::count_if(p.options, [](const auto& o) { return o.first != "--no-apply"; });
    if (actions != 1)
        return UsageError(c, kCommand, "give exactly one of the actions");

    KeyChoice choice;
    std::optional<std::string_view> macroName;
    const auto& chosen =
        *std::ranges::find_if(p.options, [](const auto& o) { return o.first != "--no-apply"; });
    // Named rather than bound, so that lambdas can take them with any compiler.
    const std::string_view option = chosen.first;
    const std::string_view value = chosen.second;
    if (option == "--key" || option == "--combo") {
        const auto parts =
            option == "--key" ? std::optional(std::vector{value}) : ComboParts(value);
        if (!parts || parts->empty() || parts->size() > kMaxCombinationKeys)
            return UsageError(c, kCommand, "--combo takes one to three keys joined by +");
        for (const std::string_view part : *parts) {
            const auto code = KeyCodeByName(part);
            if (!code)
                return UsageError(c, kCommand, "no key is named " + Quoted(part));
            choice.keys.push_back(*code);
        }
        choice.kind = option == "--key" ? KeyChoiceKind::Key : KeyChoiceKind::Combination;
    } else if (option == "--macro") {
        choice.kind = KeyChoiceKind::Macro;
        macroName = value;
    } else if (option == "--function") {
        const auto wide = FromUtf8(value);
        const FunctionRow* f = wide ? FindFunctionByName(*wide) : nullptr;
        if (!f)
            return UsageError(c, kCommand, "no function is named " + Quoted(value));
        choice.kind = KeyChoiceKind::Function;
        choice.function = std::u16string(f->label);
    } else if (option == "--disable" || option == "--enable" || option == "--reset") {
        choice.kind = option == "--disable"  ? KeyChoiceKind::Disable
                      : option == "--enable" ? KeyChoiceKind::Enable
                                             : KeyChoiceKind::Reset;
    } else {
        const auto host = std::ranges::find_if(
            kHostOptions, [&](const HostOption& h) { return h.option == option; });
        // As the pickers give it: a whole path to a file (a folder for --folder) that exists.
        std::error_code ec;
        const std::filesystem::path path = std::filesystem::absolute(std::string(value), ec);
        const bool folder = host->kind == AssignmentKind::OpenFolder;
        const bool exists = !ec && !value.empty() &&
                            (folder ? std::filesystem::is_directory(path, ec)
                                    : std::filesystem::is_regular_file(path, ec));
        if (!exists)
            return UsageError(c, kCommand, (folder ? "no folder " : "no file ") + Quoted(value));
        const auto wide = FromUtf8(path.string());
        if (!wide)
            return UsageError(c, kCommand, "the path " + Quoted(value) + " is not UTF-8 text");
        choice.kind = KeyChoiceKind::HostAction;
        choice.hostKind = host->kind;
        choice.path = *wide;
    }

    ConfigWork work(c, {.apply = !p.has("--no-apply"), .trace = p.trace});
    if (auto failed = work.Load())
        return *failed;
    if (macroName) {
        const auto n = MacroByName(work.config().macros, *macroName);
        if (!n)
            return Fail(c, kExitUsage, "there is no macro " + Quoted(*macroName));
        choice.macro = *n;
    }
    const KeyScriptResult script = ScriptKeyAssignment(work.config(), *key, choice);
    if (!script.ok())
        return Fail(c, kExitUsage, ToUtf8(KeyIndexName(*key)) + ": " + script.error);
    work.session().AssignKey(script.state, script.record);
    return work.Finish();
}

int RunKeys(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || !p.positional.empty())
        return UsageError(c, "keys", p.error);
    ConfigWork work(c, {.apply = false, .trace = p.trace});
    if (auto failed = work.Load())
        return *failed;
    std::string listing;
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        char head[48];
        std::snprintf(head, sizeof head, "#%-4zu %-14s ", k, ToUtf8(KeyIndexName(k)).c_str());
        listing += head + AssignmentText(work.config(), k);
        if (!OpensKeyAssignment(static_cast<int>(k)))
            listing += " (fixed)";
        listing += '\n';
    }
    c.Out(listing);
    return kExitOk;
}

int RunColour(const Context& c, Args args) {
    constexpr std::string_view kCommand = "colour";
    const ParsedArgs p = ParseArgs(args, kColourOptions);
    if (!p.error.empty())
        return UsageError(c, kCommand, p.error);
    if (p.positional.size() < 2)
        return UsageError(c, kCommand, "name the keys and a colour");
    const auto colour = HexColour(p.positional.back());
    if (!colour)
        return UsageError(c, kCommand, "colours are written RRGGBB");
    std::vector<std::uint8_t> selected(kKeyCount, 0);
    for (std::size_t i = 0; i + 1 < p.positional.size(); ++i) {
        const auto key = KeyByName(p.positional[i]);
        if (!key)
            return UsageError(c, kCommand, "no key is named " + Quoted(p.positional[i]));
        if (*key >= kMainKeyCount)
            return UsageError(c, kCommand, Quoted(p.positional[i]) + " has no light of its own");
        selected[*key] = 1;
    }
    std::optional<unsigned> table;
    if (const auto v = p.value("--table"); v && !(table = NumberIn(*v, 1, 5)))
        return UsageError(c, kCommand, "--table takes 1 to 5");

    ConfigWork work(c, {.apply = !p.has("--no-apply"), .trace = p.trace});
    if (auto failed = work.Load())
        return *failed;
    SettingsImage& image = work.config().image;
    std::size_t index = 0;
    if (table) {
        index = *table - 1;
    } else if (const auto shown = CustomTableForEffect(image.byte(field::lightingEffect))) {
        index = *shown;
    } else {
        return Fail(c, kExitUsage,
                    "the current effect shows no custom profile; name one with --table");
    }
    ColourKeysInTable(image, index, selected, ToColorRef(*colour));
    return work.Finish();
}

} // namespace orvo::cli

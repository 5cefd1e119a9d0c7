// orvoctl macro: the macro manager's commands, through its own editor (names, options, new and
// delete), and a macro's text form.

#include "cli/commands.h"
#include "cli/config_work.h"
#include "cli/input_file.h"
#include "cli/values.h"
#include "model/macro_editor.h"
#include "model/macro_text.h"
#include "model/utf16.h"

#include <algorithm>
#include <functional>

namespace orvo::cli {

namespace {

constexpr std::string_view kCommand = "macro";
constexpr std::size_t kMaxTextBytes = 1 << 20; // far more than 190 bytes of events can show

constexpr OptionSpec kOptions[] = {
    {"--repeat", true},
    {"--delay", true},
    {"--no-apply", false},
};

std::string Describe(std::size_t n, const MacroRecord& m) {
    return std::to_string(n) + "  " + ToUtf8(m.name()) + "  (repeat " +
           std::to_string(m.repeatCount == 0 ? 1 : m.repeatCount) + ", delay " +
           (m.delayOption() ? "on" : "off") + ", " +
           std::to_string(Events(m.displayEvents).size()) + " events)\n";
}

int Listing(const Context& c, const ParsedArgs& p, std::string_view sub) {
    ConfigWork work(c, {.apply = false, .trace = p.trace, .needSettings = false});
    if (auto failed = work.Load())
        return *failed;
    MacroEditor editor;
    editor.open(work.config().macros);
    const MacroStore& store = editor.workingCopy();
    if (sub == "list") {
        if (p.positional.size() != 1 || !p.options.empty())
            return UsageError(c, kCommand, "macro list takes nothing more");
        std::string text;
        for (std::size_t n = 0; n < editor.macroNames().size(); ++n)
            text += Describe(n, store[n]);
        c.Out(text);
        return kExitOk;
    }
    if (p.positional.size() != 2 || !p.options.empty())
        return UsageError(c, kCommand, "macro " + std::string(sub) + " takes one macro");
    const auto n = NumberOrName(editor.macroNames(), p.positional[1]);
    if (!n)
        return Fail(c, kExitUsage, "there is no macro " + Quoted(p.positional[1]));
    c.Out(sub == "show" ? Describe(*n, store[*n]) + MacroToText(store[*n])
                        : MacroToText(store[*n]));
    return kExitOk;
}

} // namespace

int RunMacro(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, kOptions);
    if (!p.error.empty())
        return UsageError(c, kCommand, p.error);
    if (p.positional.empty())
        return UsageError(c, kCommand, "a macro command is missing");
    const std::string_view sub = p.positional[0];
    if (sub == "list" || sub == "show" || sub == "export")
        return Listing(c, p, sub);
    if (sub != "new" && sub != "delete" && sub != "rename" && sub != "set" && sub != "import")
        return UsageError(c, kCommand, "no macro command " + Quoted(sub));

    const std::size_t words = sub == "new" ? (p.positional.size() <= 2 ? p.positional.size() : 0)
                              : sub == "delete" || sub == "set"
                                  ? (p.positional.size() == 2 ? 2 : 0)
                                  : (p.positional.size() == 3 ? 3 : 0);
    if (words == 0)
        return UsageError(c, kCommand, "wrong number of words for macro " + std::string(sub));
    const bool takesOptions = sub == "set";
    for (const auto& [option, value] : p.options) {
        if (option != "--no-apply" && !takesOptions)
            return UsageError(c, kCommand, std::string(option) + " goes with macro set only");
    }
    std::optional<unsigned> repeat;
    std::optional<bool> delay;
    if (const auto v = p.value("--repeat"); v && !(repeat = NumberIn(*v, 1, kMaxRepeatCount)))
        return UsageError(c, kCommand, "--repeat takes 1 to 999");
    if (const auto v = p.value("--delay"); v && !(delay = OnOff(*v)))
        return UsageError(c, kCommand, "--delay takes on or off");
    std::optional<MacroTextResult> events;
    if (sub == "import") {
        const InputText in = ReadInputText(p.positional[2], kMaxTextBytes);
        if (!in.text)
            return Fail(c, kExitUsage, in.error);
        events = ParseMacroText(*in.text);
        if (!events->ok())
            return Fail(c, kExitUsage,
                        std::string(p.positional[2]) + ":" + std::to_string(events->line) + ": " +
                            events->error);
    }

    ConfigWork work(c, {.apply = !p.has("--no-apply"), .trace = p.trace});
    if (auto failed = work.Load())
        return *failed;
    MacroEditor editor;
    editor.open(work.config().macros);
    std::optional<std::size_t> n;
    if (sub != "new") {
        n = NumberOrName(editor.macroNames(), p.positional[1]);
        if (!n)
            return Fail(c, kExitUsage, "there is no macro " + Quoted(p.positional[1]));
        editor.selectMacro(*n);
    }
    Notice refused;
    if (sub == "new") {
        const std::size_t before = editor.macroNames().size();
        editor.newMacro();
        if (editor.macroNames().size() == before)
            return Fail(c, kExitUsage,
                        "there are 32 macros already, as many as the keyboard holds");
        n = before;
        if (p.positional.size() == 2) {
            const auto name = FromUtf8(p.positional[1]);
            if (!name)
                return Fail(c, kExitUsage, "the name is not UTF-8 text");
            refused = editor.renameMacro(*n, *name);
        }
    } else if (sub == "delete") {
        refused = editor.deleteMacro([](const Notice&) { return true; });
    } else if (sub == "rename") {
        const auto name = FromUtf8(p.positional[2]);
        if (!name)
            return Fail(c, kExitUsage, "the name is not UTF-8 text");
        refused = editor.renameMacro(*n, *name);
    } else if (sub == "set") {
        // As the tick boxes and the repeat count edit: the loop is on for more than one play.
        if (repeat) {
            if (editor.loopOption() != (*repeat > 1))
                editor.toggleLoopOption();
            editor.editRepeatText(FromUtf8(std::to_string(*repeat)).value());
        }
        if (delay && editor.delayOption() != *delay)
            editor.toggleDelayOption();
    }
    if (refused)
        return Fail(c, kExitUsage, ToUtf8(refused.text));
    MacroStore store;
    editor.accept(store);
    if (sub == "set" && delay) {
        // The tick box alone reaches a macro only with its next edit; asked for, it is stored.
        store[*n].flags = *delay ? kDelayOptionFlag : 0;
    }
    if (events) {
        // As every edit of the event list commits it: a macro that plays once says so.
        store[*n].deviceEvents = events->device;
        store[*n].displayEvents = events->display;
        store[*n].repeatCount = std::max<std::uint16_t>(store[*n].repeatCount, 1);
    }
    // Keys follow their macro when an earlier one is deleted, as in the macro manager.
    const MacroCommitResult committed = work.session().CommitMacros(store, editor.renumbering());
    if (!committed.macros.ok)
        return Fail(c, kExitUsage, committed.macros.error);
    if (sub == "new")
        c.Out("macro " + std::to_string(*n) + ": " + ToUtf8(store[*n].name()) + "\n");
    return work.Finish();
}

} // namespace orvo::cli

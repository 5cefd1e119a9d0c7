#include "cli/dispatch.h"

#include "cli/commands.h"
#include "model/log.h"

#include <algorithm>
#include <cstdio>

#include <string>

namespace orvo::cli {

namespace {

struct Command {
    std::string_view name;
    int (*run)(const Context&, Args);
    std::string_view synopsis; // after "orvoctl "
    std::string_view help;     // what --help adds below the synopsis
};

constexpr Command kCommands[] = {
    {"info", RunInfo, "info",
     "Prints the backend, the keyboard's interfaces, whether it is connected and its\n"
     "firmware version.\n"},
    {"read", RunRead, "read FILE",
     "Reads every setting of the keyboard into the profile FILE; the computer-side\n"
     "key actions come from keymap.bin.\n"},
    {"apply", RunApply, "apply FILE",
     "Sends what differs between the profile FILE and the keyboard and makes it the\n"
     "program's configuration (keymap.bin). Prints the groups sent.\n"},
    {"reset", RunReset, "reset",
     "Restores the keyboard's factory settings and resets keymap.bin as the program's\n"
     "\"Reiniciar ajustes\" does.\n"},
    {"listen", RunListen, "listen [--count N]",
     "Prints each key event the keyboard reports to the computer; ends after N events.\n"},
    {"dump", RunDump, "dump FILE [--json]",
     "Prints keymap.bin, a profile or MacroDefine.bin in readable form (or as JSON).\n"},
    {"set", RunSet,
     "set effect NAME|CODE [--speed 0-9] [--brightness 0-50] [--colour SLOT|multi]\n"
     "                          [--direction L|R|T|B]\n"
     "       orvoctl set slot N RRGGBB\n"
     "       orvoctl set palm EFFECT [--brightness 0-50] [--speed 1-5] [--colour RRGGBB]\n"
     "       orvoctl set game-mode on|off | win-lock on|off\n"
     "       orvoctl set report-rate 0-3 | response-time 0-9",
     "Changes a setting of the main window. Effects are named as the effect lists show\n"
     "them (\"Modo onda\"; case and accents do not matter) or by their code. Colour slots\n"
     "are 1 to 7, \"multi\" the multicolour slot; an effect takes only the slots the window\n"
     "offers it. The palm-rest colour cannot be chosen for its wave effect.\n"},
    {"key", RunKey,
     "key KEY (--key K | --combo K+K[+K] | --macro N|NAME | --function NAME |\n"
     "                 --play PATH | --run PATH | --open PATH | --folder PATH |\n"
     "                 --disable | --enable | --reset)",
     "Gives KEY a new function, as the key assignment dialog does. Keys are named as the\n"
     "key table names them (\"A\", \"F5\", \"LCtrl\", \"Enter\", \"1-num\") or by key index\n"
     "(\"#63\"); a name two keys share finds the main block's key, \"#N\" the other.\n"
     "--function takes a label of the dialog's \"Basic\" page (\"Copiar\", \"Vol+\").\n"},
    {"keys", RunKeys, "keys", "Lists every key with its assignment.\n"},
    {"colour", RunColour, "colour KEY... RRGGBB [--table 1-5]",
     "Paints keys in a custom lighting profile (\"Perfil de iluminación\" 1 to 5), as\n"
     "DIY mode does; without --table, the profile the current effect shows.\n"},
    {"macro", RunMacro,
     "macro list | show N | new [NAME] | delete N | rename N NAME\n"
     "       orvoctl macro set N [--repeat 1-999] [--delay on|off]\n"
     "       orvoctl macro import N FILE | export N",
     "Works on the macros as the macro manager does; N is a macro's number (from 0) or\n"
     "its name. The text form of export and import is the event list as the macro\n"
     "manager shows it, one line each (\"A  dn\", \"300 ms\", \"A  up\"); FILE \"-\" reads\n"
     "standard input.\n"},
    {"export", RunExport, "export FILE.bin",
     "Prints a profile (or keymap.bin) as JSON: the content of dump --json and every\n"
     "byte needed to rebuild the file.\n"},
    {"import", RunImport, "import FILE.json OUT.bin",
     "Writes the profile file an export describes; FILE.json \"-\" reads standard input.\n"},
    {"profile", RunProfile, "profile list | save NAME | load NAME | delete NAME | rename OLD NEW",
     "Keeps up to six profiles as the profile manager does: save stores the current\n"
     "configuration (keymap.bin) under NAME, load makes a profile the configuration.\n"},
};

constexpr std::string_view kEditingNote =
    "Editing commands change keymap.bin and MacroDefine.bin in the data folder and send\n"
    "the result to the keyboard unless --no-apply is given; a running ZorvantaOrvo re-reads\n"
    "them.\n";

constexpr std::string_view kExitCodes = "Exit codes: 0 done, 1 keyboard absent, 2 bad usage or "
                                        "file, 3 transfer failed or keyboard busy.\n";

const Command* Find(std::string_view name) {
    for (const Command& c : kCommands) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

std::string Overview() {
    std::string text = "usage: orvoctl COMMAND [ARGS] [--trace] [--help]\n";
    // Whole synopses (a first line alone ends some in the middle of their options),
    // their further lines moved left as "  " is shorter than "usage: ".
    constexpr std::string_view kShift = "     ";
    for (const Command& c : kCommands) {
        std::string_view rest = c.synopsis;
        text += "  orvoctl ";
        for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos;) {
            text += std::string(rest.substr(0, end + 1));
            rest.remove_prefix(end + 1);
            if (rest.starts_with(kShift))
                rest.remove_prefix(kShift.size());
        }
        text += std::string(rest) + "\n";
    }
    return text + std::string(kEditingNote) + std::string(kExitCodes);
}

std::string Help(const Command& c) {
    return "usage: orvoctl " + std::string(c.synopsis) + "\n\n" + std::string(c.help) +
           "Options: --trace prints every transfer with the keyboard on standard error.\n" +
           std::string(kExitCodes);
}

} // namespace

int UsageError(const Context& context, std::string_view command, const std::string& message) {
    // One line, whatever went wrong; the help has the rest.
    const std::string more = " (see orvoctl " + std::string(command) + " --help)\n";
    if (!message.empty()) {
        context.Err("orvoctl " + std::string(command) + ": " + message + more);
    } else if (const Command* c = Find(command)) {
        const std::string_view first = c->synopsis.substr(0, c->synopsis.find('\n'));
        context.Err("usage: orvoctl " + std::string(first) +
                    (first.size() == c->synopsis.size() ? std::string("\n") : more));
    }
    return kExitUsage;
}

int RunOrvoctl(std::span<const std::string_view> args, const Context& context) {
    if (args.empty()) {
        context.Err(Overview());
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1) {
            if (const Command* c = Find(args[1])) {
                context.Out(Help(*c));
                return kExitOk;
            }
        }
        context.Out(Overview());
        return kExitOk;
    }
    const Command* c = Find(args[0]);
    if (!c) {
        context.Err("orvoctl: unknown command '" + std::string(args[0]) +
                    "' (see orvoctl --help)\n");
        return kExitUsage;
    }
    const Args rest = args.subspan(1);
    for (const std::string_view word : rest) {
        if (word == "--")
            break;
        if (word == "--help" || word == "-h") {
            context.Out(Help(*c));
            return kExitOk;
        }
    }
    return c->run(context, rest);
}

int RunOrvoctl(std::span<const std::string_view> args) {
    RealPacer pacer;
    const Context context = ProcessContext(pacer);
    // What the core logs reaches the user as the commands' own messages; with --trace the log
    // itself is shown as well.
    const bool trace = std::ranges::find(args, std::string_view("--trace")) != args.end();
    SetLogSink([trace](LogLevel level, std::string_view line) {
        if (trace)
            std::fprintf(stderr, "orvoctl: %s%.*s\n", level == LogLevel::Warning ? "warning: " : "",
                         static_cast<int>(line.size()), line.data());
    });
    const int code = RunOrvoctl(args, context);
    SetLogSink({});
    return code;
}

} // namespace orvo::cli

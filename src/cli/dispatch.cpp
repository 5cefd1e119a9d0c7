#include "cli/dispatch.h"

#include "cli/commands.h"

#include <cstdio>
#include <string>

namespace orvo::cli {

namespace {

struct Command {
    std::string_view name;
    int (*run)(Args);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"dump", RunDump, "dump FILE [--json]   print keymap.bin, a profile or MacroDefine.bin"},
    {"info", RunInfo, "info                 connection, interface paths, firmware version"},
    {"read", RunRead, "read FILE            read the keyboard into a profile file"},
    {"apply", RunApply, "apply FILE           send what differs in a profile file"},
    {"reset", RunReset, "reset                restore the keyboard's factory settings"},
    {"listen", RunListen, "listen [--count N]   print host key events as they arrive"},
};

void PrintUsage() {
    std::fputs("usage: orvoctl COMMAND [ARGS] [--trace]\n", stderr);
    for (const Command& c : kCommands)
        std::fprintf(stderr, "  orvoctl %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
}

} // namespace

int RunOrvoctl(std::span<const std::string_view> args) {
    if (args.empty()) {
        PrintUsage();
        return kExitUsage;
    }
    for (const Command& c : kCommands) {
        if (c.name == args[0])
            return c.run(args.subspan(1));
    }
    std::fprintf(stderr, "orvoctl: unknown command '%s'\n", std::string(args[0]).c_str());
    PrintUsage();
    return kExitUsage;
}

} // namespace orvo::cli

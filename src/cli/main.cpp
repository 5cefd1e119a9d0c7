// orvoctl: the command-line tool over the core library.

#include "cli/commands.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

struct Command {
    std::string_view name;
    int (*run)(orvo::cli::Args);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"dump", orvo::cli::RunDump,
     "dump FILE [--json]   print keymap.bin, a profile or MacroDefine.bin"},
    {"info", orvo::cli::RunInfo,
     "info                 connection, interface paths, firmware version"},
    {"read", orvo::cli::RunRead, "read FILE            read the keyboard into a profile file"},
    {"apply", orvo::cli::RunApply, "apply FILE           send what differs in a profile file"},
    {"reset", orvo::cli::RunReset, "reset                restore the keyboard's factory settings"},
    {"listen", orvo::cli::RunListen, "listen [--count N]   print host key events as they arrive"},
};

void PrintUsage() {
    std::fputs("usage: orvoctl COMMAND [ARGS] [--trace]\n", stderr);
    for (const Command& c : kCommands)
        std::fprintf(stderr, "  orvoctl %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return orvo::cli::kExitUsage;
    }
    const std::string_view name = argv[1];
    std::vector<std::string_view> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name == name)
            return c.run(args);
    }
    std::fprintf(stderr, "orvoctl: unknown command '%s'\n", argv[1]);
    PrintUsage();
    return orvo::cli::kExitUsage;
}

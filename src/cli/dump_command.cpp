#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/dump_file.h"

namespace orvo::cli {

int RunDump(const Context& c, Args args) {
    std::string_view file;
    bool json = false;
    bool bad = false;
    for (const std::string_view a : args) {
        if (a == "--trace")
            continue; // accepted by every command; the dump has nothing to trace
        if (a == "--json")
            json = true;
        else if (a.starts_with("--") || !file.empty())
            bad = true;
        else
            file = a;
    }
    if (bad || file.empty())
        return UsageError(c, "dump", {});
    const DumpOutput d = DumpFile(std::filesystem::path(std::string(file)), json);
    c.Out(d.out);
    c.Err(d.err);
    return d.exitCode;
}

} // namespace orvo::cli

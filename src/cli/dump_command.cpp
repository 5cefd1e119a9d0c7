#include "cli/commands.h"

#include <cstdio>

namespace orvo::cli {

int RunDump(Args) {
    std::fputs("orvoctl dump: not built yet\n", stderr);
    return kExitUsage;
}

} // namespace orvo::cli

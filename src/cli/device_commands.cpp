#include "cli/commands.h"

#include <cstdio>

namespace orvo::cli {

namespace {
int NotYet(const char* name) {
    std::fprintf(stderr, "orvoctl %s: not built yet\n", name);
    return kExitUsage;
}
} // namespace

int RunInfo(Args) {
    return NotYet("info");
}
int RunRead(Args) {
    return NotYet("read");
}
int RunApply(Args) {
    return NotYet("apply");
}
int RunReset(Args) {
    return NotYet("reset");
}
int RunListen(Args) {
    return NotYet("listen");
}

} // namespace orvo::cli

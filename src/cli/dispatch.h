#pragma once
// orvoctl's command line: the command name picks a subcommand, which parses the rest. Kept
// apart from main() so that tests and the fuzz target can run any command line in-process.

#include "cli/context.h"

#include <span>
#include <string_view>

namespace orvo::cli {

// args are the words after the program name; returns the exit code.
int RunOrvoctl(std::span<const std::string_view> args, const Context& context);
// The same with the process's own context (real pauses, stdout, the real program).
int RunOrvoctl(std::span<const std::string_view> args);

} // namespace orvo::cli

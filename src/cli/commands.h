#pragma once
// The subcommands of orvoctl. Each returns the process exit code.

#include <span>
#include <string_view>

namespace orvo::cli {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitKeyboardAbsent = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitTransferFailed = 3;

using Args = std::span<const std::string_view>;

int RunDump(Args args);   // dump FILE [--json]
int RunInfo(Args args);   // info
int RunRead(Args args);   // read FILE
int RunApply(Args args);  // apply FILE
int RunReset(Args args);  // reset
int RunListen(Args args); // listen [--count N]

} // namespace orvo::cli

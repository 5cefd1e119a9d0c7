#pragma once
// The subcommands of orvoctl. Each takes the words after its name and returns the process exit
// code; its usage and help text live in dispatch.cpp's command table.

#include "cli/arguments.h"
#include "cli/context.h"

namespace orvo::cli {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitKeyboardAbsent = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitTransferFailed = 3;

int RunDump(const Context& c, Args args);    // dump FILE [--json]
int RunInfo(const Context& c, Args args);    // info
int RunRead(const Context& c, Args args);    // read FILE
int RunApply(const Context& c, Args args);   // apply FILE
int RunReset(const Context& c, Args args);   // reset
int RunListen(const Context& c, Args args);  // listen [--count N]
int RunSet(const Context& c, Args args);     // set WHAT VALUE... [options]
int RunKey(const Context& c, Args args);     // key KEY ACTION
int RunKeys(const Context& c, Args args);    // keys
int RunColour(const Context& c, Args args);  // colour KEY... RRGGBB --table T
int RunMacro(const Context& c, Args args);   // macro SUBCOMMAND ...
int RunExport(const Context& c, Args args);  // export FILE.bin
int RunImport(const Context& c, Args args);  // import FILE.json OUT.bin
int RunProfile(const Context& c, Args args); // profile SUBCOMMAND ...

// A command's usage line and help text, for the messages of bad usage.
int UsageError(const Context& c, std::string_view command, const std::string& message);

} // namespace orvo::cli

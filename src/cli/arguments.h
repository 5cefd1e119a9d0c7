#pragma once
// The words of one command: positional words and options ("--name value", "--name=value" or a
// flag), checked against what the command takes. Every command takes --trace and --help.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::cli {

using Args = std::span<const std::string_view>;

struct OptionSpec {
    std::string_view name; // "--speed"
    bool takesValue = false;
};

struct ParsedArgs {
    std::vector<std::string_view> positional;
    std::vector<std::pair<std::string_view, std::string_view>> options; // in order given
    bool trace = false;
    bool help = false;
    std::string error; // the first word that does not fit, said in one line

    bool has(std::string_view name) const;
    std::optional<std::string_view> value(std::string_view name) const;
};

// An option given twice is an error; "--" makes every later word positional.
ParsedArgs ParseArgs(Args args, std::span<const OptionSpec> options);

} // namespace orvo::cli

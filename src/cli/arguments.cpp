#include "cli/arguments.h"

#include <algorithm>

namespace orvo::cli {

bool ParsedArgs::has(std::string_view name) const {
    return std::ranges::any_of(options, [&](const auto& o) { return o.first == name; });
}

std::optional<std::string_view> ParsedArgs::value(std::string_view name) const {
    for (const auto& [option, value] : options) {
        if (option == name)
            return value;
    }
    return std::nullopt;
}

ParsedArgs ParseArgs(Args args, std::span<const OptionSpec> options) {
    ParsedArgs p;
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view word = args[i];
        if (onlyPositional || !word.starts_with("-") || word == "-") {
            p.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            onlyPositional = true;
            continue;
        }
        if (word == "--trace") {
            p.trace = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            p.help = true;
            continue;
        }
        std::optional<std::string_view> inlineValue;
        if (const std::size_t eq = word.find('='); eq != std::string_view::npos) {
            inlineValue = word.substr(eq + 1);
            word = word.substr(0, eq);
        }
        const auto spec =
            std::ranges::find_if(options, [&](const OptionSpec& o) { return o.name == word; });
        if (spec == options.end()) {
            if (p.error.empty())
                p.error = "unknown option " + std::string(word);
            continue;
        }
        if (p.has(word)) {
            if (p.error.empty())
                p.error = std::string(word) + " is given twice";
            continue;
        }
        std::string_view value;
        if (spec->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                if (p.error.empty())
                    p.error = std::string(word) + " needs a value";
                continue;
            }
        } else if (inlineValue) {
            if (p.error.empty())
                p.error = std::string(word) + " takes no value";
            continue;
        }
        p.options.emplace_back(word, value);
    }
    return p;
}

} // namespace orvo::cli

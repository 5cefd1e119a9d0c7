#include "cli/input_file.h"

#include "model/atomic_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace orvo::cli {

InputText ReadInputText(std::string_view file, std::size_t maxBytes) {
    InputText in;
    std::string text;
    if (file == "-") {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0 && text.size() <= maxBytes)
            text.append(buffer, n);
    } else {
        const std::filesystem::path path{std::string(file)};
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            in.error = "cannot read " + std::string(file) + ": not a readable file";
            return in;
        }
        const auto bytes = ReadFilePrefix(path, maxBytes + 1);
        if (!bytes) {
            in.error = "cannot read " + std::string(file);
            return in;
        }
        text.assign(bytes->begin(), bytes->end());
    }
    if (text.size() > maxBytes) {
        in.error =
            std::string(file) + " is too large (more than " + std::to_string(maxBytes) + " bytes)";
        return in;
    }
    in.text = std::move(text);
    return in;
}

} // namespace orvo::cli

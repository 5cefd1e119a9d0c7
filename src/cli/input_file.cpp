#include "cli/input_file.h"

#include "model/atomic_file.h"

#include <cstdio>
#include <filesystem>

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
        const auto content =
            ReadRegularFile(std::filesystem::path{std::string(file)}, maxBytes + 1, &in.error);
        if (!content)
            return in;
        text.assign(content->bytes.begin(), content->bytes.end());
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

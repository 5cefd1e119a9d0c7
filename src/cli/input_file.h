#pragma once
// A text file a command reads (a macro's text form, a profile's JSON), or standard input for
// "-"; refused beyond a size no such file reaches.

#include <optional>
#include <string>
#include <string_view>

namespace orvo::cli {

struct InputText {
    std::optional<std::string> text;
    std::string error; // when there is no text
};

InputText ReadInputText(std::string_view file, std::size_t maxBytes);

} // namespace orvo::cli

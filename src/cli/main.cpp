// orvoctl: the command-line tool over the core library.

#include "cli/dispatch.h"

#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return orvo::cli::RunOrvoctl(args);
}

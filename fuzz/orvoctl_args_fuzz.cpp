// orvoctl's command lines: the input is split at NUL bytes into the words after the program
// name. The keyboard is simulated and unplugged, so every device command ends once its words
// are parsed; words with a '/' are skipped, so files are only read and written in a folder of
// the target's own (which holds a profile and a macro file for the dump).

#include "cli/dispatch.h"
#include "device/hid.h"
#include "model/log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::size_t kMaxWords = 8;
std::filesystem::path g_dir;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    namespace fs = std::filesystem;
    orvo::SetLogSink([](orvo::LogLevel, std::string_view) {});
    g_dir = fs::temp_directory_path() / ("orvo-orvoctl-fuzz-" + std::to_string(::getpid()));
    const fs::path& dir = g_dir;
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_dir, ec);
    });
    fs::create_directories(dir / "sim");
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "work");
    std::ofstream(dir / "sim" / "unplugged").put('\n');
    std::ofstream(dir / "work" / "p.bin", std::ios::binary) << std::string(206928, '\1');
    std::ofstream(dir / "work" / "MacroDefine.bin", std::ios::binary) << std::string(169860, 'M');
    ::setenv(orvo::kSimulatorEnvironmentVariable, (dir / "sim").c_str(), 1);
    ::setenv("ZORVANTA_DATA_DIR", (dir / "data").c_str(), 1);
    fs::current_path(dir / "work");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (text.find('/') != std::string_view::npos)
        return 0;
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at <= text.size() && words.size() < kMaxWords;) {
        const std::size_t end = std::min(text.find('\0', at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    const int code = orvo::cli::RunOrvoctl(words);
    if (code < 0 || code > 3)
        std::abort();
    return 0;
}

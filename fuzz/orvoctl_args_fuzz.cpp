// orvoctl's command lines: the input is split at NUL bytes into the words after the program
// name. The keyboard is simulated and unplugged, so every command that needs it ends once its
// words are parsed, while the editing commands with --no-apply run whole on the data folder
// (which starts with a valid "keymap.bin"). Words with a '/' are skipped, so files are only
// read and written in a folder of the target's own (which holds a profile, its JSON, a macro
// file and a macro's text form); "-" (standard input) is skipped as well.

#include "cli/dispatch.h"
#include "cli/profile_json.h"
#include "device/hid.h"
#include "device/simulated_keyboard.h"
#include "model/config_files.h"
#include "model/key_tables.h"
#include "model/log.h"

#include <algorithm>
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
// Pauses are skipped (recording them would grow without end over a run).
struct NoPauses final : orvo::Pacer {
    void Sleep(int) override {}
} g_pacer;
orvo::cli::Context g_context;

std::vector<std::uint8_t> ValidProfile() {
    using namespace orvo;
    SettingsImage image;
    std::ranges::copy(FactoryKeyMap, image[field::keyMap].begin());
    std::ranges::fill(image[field::keyEnableMask], 0xFF);
    image.byte(field::lightingEffect) = 1;
    image.byte(field::lightingDirection) = 1;
    image.byte(field::palmRest, palm::speed) = 3;
    KeyActionTable table;
    table.clear();
    return SerialiseProfile(image, table);
}

void Write(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}
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
    const auto profile = ValidProfile();
    const std::string_view profileBytes(reinterpret_cast<const char*>(profile.data()),
                                        profile.size());
    Write(dir / "data" / orvo::kKeymapFileName, profileBytes);
    Write(dir / "work" / "p.bin", std::string(206928, '\1'));
    Write(dir / "work" / "p.json", *orvo::cli::ExportProfileJson(profile));
    Write(dir / "work" / "MacroDefine.bin", std::string(169860, 'M'));
    Write(dir / "work" / "m.txt", "A  dn\n300 ms\nA  up\n");
    fs::current_path(dir / "work");

    g_context.openBus = [] {
        std::string error;
        return orvo::OpenSimulatorBus(g_dir / "sim", error);
    };
    g_context.pacer = &g_pacer;
    g_context.folders.dataFolder = dir / "data";
    g_context.folders.programFolder = dir / "work";
    g_context.makeLock = [] {
        return std::make_unique<orvo::DeviceLock>(g_dir / "keyboard.lock", "fuzz");
    };
    g_context.out = [](std::string_view) {};
    g_context.err = [](std::string_view) {};
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
    if (std::ranges::find(words, std::string_view("-")) != words.end())
        return 0;
    const int code = orvo::cli::RunOrvoctl(words, g_context);
    if (code < 0 || code > 3)
        std::abort();
    return 0;
}

// The simulated keyboard's two inputs from outside: its memory file "keyboard.bin" and the lines
// appended to its "input" file. The input starts with the length of the keyboard.bin part (two
// bytes, little-endian); the rest are lines for the input file. The target reads the keyboard
// back through the simulator, then reads every report the lines make.

#include "device/read_back.h"
#include "device/simulated_keyboard.h"
#include "model/log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path g_dir;
std::unique_ptr<orvo::HidBus> g_bus;
// One input interface for the whole run: closing its folder watch costs the kernel ~15 ms.
// Each input's lines are appended to the input file, ended by a line break so that no line
// runs into the next input's.
std::unique_ptr<orvo::HidDevice> g_input;

void Put(const fs::path& file, std::span<const std::uint8_t> bytes, std::ios::openmode mode) {
    std::ofstream(file, std::ios::binary | mode)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using namespace orvo;
    SetLogSink([](LogLevel, std::string_view) {});
    // Memory-backed when possible: the simulator syncs what it writes.
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    g_dir = base / ("orvo-simulator-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(g_dir);
    fs::create_directories(g_dir);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_dir, ec);
    });
    // Every transfer is traced; nothing needs to keep the trace.
    fs::create_symlink("/dev/null", g_dir / kSimulatorTraceFile);
    std::string error;
    g_bus = OpenSimulatorBus(g_dir, error);
    if (g_bus)
        g_input = g_bus->Open(std::string(kSimulatorInputPath)).device;
    if (!g_input)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    if (size < 2)
        return 0;
    const std::size_t memorySize = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    const std::span<const std::uint8_t> memory(data + 2, memorySize);
    const std::span<const std::uint8_t> lines(data + 2 + memorySize, size - 2 - memorySize);

    Put(g_dir / kSimulatorMemoryFile, memory, std::ios::trunc);
    auto command = g_bus->Open(std::string(kSimulatorCommandPath)).device; // loads keyboard.bin
    if (!command)
        std::abort();
    RecordingPacer pacer;
    CommandChannel ch{*command, pacer};
    SettingsImage image;
    if (!FullReadBack(ch, image))
        std::abort(); // the simulator answers every request

    Put(g_dir / kSimulatorInputFile, lines, std::ios::app);
    static constexpr std::uint8_t kLineBreak[] = {'\n'};
    Put(g_dir / kSimulatorInputFile, kLineBreak, std::ios::app);
    for (std::size_t n = 0; n <= lines.size(); ++n) {
        InputReport report{4, 0, 0, 0};
        if (g_input->Read(report, 0).status != ReadStatus::Ok)
            break;
    }
    return 0;
}

// Wall time of the start-up read-back against the simulated keyboard with real pauses, as a
// ratio to the 479 ms of pauses the sequence must contain. The overhead (HID calls, simulator,
// trace writes, sleep overshoot) should stay under 5 %.

#include "device/read_back.h"
#include "device/simulated_keyboard.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    constexpr double kMandatedMs = 479.0;
    constexpr double kLimit = 1.05;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const fs::path dir = fs::temp_directory_path() /
                         ("orvo-readback-bench-" + std::to_string(std::random_device{}()));
    std::string error;
    auto bus = orvo::OpenSimulatorBus(dir, error);
    if (!bus) {
        std::fprintf(stderr, "readback_bench: %s\n", error.c_str());
        return 1;
    }
    auto device = bus->Open(std::string(orvo::kSimulatorCommandPath)).device;
    orvo::RealPacer pacer;
    orvo::CommandChannel channel{*device, pacer};

    double best = 1e9, total = 0;
    bool ok = true;
    for (int i = 0; i < runs; ++i) {
        orvo::SettingsImage image;
        orvo::FirmwareVersion firmware;
        const auto start = std::chrono::steady_clock::now();
        ok = orvo::ReadBackSequence(channel, image, firmware) && ok;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        best = std::min(best, ms);
        total += ms;
    }
    device.reset();
    bus.reset();
    std::error_code ec;
    fs::remove_all(dir, ec);

    const double ratio = best / kMandatedMs;
    std::printf("read-back: best %.1f ms, mean %.1f ms over %d runs; %.0f ms of pauses; "
                "ratio %.3f (limit %.2f) %s\n",
                best, total / runs, runs, kMandatedMs, ratio, kLimit,
                ok && ratio < kLimit ? "OK" : "OVER");
    return ok && ratio < kLimit ? 0 : 1;
}

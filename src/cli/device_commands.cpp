// orvoctl's device commands: info, read, apply, reset, listen. They work with the real keyboard
// and with the simulated one (ZORVANTA_SIMULATOR).

#include "cli/commands.h"
#include "device/connection.h"
#include "device/read_back.h"
#include "device/simulated_keyboard.h"
#include "device/trace.h"
#include "model/atomic_file.h"
#include "model/config_files.h"
#include "model/program_folders.h"
#include "model/window_messages.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <ctime>
#include <signal.h>
#endif

namespace orvo::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTraceOption = "--trace";
constexpr std::string_view kCountOption = "--count";

// The arguments of a device command, with --trace taken out.
struct Parsed {
    bool trace = false;
    std::vector<std::string_view> positional;
    std::optional<std::string_view> count;
    bool bad = false;
};

Parsed Parse(Args args, bool acceptsCount) {
    Parsed p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == kTraceOption) {
            p.trace = true;
        } else if (acceptsCount && args[i] == kCountOption && i + 1 < args.size()) {
            p.count = args[++i];
        } else if (args[i].starts_with("--")) {
            p.bad = true;
        } else {
            p.positional.push_back(args[i]);
        }
    }
    return p;
}

int Usage(const char* line) {
    std::fprintf(stderr, "usage: orvoctl %s [--trace]\n", line);
    return kExitUsage;
}

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "orvoctl: %s\n", message.c_str());
    return code;
}

// The HID bus and a connection over it, traced to stderr with --trace.
struct Session {
    std::unique_ptr<HidBus> bus;
    RealPacer pacer;
    std::unique_ptr<DeviceConnection> connection;

    explicit Session(bool trace) : bus(OpenHidBusFromEnvironment()) {
        if (trace)
            bus = MakeTracingBus(std::move(bus), stderr);
        connection = std::make_unique<DeviceConnection>(*bus, pacer);
    }

    // Opens the command interface; the exit code and message when it is not there.
    std::optional<int> OpenCommand() {
        std::string error;
        if (connection->OpenCommandInterface(&error))
            return std::nullopt;
        return Fail(kExitKeyboardAbsent, error.empty() ? "keyboard not found" : error);
    }
};

// Where "keymap.bin" lives: the data folder of the program folders' rules.
fs::path KeymapFile() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ProgramFoldersFromEnvironment(ec ? fs::current_path() / "orvoctl" : exe).keymapFile();
}

std::string Version(const FirmwareVersion& v) {
    return std::to_string(v.major()) + "." + std::to_string(v.minor());
}

std::string SentGroups(const ChangedGroups& c) {
    std::string s = "palm rest";
    auto add = [&](bool changed, const char* name) {
        if (changed)
            s += std::string(", ") + name;
    };
    add(c.any(), "lighting");
    add(c.colourSlots, "colour slots");
    add(c.gameMode, "game mode");
    add(c.reportRate, "report rate");
    add(c.responseTime, "response time");
    add(c.keyMap, "key map");
    for (std::size_t n = 0; n < c.macroBlocks.size(); ++n)
        add(c.macroBlocks[n], ("macro block " + std::to_string(n)).c_str());
    add(c.keyEnableMask, "key enable mask");
    for (std::size_t t = 0; t < c.customLightingTables.size(); ++t)
        add(c.customLightingTables[t], ("custom lighting table " + std::to_string(t)).c_str());
    return s;
}

// Prints each key event the listener passes on and counts them.
class PrintingSink final : public MessageSink {
public:
    bool Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        if (message != WM_DEVICE_KEY_EVENT)
            return true;
        std::printf("key 0x%02x\n", static_cast<unsigned>(wParam));
        std::fflush(stdout);
        ++m_count;
        return true;
    }
    long count() const { return m_count; }

private:
    std::atomic<long> m_count{0};
};

} // namespace

int RunInfo(Args args) {
    const Parsed p = Parse(args, false);
    if (p.bad || !p.positional.empty())
        return Usage("info");
    Session s(p.trace);
    if (const char* sim = std::getenv(kSimulatorEnvironmentVariable); sim && *sim)
        std::printf("backend: simulated keyboard in %s\n", sim);
    else
        std::printf("backend: hidapi\n");
    const auto command = FindKeyboardInterface(*s.bus, kCommandInterfaceMatch);
    const auto input = FindKeyboardInterface(*s.bus, kInputInterfaceMatch);
    std::printf("command interface: %s\n", command ? command->path.c_str() : "absent");
    std::printf("input interface: %s\n", input ? input->path.c_str() : "absent");
    if (auto failed = s.OpenCommand()) {
        std::printf("connection: keyboard absent\n");
        return *failed;
    }
    FirmwareVersion version;
    const bool ok = s.connection->RunCommands(
        [&](CommandChannel& ch) { return ReadFirmwareVersion(ch, version); });
    std::printf("connection: connected\n");
    if (!ok)
        return Fail(kExitTransferFailed, "the keyboard did not report its firmware version");
    std::printf("firmware: %s\n", Version(version).c_str());
    return kExitOk;
}

int RunRead(Args args) {
    const Parsed p = Parse(args, false);
    if (p.bad || p.positional.size() != 1)
        return Usage("read FILE");
    const fs::path file(p.positional[0]);
    Session s(p.trace);
    if (auto failed = s.OpenCommand())
        return *failed;
    SettingsImage image;
    FirmwareVersion version;
    const bool ok = s.connection->RunCommands([&](CommandChannel& ch) {
        return FullReadBack(ch, image) && ReadFirmwareVersion(ch, version);
    });
    if (!ok)
        return Fail(kExitTransferFailed, "reading the keyboard failed");

    // A profile is the image followed by the host's key actions, taken from "keymap.bin".
    std::vector<std::uint8_t> profile(image.bytes.begin(), image.bytes.end());
    profile.resize(kProfileFileSize, 0);
    if (auto keymap = ReadFilePrefix(KeymapFile(), kProfileFileSize);
        keymap && keymap->size() > kSettingsImageSize)
        std::copy(keymap->begin() + kSettingsImageSize, keymap->end(),
                  profile.begin() + kSettingsImageSize);
    if (const FileResult r = WriteFileAtomically(file, profile); !r)
        return Fail(kExitUsage, r.error);
    std::printf("read the keyboard (firmware %s) into %s\n", Version(version).c_str(),
                file.string().c_str());
    return kExitOk;
}

int RunApply(Args args) {
    const Parsed p = Parse(args, false);
    if (p.bad || p.positional.size() != 1)
        return Usage("apply FILE");
    const fs::path file(p.positional[0]);
    const auto bytes = ReadFilePrefix(file, kProfileFileSize + 1);
    if (!bytes)
        return Fail(kExitUsage, "cannot read " + file.string());
    if (bytes->size() != kProfileFileSize && bytes->size() != kSettingsImageSize)
        return Fail(kExitUsage, file.string() + " is not a profile (" +
                                    std::to_string(bytes->size()) + " bytes, expected " +
                                    std::to_string(kProfileFileSize) + ")");
    Session s(p.trace);
    if (auto failed = s.OpenCommand())
        return *failed;
    SettingsImage image;
    DeviceSnapshot snapshot;
    if (!s.connection->RunCommands([&](CommandChannel& ch) { return FullReadBack(ch, snapshot); }))
        return Fail(kExitTransferFailed, "reading the keyboard failed");
    std::copy_n(bytes->begin(), kSettingsImageSize, image.bytes.begin());
    const ApplyResult r = s.connection->ApplyChanges(image, snapshot);
    std::printf("sent: %s\n", SentGroups(r.sent).c_str());
    if (!r.ok)
        return Fail(kExitTransferFailed, "the keyboard did not receive every change");
    return kExitOk;
}

int RunReset(Args args) {
    const Parsed p = Parse(args, false);
    if (p.bad || !p.positional.empty())
        return Usage("reset");
    Session s(p.trace);
    if (auto failed = s.OpenCommand())
        return *failed;
    if (!s.connection->RunCommands([](CommandChannel& ch) { return ResetToFactoryDefaults(ch); }))
        return Fail(kExitTransferFailed, "the keyboard did not take the factory reset");
    std::printf("the keyboard is back to its factory settings\n");
    return kExitOk;
}

int RunListen(Args args) {
    const Parsed p = Parse(args, true);
    if (p.bad || !p.positional.empty())
        return Usage("listen [--count N]");
    long limit = -1;
    if (p.count) {
        char* end = nullptr;
        const std::string text(*p.count);
        limit = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || limit <= 0)
            return Usage("listen [--count N]");
    }
#ifndef _WIN32
    // Ctrl-C and SIGTERM end the wait below instead of killing the process mid-print; they are
    // blocked before any thread starts, so every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
#endif
    Session s(p.trace);
    std::string error;
    if (!s.connection->OpenInputInterface(&error))
        return Fail(kExitKeyboardAbsent, error.empty() ? "keyboard not found" : error);
    PrintingSink sink;
    s.connection->StartListener(sink);
    for (;;) {
        if (limit > 0 && sink.count() >= limit)
            break;
#ifndef _WIN32
        const timespec slice{0, 100 * 1000 * 1000};
        if (sigtimedwait(&stopSignals, nullptr, &slice) > 0)
            break;
#else
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
#endif
    }
    s.connection.reset(); // stops and joins the listener before the sink goes
    return kExitOk;
}

} // namespace orvo::cli

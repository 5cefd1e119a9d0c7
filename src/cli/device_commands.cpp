// orvoctl's device commands: info, read, apply, reset, listen. They work with the real keyboard
// and with the simulated one (ZORVANTA_SIMULATOR).

#include "cli/commands.h"
#include "cli/config_work.h"
#include "device/connection.h"
#include "device/read_back.h"
#include "device/session.h"
#include "device/simulated_keyboard.h"
#include "device/trace.h"
#include "model/atomic_file.h"
#include "model/config_files.h"
#include "model/config_state.h"
#include "model/settings_ranges.h"
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

#ifndef _WIN32
#include <ctime>
#include <signal.h>
#endif

namespace orvo::cli {

namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kCountOption[] = {{"--count", true}};

std::string Version(const FirmwareVersion& v) {
    return std::to_string(v.major()) + "." + std::to_string(v.minor());
}

// Prints each key event the listener passes on and counts them.
class PrintingSink final : public MessageSink {
public:
    explicit PrintingSink(const Context& context) : m_context(context) {}
    bool Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        if (message != WM_DEVICE_KEY_EVENT)
            return true;
        char line[16];
        std::snprintf(line, sizeof line, "key 0x%02x\n", static_cast<unsigned>(wParam));
        m_context.Out(line);
        ++m_count;
        return true;
    }
    long count() const { return m_count; }

private:
    const Context& m_context;
    std::atomic<long> m_count{0};
};

// A command that only needs the keyboard: no configuration to load first.
WorkOptions KeyboardOnly(const ParsedArgs& p) {
    WorkOptions o;
    o.trace = p.trace;
    o.needSettings = false;
    return o;
}

} // namespace

int RunInfo(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || !p.positional.empty())
        return UsageError(c, "info", p.error);
    ConfigWork work(c, KeyboardOnly(p));
    std::string why;
    const auto failed = work.OpenKeyboard(&why);
    if (const auto simulator = SimulatorFolderFromEnvironment())
        c.Out("backend: simulated keyboard in " + *simulator + "\n");
    else
        c.Out("backend: hidapi\n");
    const auto command = FindKeyboardInterface(work.bus(), kCommandInterfaceMatch);
    const auto input = FindKeyboardInterface(work.bus(), kInputInterfaceMatch);
    c.Out("command interface: " + (command ? command->path : std::string("absent")) + "\n");
    c.Out("input interface: " + (input ? input->path : std::string("absent")) + "\n");
    if (failed) {
        c.Out("connection: keyboard absent\n");
        return Fail(c, *failed, why);
    }
    FirmwareVersion version;
    const bool ok = work.connection().RunCommands(
        [&](CommandChannel& ch) { return ReadFirmwareVersion(ch, version); });
    c.Out("connection: connected\n");
    if (!ok)
        return work.TransferFailed("the keyboard did not report its firmware version");
    c.Out("firmware: " + Version(version) + "\n");
    return kExitOk;
}

int RunRead(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || p.positional.size() != 1)
        return UsageError(c, "read", p.error);
    const fs::path file(p.positional[0]);
    ConfigWork work(c, KeyboardOnly(p));
    if (auto failed = work.OpenKeyboard())
        return *failed;
    SweepStaleTemporaries(file); // what an interrupted earlier read left beside it
    // The key actions come from "keymap.bin" of the data folder, found as the program finds it.
    const ProfileReadResult r = work.session().ReadKeyboardIntoProfile(file);
    // Reading starts by switching game mode on: a running program reads the keyboard again.
    work.NotifyWindow();
    if (!r.transfersOk)
        return work.TransferFailed("reading the keyboard failed");
    if (!r.written)
        return Fail(c, kExitUsage, r.written.error);
    c.Out("read the keyboard (firmware " + Version(work.config().firmware) + ") into " +
          file.string() + "\n");
    return kExitOk;
}

int RunApply(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || p.positional.size() != 1)
        return UsageError(c, "apply", p.error);
    const fs::path file(p.positional[0]);
    const auto bytes = ReadProfileFile(c, file);
    if (!bytes)
        return kExitUsage;
    SettingsImage image;
    std::copy_n(bytes->begin(), kSettingsImageSize, image.bytes.begin());
    // Nothing goes to the keyboard from a file that holds values no control can produce.
    if (const std::string bad = DescribeOutOfRange(image); !bad.empty())
        return Fail(c, kExitUsage, file.string() + ": " + bad);
    WorkOptions options = KeyboardOnly(p);
    options.keepUnsent = false; // the profile replaces the configuration only once it is sent
    ConfigWork work(c, options);
    if (auto failed = work.Load())
        return *failed;
    // The profile becomes the program's configuration, as "Abrir" and Save make it; a file of
    // the settings image alone keeps the key actions there are.
    work.config().image = image;
    if (bytes->size() == kProfileFileSize)
        ParseProfile(*bytes, nullptr, work.config().keyActions);
    work.config().keyActions.reseedDefaultCodes();
    RecomputeCustomisedKeys(work.config());
    return work.Finish();
}

int RunReset(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || !p.positional.empty())
        return UsageError(c, "reset", p.error);
    ConfigWork work(c, KeyboardOnly(p));
    if (auto failed = work.Load())
        return *failed;
    if (auto failed = work.OpenKeyboard())
        return *failed;
    // As the help menu's reset: the keyboard, then the image, the key actions and
    // "keymap.bin" from what it reports.
    const ResetResult r = work.session().FactoryReset();
    work.NotifyWindow();
    if (!r.transfersOk)
        return work.TransferFailed("the keyboard did not take the factory reset");
    if (!r.keymapWritten)
        return Fail(c, kExitUsage, r.error);
    c.Out("the keyboard is back to its factory settings\n");
    return kExitOk;
}

int RunListen(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, kCountOption);
    if (!p.error.empty() || !p.positional.empty())
        return UsageError(c, "listen", p.error);
    long limit = -1;
    if (const auto count = p.value("--count")) {
        char* end = nullptr;
        const std::string text(*count);
        limit = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || limit <= 0)
            return UsageError(c, "listen", "--count takes a number above 0");
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
    std::unique_ptr<HidBus> bus = c.openBus();
    if (p.trace)
        bus = MakeTracingBus(std::move(bus), c.traceTo);
    auto connection = std::make_unique<DeviceConnection>(*bus, *c.pacer);
    std::string error;
    if (!connection->OpenInputInterface(&error))
        return Fail(c, kExitKeyboardAbsent, error.empty() ? "keyboard not found" : error);
    PrintingSink sink(c);
    connection->StartListener(sink);
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
    connection.reset(); // stops and joins the listener before the sink goes
    return kExitOk;
}

} // namespace orvo::cli

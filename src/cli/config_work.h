#pragma once
// What every editing command of orvoctl shares: the program's configuration loaded from the
// data folder ("keymap.bin", "MacroDefine.bin"), the keyboard opened when needed, and the end
// of the edit - the keyboard brought in line with the configuration (unless --no-apply), the
// files written, a running program told to re-read.
//
// "keymap.bin" is the configuration a command edits. When it holds none yet (missing, or
// values no control of the window produces, as a file written before the keyboard was ever
// read), its settings are first read from the keyboard, as the program does at start-up.

#include "cli/context.h"
#include "device/connection.h"
#include "device/session.h"
#include "model/config_state.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvo::cli {

struct WorkOptions {
    bool apply = true;        // send the result to the keyboard (not --no-apply)
    bool trace = false;       // --trace
    bool keepUnsent = true;   // an edit the keyboard did not take is still written to the file
    bool needSettings = true; // the edit starts from the current settings (see above)
};

class ConfigWork {
public:
    ConfigWork(const Context& context, WorkOptions options);
    ~ConfigWork();
    ConfigWork(const ConfigWork&) = delete;
    ConfigWork& operator=(const ConfigWork&) = delete;

    // Loads the configuration. nullopt when it is ready to edit; else the exit code, with the
    // message written.
    std::optional<int> Load();

    ConfigState& config() { return m_config; }
    Session& session() { return *m_session; }

    // Sends what differs to the keyboard (unless --no-apply) and writes "keymap.bin" (with the
    // image as sent); tells a running program. Prints the groups sent. Returns the exit code.
    int Finish();

    // The keyboard, opened on first use; nullopt when open, else the exit code, with the
    // message written unless `why` takes it.
    std::optional<int> OpenKeyboard(std::string* why = nullptr);
    DeviceConnection& connection() { return *m_connection; }
    HidBus& bus() { return *m_bus; }
    // A failed command sequence: the exit code, naming the other process when the keyboard
    // was busy.
    int TransferFailed(const std::string& what);
    // Any command that reached the keyboard or changed a file tells a running program.
    void NotifyWindow();

private:
    void EnsureSession();

    const Context& m_context;
    WorkOptions m_options;
    ConfigState m_config;
    std::unique_ptr<HidBus> m_bus;
    std::unique_ptr<DeviceConnection> m_connection;
    std::unique_ptr<Session> m_session;
    bool m_snapshotRead = false; // the snapshot holds what the keyboard reported in this run
    bool m_notified = false;
};

// One line "orvoctl: message" on standard error; returns the code.
int Fail(const Context& context, int code, const std::string& message);

// The bytes of a profile file (a whole profile, or the settings image alone); nullopt when it
// cannot be read or is neither, with the message written.
std::optional<std::vector<std::uint8_t>> ReadProfileFile(const Context& context,
                                                         const std::filesystem::path& file);

// The groups of a Save, in the order they are sent ("palm rest, lighting, key map").
std::string DeliveredGroups(const ApplyResult& r);

} // namespace orvo::cli

#include "cli/config_work.h"

#include "cli/commands.h"
#include "device/read_back.h"
#include "device/trace.h"
#include "model/atomic_file.h"
#include "model/config_files.h"
#include "model/settings_ranges.h"

#include <system_error>

namespace orvo::cli {

namespace {

// The groups named in `c`, in the order Save sends them; "nothing" when there are none.
std::string GroupNames(const ChangedGroups& c, bool palmRest, bool lighting) {
    std::string s;
    auto add = [&](bool changed, const std::string& name) {
        if (changed)
            s += (s.empty() ? "" : ", ") + name;
    };
    add(palmRest, "palm rest");
    add(lighting, "lighting");
    add(c.colourSlots, "colour slots");
    add(c.gameMode, "game mode");
    add(c.reportRate, "report rate");
    add(c.responseTime, "response time");
    add(c.keyMap, "key map");
    for (std::size_t n = 0; n < c.macroBlocks.size(); ++n)
        add(c.macroBlocks[n], "macro block " + std::to_string(n));
    add(c.keyEnableMask, "key enable mask");
    for (std::size_t t = 0; t < c.customLightingTables.size(); ++t)
        add(c.customLightingTables[t], "custom lighting table " + std::to_string(t));
    return s.empty() ? "nothing" : s;
}

} // namespace

int Fail(const Context& context, int code, const std::string& message) {
    context.Err("orvoctl: " + message + "\n");
    return code;
}

std::optional<std::vector<std::uint8_t>> ReadProfileFile(const Context& context,
                                                         const std::filesystem::path& file) {
    std::string error;
    // One byte more than a profile, to tell a longer file from one.
    auto content = ReadRegularFile(file, kProfileFileSize + 1, &error);
    if (!content) {
        Fail(context, kExitUsage, error);
        return std::nullopt;
    }
    const std::size_t size = content->bytes.size();
    if (size != kProfileFileSize && size != kSettingsImageSize) {
        Fail(context, kExitUsage,
             file.string() + " is not a profile (" + std::to_string(size) + " bytes, expected " +
                 std::to_string(kProfileFileSize) + ")");
        return std::nullopt;
    }
    return std::move(content->bytes);
}

std::string DeliveredGroups(const ApplyResult& r) {
    if (r.ok)
        return GroupNames(r.sent, true, r.sent.any());
    return GroupNames(r.delivered, r.palmRestDelivered, r.delivered.lighting);
}

ConfigWork::ConfigWork(const Context& context, WorkOptions options)
    : m_context(context), m_options(options) {
    m_config.folders = context.folders;
}

// The connection closes without pauses: no listener runs, and a command sequence has ended.
ConfigWork::~ConfigWork() = default;

void ConfigWork::EnsureSession() {
    if (m_session)
        return;
    // The bus is only listed and opened once a command needs the keyboard.
    m_bus = m_context.openBus();
    if (m_options.trace)
        m_bus = MakeTracingBus(std::move(m_bus), m_context.traceTo);
    m_connection = std::make_unique<DeviceConnection>(*m_bus, *m_context.pacer);
    if (m_context.makeLock)
        m_connection->useDeviceLock(m_context.makeLock());
    m_session = std::make_unique<Session>(m_config, *m_connection);
}

std::optional<int> ConfigWork::OpenKeyboard(std::string* why) {
    EnsureSession();
    std::string error;
    if (m_connection->OpenCommandInterface(&error))
        return std::nullopt;
    if (error.empty())
        error = "keyboard not found";
    if (why) {
        *why = error;
        return kExitKeyboardAbsent;
    }
    return Fail(m_context, kExitKeyboardAbsent, error);
}

int ConfigWork::TransferFailed(const std::string& what) {
    const DeviceLock* lock = m_connection ? m_connection->deviceLock() : nullptr;
    if (lock && lock->timedOut())
        return Fail(m_context, kExitTransferFailed,
                    "the keyboard is in use by " + lock->busyHolder() + "; " + what);
    return Fail(m_context, kExitTransferFailed, what);
}

void ConfigWork::NotifyWindow() {
    if (m_notified || !m_context.notifyWindow)
        return;
    m_notified = true;
    m_context.notifyWindow();
}

std::optional<int> ConfigWork::Load() {
    EnsureSession();
    std::error_code ec;
    const bool existed = std::filesystem::exists(m_config.folders.keymapFile(), ec);
    m_session->LoadDataFiles();
    if (m_config.keymapWriteBlocked)
        return Fail(m_context, kExitUsage,
                    m_config.folders.keymapFile().string() + " cannot be read; nothing changed");
    if (m_config.macroFileWriteBlocked)
        return Fail(m_context, kExitUsage,
                    m_config.folders.macroFile().string() + " cannot be read; nothing changed");
    if (!m_options.needSettings || (existed && OutOfRangeFields(m_config.image).empty()))
        return std::nullopt;
    // No configuration yet: the keyboard's own settings are the starting point.
    std::string why;
    if (const auto failed = OpenKeyboard(&why))
        return Fail(m_context, *failed, why + "; keymap.bin holds no settings yet to start from");
    SettingsImage read = m_config.image;
    if (!m_connection->RunCommands([&](CommandChannel& ch) { return FullReadBack(ch, read); }))
        return TransferFailed("reading the keyboard failed");
    m_config.image = read;
    m_config.deviceSnapshot = read;
    m_snapshotRead = true;
    return std::nullopt;
}

int ConfigWork::Finish() {
    int code = kExitOk;
    std::string unsent; // why nothing was sent, for the one line below
    if (m_options.apply) {
        if (const auto failed = OpenKeyboard(&unsent)) {
            code = *failed;
        } else if (!m_snapshotRead && !m_connection->RunCommands([&](CommandChannel& ch) {
                       return FullReadBack(ch, m_config.deviceSnapshot);
                   })) {
            code = TransferFailed("reading the keyboard failed");
        } else {
            m_snapshotRead = true;
            const SaveResult saved = m_session->Save();
            m_context.Out("sent: " + DeliveredGroups(saved.apply) + "\n");
            NotifyWindow();
            if (saved.ok())
                return saved.keymap.ok ? kExitOk : Fail(m_context, kExitUsage, saved.keymap.error);
            code = TransferFailed("the keyboard did not receive every change");
        }
        if (!m_options.keepUnsent) {
            if (!unsent.empty())
                Fail(m_context, code, unsent);
            return code;
        }
    }
    // Not sent (or not all of it): the edit waits in the file for the next Save.
    const FileResult written = SaveKeymapFile(m_config);
    NotifyWindow();
    if (!written.ok)
        return Fail(m_context, kExitUsage, written.error);
    if (!unsent.empty())
        Fail(m_context, code, unsent + "; the change is saved in keymap.bin but not sent");
    return code;
}

} // namespace orvo::cli

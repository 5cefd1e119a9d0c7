#include "device/session.h"

#include "device/commands.h"
#include "model/config_state.h"
#include "model/keyboard_groups.h"
#include "model/lighting_rules.h"
#include "model/log.h"

namespace orvo {

Session::Session(ConfigState& config, DeviceConnection& connection)
    : m_config(config), m_connection(connection) {}

void Session::LoadDataFiles() {
    if (const FileResult made = EnsureDataFolder(m_config.folders); !made)
        LogWarning("data folder: " + made.error);
    // What writes killed mid-way left behind.
    if (const std::size_t swept = SweepDataFolder(m_config.folders))
        LogTrace("data folder: removed " + std::to_string(swept) + " stale temporary files");
    ReadVersionFile(m_config);
    LoadMacroFile(m_config); // logs its own problems
    // A missing "keymap.bin" is created from the empty table.
    m_config.keyActions.clear();
    LoadKeymapFile(m_config, false);
    CommitSnapshot(m_config);
    RecomputeCustomisedKeys(m_config);
}

ConnectResult Session::Connect(MessageSink& sink) {
    return m_connection.Connect(m_config, sink);
}

ArrivalResult Session::OnArrival() {
    return m_connection.OnArrival(m_config);
}

void Session::OnRemoval() {
    m_connection.OnRemoval();
}

RefreshResult Session::Refresh(RefreshCause cause) {
    RefreshResult result;
    RecomputeCustomisedKeys(m_config);
    if (cause == RefreshCause::ReadBack) {
        // After a reconnection the image may hold lighting edits not saved yet: the values
        // read only replace unedited ones (see MergeKeyboardValues).
        SettingsImage read = m_config.deviceSnapshot;
        result.lightingRead = m_connection.RunCommands(
            [&](CommandChannel& ch) { return ReadLightingEffect(ch, read); });
        if (result.lightingRead) {
            MergeKeyboardValues(m_config.image, m_config.deviceSnapshot, read);
            m_config.deviceSnapshot = read;
        } else {
            LogWarning("refresh: the lighting values could not be read");
        }
    }
    result.keymap = SaveKeymapFile(m_config);
    result.offerFirmwareUpdate = cause == RefreshCause::ReadBack && FirmwareUpdateOffered(m_config);
    return result;
}

SaveResult Session::Save() {
    SaveResult result;
    result.apply = m_connection.ApplyChanges(m_config.image, m_config.deviceSnapshot);
    if (result.apply.ok) {
        CommitSnapshot(m_config);
        result.keymap = SaveKeymapFile(m_config);
    }
    return result;
}

FileResult Session::Cancel() {
    RevertToSnapshot(m_config);
    RecomputeCustomisedKeys(m_config);
    return SaveKeymapFile(m_config);
}

FileResult Session::Close() {
    return SaveKeymapSnapshotFile(m_config);
}

ResetResult Session::FactoryReset() {
    return m_connection.ResetAndReload(m_config);
}

} // namespace orvo

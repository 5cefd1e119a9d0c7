// The session's side of orvoctl: taking up what a script changed while the program runs.

#include "device/read_back.h"
#include "device/session.h"
#include "model/config_state.h"
#include "model/keyboard_groups.h"
#include "model/log.h"

namespace orvo {

void Session::ReloadAfterScript() {
    const SettingsImage edited = m_config.image;
    const DeviceSnapshot before = m_config.deviceSnapshot;
    LoadMacroFile(m_config);
    if (const LoadResult keymap = LoadKeymapFile(m_config, false); !keymap)
        LogWarning("keymap.bin: " + keymap.error);
    const SettingsImage scripted = m_config.image;
    // Edits not saved yet survive where the script changed nothing, as over a reconnection.
    KeepEditsTheScriptLeft(m_config.image, edited, before);
    // The snapshot changes only when the whole read succeeds (keyboard present and free).
    const bool keyboardRead = m_connection.RunCommands(
        [&](CommandChannel& ch) { return ReadKeyboardValues(ch, m_config.deviceSnapshot); });
    if (!keyboardRead && !keyboardConnected())
        // Without a keyboard the file is all there is, as at a start without one: Cancel and
        // Close must not write the values from before the script back over it.
        m_config.deviceSnapshot = scripted;
    m_config.keyActionSnapshot = m_config.keyActions;
    RecomputeCustomisedKeys(m_config);
}

} // namespace orvo

// The session's actions of the key assignment dialog: reloading the stored key actions before
// it opens, and storing its result.

#include "device/session.h"
#include "model/config_state.h"
#include "model/key_assignment.h"
#include "model/key_tables.h"
#include "model/log.h"

#include <system_error>

namespace orvo {

LoadResult Session::ReloadKeyActions() {
    // Loading a missing file starts from an empty table, which is right at start-up; here the
    // table in memory is the only copy of every assignment, so it is written out instead.
    std::error_code error;
    if (!std::filesystem::exists(m_config.folders.keymapFile(), error) && !error) {
        LoadResult result;
        const FileResult written = SaveKeymapFile(m_config);
        result.ok = result.created = written.ok;
        result.outcome = LoadOutcome::Created;
        result.error = written.error;
        return result;
    }
    const LoadResult result = LoadKeymapFile(m_config, true);
    if (!result.ok)
        LogWarning("keymap.bin: " + result.error);
    return result;
}

AssignKeyResult Session::AssignKey(const KeyAssignmentState& result,
                                   const KeyActionRecord& record) {
    AssignKeyResult out;
    if (result.keyIndex >= kKeyCount)
        return out;
    m_config.keyActions[result.keyIndex] = record;
    out.stored = ApplyKeyAssignment(m_config, result);
    out.customised = m_config.customisedKeys[result.keyIndex] != 0;
    out.keymap = SaveKeymapFile(m_config);
    if (!out.keymap.ok)
        LogWarning("keymap.bin: " + out.keymap.error);
    return out;
}

} // namespace orvo

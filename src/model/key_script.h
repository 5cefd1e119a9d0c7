#pragma once
// A key assignment made without the dialog (orvoctl key): the choice is carried out through
// the dialog's own steps - opened from the key's record, the page clicked, the keys captured,
// the row browsed, the box ticked, "Guardar" or "Resetear" - so that the key-map entry and the
// action record come out exactly as the dialog would leave them. The caller stores the result
// with Session::AssignKey.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/config_state.h"
#include "model/key_assignment.h"

namespace orvo {

enum class KeyChoiceKind {
    Key,         // a single key
    Combination, // two or three keys
    Macro,       // a macro by number
    Function,    // a function of the "Basic" page by label
    HostAction,  // play, run, open or open a folder: hostKind and path
    Disable,     // the key keeps its assignment and is switched off
    Enable,      // ... and is switched on again
    Reset,       // "Resetear": the key's own function, enabled
};

struct KeyChoice {
    KeyChoiceKind kind = KeyChoiceKind::Reset;
    std::vector<std::uint8_t> keys; // key codes
    int macro = -1;
    std::u16string function;
    AssignmentKind hostKind = AssignmentKind::PlayAudio;
    std::u16string path;
};

struct KeyScriptResult {
    KeyAssignmentState state;
    KeyActionRecord record; // the dialog's working copy of the key's record
    std::string error;      // why the dialog would not end with OK; empty when it would
    bool ok() const { return error.empty(); }
};

KeyScriptResult ScriptKeyAssignment(const ConfigState& config, std::size_t keyIndex,
                                    const KeyChoice& choice);

} // namespace orvo

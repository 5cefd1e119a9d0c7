#pragma once
// The key assignment dialog without its pixels: the working state of one showing, every rule
// that changes it (opening from the key's record, page changes, key capture, the edits' focus,
// the buttons and the "Avanzado" rows), and the encoding of the result into the key's key-map
// entry, its action record, its enable bit and its customised flag.
//
// The dialog calls these functions from its handlers and draws what the state says; the main
// window applies the result when the dialog ends with OK.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/config_state.h"
#include "model/key_actions.h"
#include "model/window_layout.h"

namespace orvo {

// Keys that never open the dialog: the three media keys and both Ctrl keys.
inline constexpr std::array<std::size_t, 5> kKeysWithoutAssignment{17, 18, 19, 95, 102};
// Whether a click on this key of the main window's picture opens the dialog.
bool OpensKeyAssignment(int keyIndex);

enum class KeyMapPage : std::uint8_t {
    Keys = 0,     // "Unica/Combinar": a single key or a combination
    Macro = 1,    // "Macro"
    Basic = 2,    // "Basic": the function tree
    Advanced = 3, // "Avanzado": host-side actions
};

// The control the dialog should give the keyboard focus after a call (then set back to None).
enum class KeyMapFocus : std::uint8_t { None, SingleKeyEdit, CombinationEdit, MacroList };

inline constexpr std::size_t kCapturedKeysSize = 255;
inline constexpr std::uint8_t kResetCount = 255;      // capturedCount after "Resetear"
inline constexpr std::uint8_t kNoAdvancedRow = 255;   // advancedRow / advancedMark: none
inline constexpr std::uint8_t kAdvancedMarkStep = 4;  // advancedMark of row r is 4 r
inline constexpr std::size_t kMaxCombinationKeys = 3; // what a key-map entry can carry

struct KeyAssignmentState {
    std::size_t keyIndex = 0;     // the key being edited
    std::uint8_t defaultCode = 0; // its own key code, named in the caption
    std::uint8_t pendingKind = 0; // the working AssignmentKind, also the result
    std::array<std::uint8_t, kCapturedKeysSize> capturedKeys{}; // key codes, zero-terminated
    std::uint8_t capturedCount = 0;                             // captured keys, or kResetCount
    std::u16string chosenFunction; // label of the function chosen on the "Basic" page
    std::u16string chosenPath;     // path chosen on the "Avanzado" page
    int chosenMacro = -1;          // macro number, -1 for none
    bool keyEnabled = true;
    std::uint8_t advancedRow = kNoAdvancedRow;  // row 0..3 whose path is chosen
    std::uint8_t advancedMark = kNoAdvancedRow; // 0, 4, 8, 12: row whose icon shows chosen
    bool disableChecked = false;                // "Deshabilitar Tecla" ticked
    bool recordLoaded = false; // an edit was filled from the record: its next focus keeps it
    KeyMapPage currentPage = KeyMapPage::Keys;

    // What the controls show.
    std::u16string singleKeyText;   // the single-key edit
    std::u16string combinationText; // the combination edit
    std::size_t macroCount = 0;     // rows of the macro list: the assignable macros
    int macroSelection = -1;        // row the macro list selects when it opens
    KeyMapFocus focus = KeyMapFocus::None;
};

// "Selected key:" followed by the name of the key's own code.
std::u16string KeyMapCaption(const KeyAssignmentState& state);

// Names of the key codes up to the first zero, joined by "+ " (names end in a space).
std::u16string CombinationText(std::span<const std::uint8_t> keyCodes);

// Starts a showing for a key from its action record, the key's enable bit and the macros.
void OpenKeyAssignment(KeyAssignmentState& state, const ConfigState& config, std::size_t keyIndex);

// The edits got the keyboard focus: they choose between a single key and a combination.
void SingleKeyEditFocused(KeyAssignmentState& state);
void CombinationEditFocused(KeyAssignmentState& state);

// A key reported by the keyboard hook. Only keys that the keyboard can send are taken; returns
// whether the key was captured.
bool CaptureKey(KeyAssignmentState& state, std::uint8_t keyCode);

// ---- clicks -----------------------------------------------------------------------------

enum class KeyMapOutcome {
    Stay,          // the dialog stays open
    Ok,            // ends with OK: apply the result
    Cancel,        // ends with Cancel
    SelectSubItem, // show "Seleccione Sub-item" and stay
};

// What the list and the tree select when "Guardar" is clicked.
struct KeyMapSelections {
    int macroRow = -1;            // -1 for no selection
    std::u16string functionLabel; // empty for no selection
};

// The page buttons. Leaving for "Unica/Combinar" or "Avanzado" clears the key's record in
// memory at once (it is reloaded from the file before the next showing).
void ClickPage(KeyAssignmentState& state, KeyActionRecord& record, KeyMapPage page);
void ToggleDisable(KeyAssignmentState& state);
KeyMapOutcome ClickReset(KeyAssignmentState& state);
KeyMapOutcome ClickCancel(KeyAssignmentState& state);
KeyMapOutcome ClickSave(KeyAssignmentState& state, const KeyMapSelections& selections);

// "Avanzado" rows: the icon marks a row and empties the path; the browse area marks the row
// and asks for a picker, whose result goes to FinishBrowse; anywhere else, with no path
// chosen, the key goes back to its own function.
void ClickAdvancedIcon(KeyAssignmentState& state, std::size_t row);
void ClickAdvancedBrowse(KeyAssignmentState& state, std::size_t row);
void ClickAdvancedElsewhere(KeyAssignmentState& state);
// The picker of a row returned: a path on success, nothing when it was cancelled or failed.
// A path that does not fit the record whole is refused like a failure. Returns success.
bool FinishBrowse(KeyAssignmentState& state, std::size_t row,
                  const std::optional<std::u16string>& path);

struct KeyMapClick {
    KeyMapOutcome outcome = KeyMapOutcome::Stay;
    int browseRow = -1; // run this row's picker, then FinishBrowse
};
// A left-button release at a client point: the button under it, then, for a click on the
// "Avanzado" page that stays there, the row areas.
KeyMapClick ClickKeyMap(KeyAssignmentState& state, KeyActionRecord& record, Point p,
                        const KeyMapSelections& selections);

// ---- result -----------------------------------------------------------------------------

// Stores the result of a showing that ended with OK: the key-map entry, the action record,
// the enable bit and the customised flag of the state's key (and the macro blocks when a macro
// was assigned). Writing "keymap.bin" is left to the caller. False for a key outside 0..120.
bool ApplyKeyAssignment(ConfigState& config, const KeyAssignmentState& result);

} // namespace orvo

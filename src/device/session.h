#pragma once
// The session: every whole user action on the configuration as one call. An action works on
// the application's ConfigState (image, key actions, macros, snapshots) and its keyboard
// connection, writes the data files it must, and returns a result for the caller to show; it
// never shows anything itself. The GUI and orvoctl both act through it.
//
// Where new actions go: one file per family of actions beside this one (session_files.cpp
// holds the profile and macro files, session_keys.cpp the key assignment), declared here.

#include "device/connection.h"
#include "model/atomic_file.h"
#include "model/config_files.h"
#include "model/macro_keys.h"
#include "model/profile_store.h"

#include <filesystem>
#include <string_view>

namespace orvo {

struct ConfigState;
class MacroStore;
class MessageSink;
struct KeyAssignmentState;

// Save: what was sent, and "keymap.bin" (written only after the keyboard took every change).
struct SaveResult {
    ApplyResult apply;
    FileResult keymap;
    bool ok() const { return apply.ok; }
};

// Why the window is refreshed from the image: a full read-back of the keyboard (at start-up
// or after a reconnection) also re-reads the lighting values and checks the firmware; the
// refresh after a dialog (the profile manager) does neither.
enum class RefreshCause { ReadBack, Dialog };

struct RefreshResult {
    bool lightingRead = true; // false when the lighting values could not be re-read
    FileResult keymap;
    // The firmware shipped with the program is newer than the keyboard's (read-backs only).
    bool offerFirmwareUpdate = false;
};

// The macro manager's OK: blocks written to the image, and both files.
struct MacroCommitResult {
    std::size_t blocks = 0;
    std::size_t keysRenumbered = 0; // keys that followed their macro or lost a deleted one
    FileResult keymap;
    FileResult macros;
    bool ok() const { return keymap.ok && macros.ok; }
};

// A key assignment stored: whether the key now differs from its own function (it is drawn
// highlighted), and "keymap.bin".
struct AssignKeyResult {
    bool stored = false; // false for a key outside the keyboard
    bool customised = false;
    FileResult keymap;
    bool ok() const { return stored && keymap.ok; }
};

// orvoctl read: the keyboard's settings and the stored key actions into one profile file.
struct ProfileReadResult {
    bool transfersOk = false;
    FileResult written; // not attempted when the keyboard could not be read
};

class Session {
public:
    Session(ConfigState& config, DeviceConnection& connection);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ConfigState& config() { return m_config; }
    const ConfigState& config() const { return m_config; }
    DeviceConnection& connection() { return m_connection; }
    bool keyboardConnected() const { return m_connection.commandOpen(); }

    // --- Start-up and the keyboard coming and going (session.cpp) ---

    // Before the keyboard is read: creates the data folder, reads "VER.bin",
    // "MacroDefine.bin" and "keymap.bin" (image and key actions; each created when missing),
    // takes both snapshots and marks the customised keys. Problems are logged; the program
    // runs on with what could be read.
    void LoadDataFiles();
    // Opens both interfaces and starts the read-back and listener threads (see
    // DeviceConnection::Connect); `sink` receives their messages.
    ConnectResult Connect(MessageSink& sink);
    // A USB device arrived: reopens and reads back the keyboard (see DeviceConnection).
    ArrivalResult OnArrival();
    void OnRemoval();

    // The image was filled from the keyboard (or replaced by a dialog): marks the customised
    // keys, re-reads the lighting values after a read-back (keeping unsaved lighting edits),
    // and writes "keymap.bin".
    RefreshResult Refresh(RefreshCause cause);

    // --- The main window's buttons (session.cpp) ---

    // Sends what changed; after a good Save the snapshots follow the image and "keymap.bin"
    // is written. A failed Save keeps every change, so the next one sends it again.
    SaveResult Save();
    // Back to the snapshots (the last applied state), customised keys recomputed,
    // "keymap.bin" written.
    FileResult Cancel();
    // "keymap.bin" from the snapshots, so unsaved edits are not kept.
    FileResult Close();
    // Resets the keyboard and reloads everything from it (see DeviceConnection).
    ResetResult FactoryReset();

    // --- Files (session_files.cpp) ---

    // A profile file into the image and the key actions ("Abrir"); nothing changes when it
    // cannot be read.
    LoadResult LoadProfile(const std::filesystem::path& file);
    // The image and the key actions into a profile file.
    FileResult SaveProfile(const std::filesystem::path& file) const;
    // The macro manager's OK: its store becomes the program's, keys playing a macro follow it
    // to its new number (`renumbering`; a key whose macro was deleted gets its own function
    // back), the named macros go into the image's macro blocks, and "keymap.bin" and
    // "MacroDefine.bin" are written.
    MacroCommitResult CommitMacros(const MacroStore& edited,
                                   const MacroRenumbering& renumbering = {});
    // Reads every setting of the keyboard into the image and writes it, with the key actions
    // exactly as "keymap.bin" stores them, to a profile file.
    ProfileReadResult ReadKeyboardIntoProfile(const std::filesystem::path& file);

    // --- The key assignment dialog, CKeyMap (session_keys.cpp) ---

    // Before the dialog opens: the key actions again from "keymap.bin" (the image stays), so
    // the dialog starts from what is stored. A missing file is written anew from memory
    // rather than emptying every key's record.
    LoadResult ReloadKeyActions();
    // The dialog ended with OK: the key's record becomes `record`, the dialog's working copy
    // of it; then the result goes into the key-map entry, the record, the enable bit, the
    // customised flag (and the macro blocks for a macro), and "keymap.bin" is written. The
    // keyboard receives it with the next Save.
    AssignKeyResult AssignKey(const KeyAssignmentState& result, const KeyActionRecord& record);

    // --- The profile manager, CConfigureDlg (session_profiles.cpp) ---

    // "Abrir" refuses a profile whose settings no control of the window produces: the next
    // Save would send them to the keyboard (an unsaved new profile, all zeros, would switch
    // off every key).
    static constexpr std::u16string_view kProfileValuesInvalidText =
        u"El perfil no contiene una configuración válida y no se ha abierto";

    // "Guardar": the image and the key actions into the selected profile, and into the file
    // the user picks as well. Returns the message to show (caption "Perfil").
    Notice SaveIntoProfile(ProfileStore& profiles, const ChooseFile& choose) const;
    // "Abrir": the file the user picks becomes the image and the key actions and is kept as
    // the selected profile. A file that is no profile, or holds settings out of their ranges,
    // changes nothing. Nothing is sent: Refresh(RefreshCause::Dialog) follows when the dialog
    // ends, and the next Save sends it.
    Notice OpenIntoProfile(ProfileStore& profiles, const ChooseFile& choose);

    // --- orvoctl changed the keyboard or the data files (session_scripts.cpp) ---

    // The image, the key actions and the macros come again from "keymap.bin" and
    // "MacroDefine.bin" (an edit not saved yet stays where the script left its group alone),
    // and the snapshot from the keyboard, read without changing anything on it, so that the
    // next Save sends exactly what still differs and never the values the script replaced.
    void ReloadAfterScript();

private:
    ConfigState& m_config;
    DeviceConnection& m_connection;
};

} // namespace orvo

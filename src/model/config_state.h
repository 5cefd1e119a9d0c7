#pragma once
// Everything the program knows about the keyboard's configuration, in one object that the
// application owns for the whole run. Dialogs get references to the parts they edit; tests
// make their own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/key_actions.h"
#include "model/macro_model.h"
#include "model/program_folders.h"
#include "model/settings_image.h"
#include "model/window_layout.h"

namespace orvo {

// The firmware version offered for update by "VER.bin"; 0.0 when there is none.
struct OfferedVersion {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    friend bool operator==(const OfferedVersion&, const OfferedVersion&) = default;
};

inline constexpr std::size_t kCustomisedKeyCount = 255;
using CustomisedKeys = std::array<std::uint8_t, kCustomisedKeyCount>;

struct ConfigState {
    SettingsImage image;              // what the user edits
    DeviceSnapshot deviceSnapshot;    // what the keyboard last received or reported
    KeyActionTable keyActions;        // host view of every key's assignment
    KeyActionTable keyActionSnapshot; // keyActions as last applied
    MacroStore macros;                // "MacroDefine.bin" in memory
    FirmwareVersion firmware;         // as the keyboard reported it
    bool firmwareRead = false;        // firmware holds a version the keyboard did report
    OfferedVersion offeredFirmware;   // as "VER.bin" offers it
    CustomisedKeys customisedKeys{};  // per key index: drawn highlighted
    ProgramFolders folders;
    // Set while "keymap.bin" or "MacroDefine.bin" is there but could not be loaded (no
    // permission, a FIFO, a folder): the file still holds the user's data, so nothing is
    // written over it until a later load succeeds.
    bool keymapWriteBlocked = false;
    bool macroFileWriteBlocked = false;
};

// Per key index 0..120: 1 when the key differs from its factory function (its key-map entry's
// device code, a recorded assignment kind, a captured key other than its own, or a disabled
// enable bit), else 0; indexes above 120 and the Fn key (kFnKeyIndex) are 0.
void RecomputeCustomisedKeys(const SettingsImage& image, const KeyActionTable& actions,
                             CustomisedKeys& flags);
void RecomputeCustomisedKeys(ConfigState& state);

// Copies the image and the action table into their snapshots, and back.
void CommitSnapshot(ConfigState& state);
void RevertToSnapshot(ConfigState& state);

} // namespace orvo

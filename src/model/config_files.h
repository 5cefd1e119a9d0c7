#pragma once
// The data files. "keymap.bin" and profile files share one layout: the 10068-byte settings
// image, then the 196860-byte action table, no header. "MacroDefine.bin" is the macro store
// byte for byte. Every write is atomic; a failed write leaves the old file whole, is logged as
// one warning line and is returned to the caller. Only regular files are read.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "model/atomic_file.h"
#include "model/config_state.h"

namespace orvo {

inline constexpr std::size_t kProfileFileSize = kSettingsImageSize + kKeyActionTableSize;
static_assert(kProfileFileSize == 206928);
inline constexpr std::size_t kVersionFileSize = 12;
inline constexpr std::size_t kVersionMajorByte = 5; // ASCII digits
inline constexpr std::size_t kVersionMinorByte = 7;

enum class LoadOutcome {
    Loaded,     // the objects hold the file's content
    Created,    // the file was missing: the objects start empty and a new file was written
                // (when that failed too, `error` says why)
    Unreadable, // the file is there but cannot be read (no permission, a FIFO, a folder):
                // nothing changed and nothing was written
};

struct LoadResult {
    bool ok = false;             // the objects hold the file's content (or a created file's)
    bool created = false;        // the file was missing and has been written
    std::size_t bytesRead = 0;   // fewer than the layout's size for a short file
    std::uintmax_t fileSize = 0; // more than the layout's size for an oversized file
    LoadOutcome outcome = LoadOutcome::Unreadable;
    std::string error; // one line, empty on success
    explicit operator bool() const { return ok; }
};

// The profile layout in memory and back. Parsing zero-fills what it fills, so a short input
// never leaves older bytes behind; with image null the image part is skipped.
std::vector<std::uint8_t> SerialiseProfile(const SettingsImage& image, const KeyActionTable& table);
void ParseProfile(std::span<const std::uint8_t> bytes, SettingsImage* image, KeyActionTable& table);

// A profile file (or "keymap.bin") read into the objects; the action table is re-seeded.
// Missing or unreadable files change nothing and report an error.
LoadResult ReadProfileFile(const std::filesystem::path& file, SettingsImage* image,
                           KeyActionTable& table);
FileResult WriteProfileFile(const std::filesystem::path& file, const SettingsImage& image,
                            const KeyActionTable& table);

// "keymap.bin" of the data folder. Present: the table (and unless keepImage, the image) come
// from it, and the table is re-seeded. Missing: the table is cleared and the file is created
// from the image and the table. Present but unreadable: nothing changes, nothing is written.
// A file larger than the layout is read as far as the layout goes, with a warning in the log.
LoadResult LoadKeymapFile(const std::filesystem::path& dataFolder, SettingsImage& image,
                          KeyActionTable& table, bool keepImage);
// The same, remembering in state.keymapWriteBlocked whether the file may be written over.
LoadResult LoadKeymapFile(ConfigState& state, bool keepImage);
// Writes image then table to "keymap.bin". An existing file larger than the layout is first
// copied aside (KeepOversizedOriginal); when that fails nothing is written. The same holds for
// "MacroDefine.bin".
FileResult SaveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                          const KeyActionTable& table);
// The same, refused while state.keymapWriteBlocked is set.
FileResult SaveKeymapFile(const ConfigState& state);
// Writes the snapshots instead, so the file returns to the last applied state.
FileResult SaveKeymapSnapshotFile(const ConfigState& state);

// "MacroDefine.bin" of the data folder. Missing: created from the store as it is. The state
// forms remember and honour state.macroFileWriteBlocked as the keymap's do.
LoadResult LoadMacroFile(const std::filesystem::path& dataFolder, MacroStore& store);
LoadResult LoadMacroFile(ConfigState& state);
FileResult SaveMacroFile(const std::filesystem::path& dataFolder, const MacroStore& store);
FileResult SaveMacroFile(const ConfigState& state);

// Before a file larger than its layout (`layoutSize`) is first written over, its original is
// copied beside it to "<name>.orig", or "<name>.orig1", "<name>.orig2", ... when that name is
// taken; `copy` receives the name used. Nothing is copied (and ok is returned) when the file is
// missing, not a regular file or not larger than the layout.
FileResult KeepOversizedOriginal(const std::filesystem::path& file, std::size_t layoutSize,
                                 std::filesystem::path* copy = nullptr);

// Removes what writes killed mid-way left in the data folder: the temporaries of "keymap.bin",
// "MacroDefine.bin" and the profiles in "Configure/". Call once at start-up. Returns how many.
std::size_t SweepDataFolder(const ProgramFolders& folders);

// The version a "VER.bin" content offers: bytes 5 and 7 as digits; 0.0 when it is short or
// holds no digits there.
OfferedVersion ParseVersionFile(std::span<const std::uint8_t> bytes);
// "VER.bin" of the program folder; 0.0 when it is missing or not a regular file.
OfferedVersion ReadVersionFile(const std::filesystem::path& programFolder);
void ReadVersionFile(ConfigState& state);

} // namespace orvo

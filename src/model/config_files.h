#pragma once
// The data files. "keymap.bin" and profile files share one layout: the 10068-byte settings
// image, then the 196860-byte action table, no header. "MacroDefine.bin" is the macro store
// byte for byte. Every write is atomic; a failed write leaves the old file whole, is logged as
// one warning line and is returned to the caller.

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

struct LoadResult {
    bool ok = false;           // the objects hold the file's content (or a created file's)
    bool created = false;      // the file was missing and has been written
    std::size_t bytesRead = 0; // fewer than the layout's size for a short file
    std::string error;         // one line, empty on success
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
LoadResult LoadKeymapFile(const std::filesystem::path& dataFolder, SettingsImage& image,
                          KeyActionTable& table, bool keepImage);
LoadResult LoadKeymapFile(ConfigState& state, bool keepImage);
// Writes image then table to "keymap.bin".
FileResult SaveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                          const KeyActionTable& table);
FileResult SaveKeymapFile(const ConfigState& state);
// Writes the snapshots instead, so the file returns to the last applied state.
FileResult SaveKeymapSnapshotFile(const ConfigState& state);

// "MacroDefine.bin" of the data folder. Missing: created from the store as it is.
LoadResult LoadMacroFile(const std::filesystem::path& dataFolder, MacroStore& store);
LoadResult LoadMacroFile(ConfigState& state);
FileResult SaveMacroFile(const std::filesystem::path& dataFolder, const MacroStore& store);
FileResult SaveMacroFile(const ConfigState& state);

// The version "VER.bin" of the program folder offers: bytes 5 and 7 as digits; 0.0 when the
// file is missing, short or holds no digits there.
OfferedVersion ReadVersionFile(const std::filesystem::path& programFolder);
void ReadVersionFile(ConfigState& state);

} // namespace orvo

#pragma once
// Where the program finds its files. What ships with the program ("png/", "VER.bin", the
// updater) lies beside the executable; the data files ("keymap.bin", "MacroDefine.bin",
// "Configure/") lie in the data folder: ZORVANTA_DATA_DIR when set, else beside the executable.

#include <filesystem>
#include <optional>
#include <string>

#include "model/atomic_file.h"

namespace orvo {

inline constexpr const char* kDataDirVariable = "ZORVANTA_DATA_DIR";
inline constexpr const char* kKeymapFileName = "keymap.bin";
inline constexpr const char* kMacroFileName = "MacroDefine.bin";
inline constexpr const char* kVersionFileName = "VER.bin";
inline constexpr const char* kProfileFolderName = "Configure";
inline constexpr const char* kImageFolderName = "png";
#ifdef _WIN32
inline constexpr const char* kUpdaterFileName = "ZorvantaOrvo_Update.exe";
#else
inline constexpr const char* kUpdaterFileName = "ZorvantaOrvo_Update";
#endif

struct ProgramFolders {
    std::filesystem::path programFolder; // the executable's folder
    std::filesystem::path dataFolder;
    std::filesystem::path imageFolder; // programFolder / "png"

    std::filesystem::path keymapFile() const { return dataFolder / kKeymapFileName; }
    std::filesystem::path macroFile() const { return dataFolder / kMacroFileName; }
    std::filesystem::path profileFolder() const { return dataFolder / kProfileFolderName; }
    std::filesystem::path versionFile() const { return programFolder / kVersionFileName; }
    std::filesystem::path updater() const { return programFolder / kUpdaterFileName; }

    friend bool operator==(const ProgramFolders&, const ProgramFolders&) = default;
};

// Folders for an executable path; dataDir is the value of ZORVANTA_DATA_DIR (nullopt or empty
// when unset).
ProgramFolders MakeProgramFolders(const std::filesystem::path& executable,
                                  const std::optional<std::string>& dataDir);
// The same, reading ZORVANTA_DATA_DIR from the environment.
ProgramFolders ProgramFoldersFromEnvironment(const std::filesystem::path& executable);

// The running program's own path, for programs that have no framework to ask (orvoctl);
// empty when the system does not tell, which makes the current folder the program folder.
std::filesystem::path RunningExecutable();

// Creates the data folder when it is missing.
FileResult EnsureDataFolder(const ProgramFolders& folders);

} // namespace orvo

#pragma once
// Where the program finds its files; every program and tool asks here and nowhere else.
//  - Program folder: what ships and is only read ("png/", "VER.bin", the updater). Beside the
//    executable in the build tree (its folder holds the build's marker file) and on Windows;
//    else the installed share folder, found relative to the executable so that a moved
//    install still works; beside the executable when there is no share folder either.
//  - Data folder: "keymap.bin", "MacroDefine.bin" and "Configure/". ZORVANTA_DATA_DIR when
//    set; beside the executable on Windows, or in a build tree whose folder is writable; else
//    the user's own $XDG_DATA_HOME/zorvanta-orvo (~/.local/share/zorvanta-orvo by default).

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
    std::filesystem::path programFolder; // what ships with the program
    std::filesystem::path dataFolder;
    std::filesystem::path imageFolder; // programFolder / "png"

    std::filesystem::path keymapFile() const { return dataFolder / kKeymapFileName; }
    std::filesystem::path macroFile() const { return dataFolder / kMacroFileName; }
    std::filesystem::path profileFolder() const { return dataFolder / kProfileFolderName; }
    std::filesystem::path versionFile() const { return programFolder / kVersionFileName; }
    std::filesystem::path updater() const { return programFolder / kUpdaterFileName; }

    friend bool operator==(const ProgramFolders&, const ProgramFolders&) = default;
};

// What the folder rules read from the environment. Unset and empty values count as missing.
struct FolderEnvironment {
    std::optional<std::string> dataDir;       // ZORVANTA_DATA_DIR
    std::optional<std::string> xdgDataHome;   // XDG_DATA_HOME
    std::optional<std::string> xdgConfigHome; // XDG_CONFIG_HOME
    std::optional<std::string> home;          // HOME, else the account's home folder

    static FolderEnvironment FromProcess();
};

// The folders for an executable path. The file system is consulted for the build's marker,
// the installed share folder and whether the executable's folder is writable.
ProgramFolders LocateProgramFolders(const std::filesystem::path& executable,
                                    const FolderEnvironment& environment);
// The same, with dataDir standing for ZORVANTA_DATA_DIR and the rest read from the process.
ProgramFolders MakeProgramFolders(const std::filesystem::path& executable,
                                  const std::optional<std::string>& dataDir);
// The same, everything read from the process.
ProgramFolders ProgramFoldersFromEnvironment(const std::filesystem::path& executable);

// The running program's own path, for programs that have no framework to ask (orvoctl);
// empty when the system does not tell, which makes the current folder the program folder.
std::filesystem::path RunningExecutable();

// The value of an environment variable; nullopt when it is unset or empty.
std::optional<std::string> EnvironmentValue(const char* name);

// An XDG base folder: the variable's value when it is an absolute path (relative values are
// ignored, as the XDG rules ask), else home / fallback; nullopt without either.
std::optional<std::filesystem::path> XdgFolder(const std::optional<std::string>& variable,
                                               const std::optional<std::string>& home,
                                               const char* fallback);

// Creates the folder and each missing parent, every new one open to its owner only (0700).
// Folders that already exist keep their permissions.
FileResult CreatePrivateFolder(const std::filesystem::path& folder);

// Creates the data folder and its "Configure/" when missing (0700); the program calls it at
// start, before anything is read or written there.
FileResult EnsureDataFolder(const ProgramFolders& folders);

} // namespace orvo

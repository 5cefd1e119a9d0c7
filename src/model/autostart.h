#pragma once
// The tray's "Iniciar con el sistema" switch: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<desktop id>.desktop, that starts the program hidden in its tray
// when the user logs in. The entry names the running executable, so a build tree or a moved
// install starts itself.

#include <filesystem>
#include <optional>
#include <string>

#include "model/atomic_file.h"
#include "model/program_folders.h"

namespace orvo {

// The argument the autostart entry passes: the program starts with its window hidden.
inline constexpr const char* kStartHiddenArgument = "--hidden";

// Where the entry lives; nullopt when the user has no home folder.
std::optional<std::filesystem::path> AutostartFile(const FolderEnvironment& environment);

// The entry's text, or nullopt for an executable path a desktop entry cannot hold (control
// characters).
std::optional<std::string> AutostartEntry(const std::filesystem::path& executable);

// True when the entry exists and the desktop has not been told to skip it (Hidden=true or
// X-GNOME-Autostart-enabled=false, which session settings write when the user turns it off).
bool IsAutostartEnabled(const std::filesystem::path& file);

// Writes the entry (atomically, creating the autostart folder) or removes it; removing an
// entry that is not there succeeds.
FileResult SetAutostart(const std::filesystem::path& file, const std::filesystem::path& executable,
                        bool enabled);

// True when the program was started with kStartHiddenArgument.
bool IsHiddenStart(int argc, const char* const* argv);

} // namespace orvo

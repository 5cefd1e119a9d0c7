#pragma once
// The per-user runtime folder: where the running program's single-instance socket and the
// keyboard's lock file lie. It must be a folder nobody else can enter, so that another user can
// neither take the names first nor talk to the program. Both the program and orvoctl find it
// here, so they always meet in the same place.

#include <filesystem>
#include <optional>
#include <string>

namespace orvo {

// What the rule reads from the environment; unset and empty values count as missing.
struct RuntimeEnvironment {
    std::optional<std::string> runtimeDir; // XDG_RUNTIME_DIR
    std::optional<std::string> tmpDir;     // TMPDIR
    std::optional<std::string> cacheHome;  // XDG_CACHE_HOME
    std::optional<std::string> home;       // HOME

    static RuntimeEnvironment FromProcess();
};

// A real folder (not a link) of this user that nobody else may enter.
bool IsPrivateFolder(const std::filesystem::path& folder);

// $XDG_RUNTIME_DIR when it is a private folder of this user; else "zorvanta-orvo-<uid>" in the
// temporary folder; else "zorvanta-orvo" in the user's cache folder; each created 0700 when
// missing and taken only when private. nullopt when none is.
std::optional<std::filesystem::path> UserRuntimeFolder(const RuntimeEnvironment& environment);
std::optional<std::filesystem::path> UserRuntimeFolder();

} // namespace orvo

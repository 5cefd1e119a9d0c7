#include "model/runtime_folder.h"

#include "model/log.h"
#include "model/program_folders.h"

#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOwnFolderName = "zorvanta-orvo";

// The folder, created private when missing; nullopt when it is there but not private.
std::optional<fs::path> OwnPrivateFolder(const fs::path& folder) {
    CreatePrivateFolder(folder); // a failure shows as a folder that is not private
    if (IsPrivateFolder(folder))
        return folder;
    LogWarning("runtime folder: " + folder.string() + " is not a private folder of this user");
    return std::nullopt;
}

} // namespace

RuntimeEnvironment RuntimeEnvironment::FromProcess() {
    RuntimeEnvironment env;
    env.runtimeDir = EnvironmentValue("XDG_RUNTIME_DIR");
    env.tmpDir = EnvironmentValue("TMPDIR");
    env.cacheHome = EnvironmentValue("XDG_CACHE_HOME");
    env.home = EnvironmentValue("HOME");
    return env;
}

bool IsPrivateFolder(const fs::path& folder) {
    if (folder.empty() || !folder.is_absolute())
        return false;
#ifndef _WIN32
    struct stat st {};
    constexpr mode_t kOthersAccess = 077;
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & kOthersAccess) == 0;
#else
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(folder, ec));
#endif
}

std::optional<fs::path> UserRuntimeFolder(const RuntimeEnvironment& env) {
    if (env.runtimeDir && IsPrivateFolder(*env.runtimeDir))
        return fs::path(*env.runtimeDir);
    const fs::path tmp = env.tmpDir ? fs::path(*env.tmpDir) : fs::path("/tmp");
#ifndef _WIN32
    const std::string uid = std::to_string(::geteuid());
#else
    const std::string uid = "user";
#endif
    if (tmp.is_absolute()) {
        if (auto folder = OwnPrivateFolder(tmp.lexically_normal() / (kOwnFolderName + ("-" + uid))))
            return folder;
    }
    const auto cache = XdgFolder(env.cacheHome, env.home, ".cache");
    if (!cache)
        return std::nullopt;
    return OwnPrivateFolder(*cache / kOwnFolderName);
}

std::optional<fs::path> UserRuntimeFolder() {
    return UserRuntimeFolder(RuntimeEnvironment::FromProcess());
}

} // namespace orvo

#include "model/program_folders.h"

#include "model/install_layout.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvo {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// The Windows program has always kept everything in its own folder.
constexpr bool kDataBesideProgram = true;
#else
constexpr bool kDataBesideProgram = false;
#endif

bool IsSet(const std::optional<std::string>& value) {
    return value && !value->empty();
}

std::optional<std::string> AccountHome() {
#ifdef _WIN32
    return EnvironmentValue("USERPROFILE");
#else
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || !*found->pw_dir)
        return std::nullopt;
    return std::string(found->pw_dir);
#endif
}

bool IsBuildTree(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / kBuildTreeMarker, ec);
}

bool IsWritable(const fs::path& folder) {
#ifdef _WIN32
    (void)folder;
    return true;
#else
    return ::access(folder.c_str(), W_OK) == 0;
#endif
}

fs::path ProgramFolderFor(const fs::path& executableFolder) {
    if (kDataBesideProgram || IsBuildTree(executableFolder))
        return executableFolder;
    const fs::path share = (executableFolder / kShareFolderFromBin).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(share, ec))
        return share;
    return executableFolder;
}

fs::path DataFolderFor(const fs::path& executableFolder, const FolderEnvironment& env) {
    if (IsSet(env.dataDir))
        return *env.dataDir;
    if (kDataBesideProgram || (IsBuildTree(executableFolder) && IsWritable(executableFolder)))
        return executableFolder;
    if (const auto data = XdgFolder(env.xdgDataHome, env.home, ".local/share"))
        return *data / kInstallFolderName;
    // No home at all: the executable's folder is the only place left to try.
    return executableFolder;
}

} // namespace

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

FolderEnvironment FolderEnvironment::FromProcess() {
    FolderEnvironment env;
    env.dataDir = EnvironmentValue(kDataDirVariable);
    env.xdgDataHome = EnvironmentValue("XDG_DATA_HOME");
    env.xdgConfigHome = EnvironmentValue("XDG_CONFIG_HOME");
    env.home = EnvironmentValue("HOME");
    if (!env.home)
        env.home = AccountHome();
    return env;
}

std::optional<fs::path> XdgFolder(const std::optional<std::string>& variable,
                                  const std::optional<std::string>& home, const char* fallback) {
    if (IsSet(variable) && fs::path(*variable).is_absolute())
        return fs::path(*variable);
    if (IsSet(home))
        return fs::path(*home) / fallback;
    return std::nullopt;
}

ProgramFolders LocateProgramFolders(const fs::path& executable,
                                    const FolderEnvironment& environment) {
    fs::path executableFolder = executable.parent_path();
    if (executableFolder.empty())
        executableFolder = ".";
    ProgramFolders f;
    f.programFolder = ProgramFolderFor(executableFolder);
    f.imageFolder = f.programFolder / kImageFolderName;
    f.dataFolder = DataFolderFor(executableFolder, environment);
    return f;
}

ProgramFolders MakeProgramFolders(const fs::path& executable,
                                  const std::optional<std::string>& dataDir) {
    FolderEnvironment env = FolderEnvironment::FromProcess();
    env.dataDir = dataDir;
    return LocateProgramFolders(executable, env);
}

ProgramFolders ProgramFoldersFromEnvironment(const fs::path& executable) {
    return LocateProgramFolders(executable, FolderEnvironment::FromProcess());
}

FileResult CreatePrivateFolder(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || fs::is_directory(folder, ec))
        return {true, {}};
    const fs::path parent = folder.parent_path();
    if (parent != folder)
        if (FileResult made = CreatePrivateFolder(parent); !made)
            return made;
    ec.clear();
#ifdef _WIN32
    fs::create_directory(folder, ec);
#else
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        ec = std::error_code(errno, std::system_category());
#endif
    if (!ec && !fs::is_directory(folder, ec) && !ec)
        ec = std::make_error_code(std::errc::not_a_directory);
    if (ec)
        return {false, "cannot create folder " + folder.string() + ": " + ec.message()};
    return {true, {}};
}

std::filesystem::path RunningExecutable() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::filesystem::path(std::wstring(buffer, length));
#else
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
#endif
}

FileResult EnsureDataFolder(const ProgramFolders& folders) {
    for (const fs::path& folder : {folders.dataFolder, folders.profileFolder()})
        if (FileResult made = CreatePrivateFolder(folder); !made)
            return made;
    return {true, {}};
}

} // namespace orvo

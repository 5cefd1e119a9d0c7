#include "model/program_folders.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvo {

ProgramFolders MakeProgramFolders(const std::filesystem::path& executable,
                                  const std::optional<std::string>& dataDir) {
    ProgramFolders f;
    f.programFolder = executable.parent_path();
    if (f.programFolder.empty())
        f.programFolder = ".";
    f.imageFolder = f.programFolder / kImageFolderName;
    f.dataFolder = dataDir && !dataDir->empty() ? std::filesystem::path(*dataDir) : f.programFolder;
    return f;
}

ProgramFolders ProgramFoldersFromEnvironment(const std::filesystem::path& executable) {
    const char* value = std::getenv(kDataDirVariable);
    return MakeProgramFolders(executable, value ? std::optional<std::string>(value) : std::nullopt);
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
    std::error_code ec;
    if (std::filesystem::is_directory(folders.dataFolder, ec))
        return {true, {}};
    std::filesystem::create_directories(folders.dataFolder, ec);
    if (ec)
        return {false,
                "cannot create data folder " + folders.dataFolder.string() + ": " + ec.message()};
    return {true, {}};
}

} // namespace orvo

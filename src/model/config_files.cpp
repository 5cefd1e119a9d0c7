#include "model/config_files.h"

#include <algorithm>
#include <system_error>

#include "model/log.h"

namespace orvo {

namespace {

enum class FileState { Missing, Regular, Unusable };

FileState StateOf(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return FileState::Missing;
    if (ec || status.type() != std::filesystem::file_type::regular)
        return FileState::Unusable;
    return FileState::Regular;
}

FileResult Logged(FileResult r) {
    if (!r)
        LogWarning(r.error);
    return r;
}

LoadResult Failed(std::string error) {
    LogWarning(error);
    LoadResult r;
    r.error = std::move(error);
    return r;
}

// Writes one file of the data folder, creating the folder first when it is missing. What an
// oversized old file holds beyond the layout is copied aside first, or nothing is written.
FileResult WriteDataFile(const std::filesystem::path& dataFolder, const char* name,
                         std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dataFolder, ec)) {
        std::filesystem::create_directories(dataFolder, ec);
        if (ec)
            return Logged(
                {false, "cannot create data folder " + dataFolder.string() + ": " + ec.message()});
    }
    if (FileResult kept = KeepOversizedOriginal(dataFolder / name, bytes.size()); !kept)
        return Logged(kept);
    return Logged(WriteFileAtomically(dataFolder / name, bytes));
}

// Reads an existing regular file of at most maxBytes; a shorter or longer file is reported
// but kept.
std::optional<FileContent> ReadExisting(const std::filesystem::path& file, std::size_t maxBytes,
                                        std::string& error) {
    auto content = ReadRegularFile(file, maxBytes, &error);
    if (!content)
        return std::nullopt;
    if (content->fileSize < maxBytes)
        LogWarning(file.string() + " holds " + std::to_string(content->fileSize) + " of " +
                   std::to_string(maxBytes) + " bytes; the rest reads as zero");
    else if (content->fileSize > maxBytes)
        LogWarning(file.string() + " holds " + std::to_string(content->fileSize) +
                   " bytes, more than the " + std::to_string(maxBytes) +
                   " of its layout; the rest is ignored, and the original is copied aside "
                   "before the file is written over");
    return content;
}

LoadResult Loaded(const FileContent& content) {
    LoadResult r;
    r.ok = true;
    r.outcome = LoadOutcome::Loaded;
    r.bytesRead = content.bytes.size();
    r.fileSize = content.fileSize;
    return r;
}

LoadResult CreatedFrom(const FileResult& written) {
    LoadResult r;
    r.ok = true; // the objects are valid even when the new file could not be written
    r.outcome = LoadOutcome::Created;
    r.created = written.ok;
    r.error = written.error;
    return r;
}

FileResult Blocked(const std::filesystem::path& file) {
    return Logged({false, "not written over " + file.string() +
                              ": it could not be loaded, so it may hold data this run does not"});
}

constexpr std::string_view kOriginalCopyMark = ".orig";
constexpr int kOriginalCopyNames = 100;
constexpr std::string_view kProfileExtension = ".bin";

} // namespace

std::vector<std::uint8_t> SerialiseProfile(const SettingsImage& image,
                                           const KeyActionTable& table) {
    std::vector<std::uint8_t> bytes(kProfileFileSize);
    std::copy(image.bytes.begin(), image.bytes.end(), bytes.begin());
    table.serialiseInto(std::span(bytes).subspan<kSettingsImageSize, kKeyActionTableSize>());
    return bytes;
}

void ParseProfile(std::span<const std::uint8_t> bytes, SettingsImage* image,
                  KeyActionTable& table) {
    const std::size_t imagePart = std::min(bytes.size(), kSettingsImageSize);
    if (image) {
        image->bytes.fill(0);
        std::copy_n(bytes.begin(), imagePart, image->bytes.begin());
    }
    table.parse(bytes.subspan(imagePart));
}

LoadResult ReadProfileFile(const std::filesystem::path& file, SettingsImage* image,
                           KeyActionTable& table) {
    std::string error;
    const auto content = ReadExisting(file, kProfileFileSize, error);
    if (!content)
        return Failed(error);
    ParseProfile(content->bytes, image, table);
    table.reseedDefaultCodes();
    return Loaded(*content);
}

FileResult WriteProfileFile(const std::filesystem::path& file, const SettingsImage& image,
                            const KeyActionTable& table) {
    return Logged(WriteFileAtomically(file, SerialiseProfile(image, table)));
}

LoadResult LoadKeymapFile(const std::filesystem::path& dataFolder, SettingsImage& image,
                          KeyActionTable& table, bool keepImage) {
    const std::filesystem::path file = dataFolder / kKeymapFileName;
    if (StateOf(file) != FileState::Missing)
        return ReadProfileFile(file, keepImage ? nullptr : &image, table);
    table.clear();
    return CreatedFrom(SaveKeymapFile(dataFolder, image, table));
}

LoadResult LoadKeymapFile(ConfigState& state, bool keepImage) {
    const LoadResult r =
        LoadKeymapFile(state.folders.dataFolder, state.image, state.keyActions, keepImage);
    state.keymapWriteBlocked = r.outcome == LoadOutcome::Unreadable;
    return r;
}

FileResult SaveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                          const KeyActionTable& table) {
    return WriteDataFile(dataFolder, kKeymapFileName, SerialiseProfile(image, table));
}

FileResult SaveKeymapFile(const ConfigState& state) {
    if (state.keymapWriteBlocked)
        return Blocked(state.folders.keymapFile());
    return SaveKeymapFile(state.folders.dataFolder, state.image, state.keyActions);
}

FileResult SaveKeymapSnapshotFile(const ConfigState& state) {
    if (state.keymapWriteBlocked)
        return Blocked(state.folders.keymapFile());
    return SaveKeymapFile(state.folders.dataFolder, state.deviceSnapshot, state.keyActionSnapshot);
}

LoadResult LoadMacroFile(const std::filesystem::path& dataFolder, MacroStore& store) {
    const std::filesystem::path file = dataFolder / kMacroFileName;
    if (StateOf(file) == FileState::Missing)
        return CreatedFrom(SaveMacroFile(dataFolder, store));
    std::string error;
    const auto content = ReadExisting(file, kMacroStoreSize, error);
    if (!content)
        return Failed(error);
    store.parse(content->bytes);
    return Loaded(*content);
}

LoadResult LoadMacroFile(ConfigState& state) {
    const LoadResult r = LoadMacroFile(state.folders.dataFolder, state.macros);
    state.macroFileWriteBlocked = r.outcome == LoadOutcome::Unreadable;
    return r;
}

FileResult SaveMacroFile(const std::filesystem::path& dataFolder, const MacroStore& store) {
    return WriteDataFile(dataFolder, kMacroFileName, store.serialise());
}

FileResult SaveMacroFile(const ConfigState& state) {
    if (state.macroFileWriteBlocked)
        return Blocked(state.folders.macroFile());
    return SaveMacroFile(state.folders.dataFolder, state.macros);
}

FileResult KeepOversizedOriginal(const std::filesystem::path& file, std::size_t layoutSize,
                                 std::filesystem::path* copy) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(file, ec)) || fs::file_size(file, ec) <= layoutSize)
        return {true, {}};
    for (int n = 0; n < kOriginalCopyNames; ++n) {
        fs::path name = file;
        name += std::string(kOriginalCopyMark) + (n == 0 ? std::string() : std::to_string(n));
        if (fs::exists(fs::symlink_status(name, ec)))
            continue;
        const FileResult r = CopyToNewFile(file, name);
        if (r && copy)
            *copy = name;
        if (r)
            LogWarning("kept the original " + file.string() + " as " + name.string());
        return r;
    }
    return {false, "cannot keep a copy of " + file.string() + ": every copy name is taken"};
}

std::size_t SweepDataFolder(const ProgramFolders& folders) {
    return SweepStaleTemporaries(folders.keymapFile()) +
           SweepStaleTemporaries(folders.macroFile()) +
           SweepStaleTemporariesIn(folders.profileFolder(), kProfileExtension);
}

OfferedVersion ParseVersionFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= kVersionMinorByte)
        return {};
    const auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9'; };
    const std::uint8_t major = bytes[kVersionMajorByte];
    const std::uint8_t minor = bytes[kVersionMinorByte];
    if (!digit(major) || !digit(minor)) {
        LogWarning("VER.bin holds no version digits; no update is offered");
        return {};
    }
    return {static_cast<std::uint8_t>(major - '0'), static_cast<std::uint8_t>(minor - '0')};
}

OfferedVersion ReadVersionFile(const std::filesystem::path& programFolder) {
    const auto bytes = ReadFilePrefix(programFolder / kVersionFileName, kVersionFileSize);
    return bytes ? ParseVersionFile(*bytes) : OfferedVersion{};
}

void ReadVersionFile(ConfigState& state) {
    state.offeredFirmware = ReadVersionFile(state.folders.programFolder);
}

} // namespace orvo

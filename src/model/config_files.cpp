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

// Writes one file of the data folder, creating the folder first when it is missing.
FileResult WriteDataFile(const std::filesystem::path& dataFolder, const char* name,
                         std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dataFolder, ec)) {
        std::filesystem::create_directories(dataFolder, ec);
        if (ec)
            return Logged(
                {false, "cannot create data folder " + dataFolder.string() + ": " + ec.message()});
    }
    return Logged(WriteFileAtomically(dataFolder / name, bytes));
}

// Reads an existing regular file of at most maxBytes; a shorter file is reported but kept.
std::optional<std::vector<std::uint8_t>> ReadExisting(const std::filesystem::path& file,
                                                      std::size_t maxBytes, std::string& error) {
    if (StateOf(file) != FileState::Regular) {
        error = "cannot read " + file.string() + ": not a regular file";
        return std::nullopt;
    }
    auto bytes = ReadFilePrefix(file, maxBytes);
    if (!bytes) {
        error = "cannot read " + file.string();
        return std::nullopt;
    }
    if (bytes->size() < maxBytes)
        LogWarning(file.string() + " holds " + std::to_string(bytes->size()) + " of " +
                   std::to_string(maxBytes) + " bytes; the rest reads as zero");
    return bytes;
}

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
    const auto bytes = ReadExisting(file, kProfileFileSize, error);
    if (!bytes)
        return Failed(error);
    ParseProfile(*bytes, image, table);
    table.reseedDefaultCodes();
    LoadResult r;
    r.ok = true;
    r.bytesRead = bytes->size();
    return r;
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
    const FileResult written = SaveKeymapFile(dataFolder, image, table);
    LoadResult r;
    r.ok = true; // the objects are valid even when the new file could not be written
    r.created = written.ok;
    r.error = written.error;
    return r;
}

LoadResult LoadKeymapFile(ConfigState& state, bool keepImage) {
    return LoadKeymapFile(state.folders.dataFolder, state.image, state.keyActions, keepImage);
}

FileResult SaveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                          const KeyActionTable& table) {
    return WriteDataFile(dataFolder, kKeymapFileName, SerialiseProfile(image, table));
}

FileResult SaveKeymapFile(const ConfigState& state) {
    return SaveKeymapFile(state.folders.dataFolder, state.image, state.keyActions);
}

FileResult SaveKeymapSnapshotFile(const ConfigState& state) {
    return SaveKeymapFile(state.folders.dataFolder, state.deviceSnapshot, state.keyActionSnapshot);
}

LoadResult LoadMacroFile(const std::filesystem::path& dataFolder, MacroStore& store) {
    const std::filesystem::path file = dataFolder / kMacroFileName;
    if (StateOf(file) == FileState::Missing) {
        const FileResult written = SaveMacroFile(dataFolder, store);
        LoadResult r;
        r.ok = true;
        r.created = written.ok;
        r.error = written.error;
        return r;
    }
    std::string error;
    const auto bytes = ReadExisting(file, kMacroStoreSize, error);
    if (!bytes)
        return Failed(error);
    store.parse(*bytes);
    LoadResult r;
    r.ok = true;
    r.bytesRead = bytes->size();
    return r;
}

LoadResult LoadMacroFile(ConfigState& state) {
    return LoadMacroFile(state.folders.dataFolder, state.macros);
}

FileResult SaveMacroFile(const std::filesystem::path& dataFolder, const MacroStore& store) {
    return WriteDataFile(dataFolder, kMacroFileName, store.serialise());
}

FileResult SaveMacroFile(const ConfigState& state) {
    return SaveMacroFile(state.folders.dataFolder, state.macros);
}

OfferedVersion ReadVersionFile(const std::filesystem::path& programFolder) {
    const auto bytes = ReadFilePrefix(programFolder / kVersionFileName, kVersionFileSize);
    if (!bytes || bytes->size() <= kVersionMinorByte)
        return {};
    const auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9'; };
    const std::uint8_t major = (*bytes)[kVersionMajorByte];
    const std::uint8_t minor = (*bytes)[kVersionMinorByte];
    if (!digit(major) || !digit(minor)) {
        LogWarning("VER.bin holds no version digits; no update is offered");
        return {};
    }
    return {static_cast<std::uint8_t>(major - '0'), static_cast<std::uint8_t>(minor - '0')};
}

void ReadVersionFile(ConfigState& state) {
    state.offeredFirmware = ReadVersionFile(state.folders.programFolder);
}

} // namespace orvo

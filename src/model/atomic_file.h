#pragma once
// Whole-file reads and atomic whole-file writes. A write goes to a new temporary file
// "<target>.tmpXXXXXX" in the target's folder and is renamed over the target, so a crash or a
// full disk never leaves a half-written file: the old file stays whole until the new one is
// complete. Reads open regular files only, so a FIFO or a device in a file's place never
// blocks the program.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/file_calls.h"

namespace orvo {

struct FileResult {
    bool ok = false;
    std::string error; // one line saying what failed, empty on success
    explicit operator bool() const { return ok; }
};

// The temporary file is created exclusively (never through a link planted at its name), is
// readable by the user alone while it is written, and takes the old target's permission bits
// before it replaces it; a new target keeps 0600. The folder is synced after the rename.
FileResult WriteFileAtomically(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes,
                               const FileCalls& calls = SystemFileCalls());

struct FileContent {
    std::vector<std::uint8_t> bytes; // at most the number asked for
    std::uintmax_t fileSize = 0;     // the whole file's size
};

// Reads at most maxBytes from the start of a regular file. nullopt (with a one-line reason in
// `error` when given) when the path is missing, unreadable or not a regular file.
std::optional<FileContent> ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                           std::string* error = nullptr,
                                           const FileCalls& calls = SystemFileCalls());

// A regular file mapped read-only into memory; unmapped when the last owner goes. Reading the
// pages straight from the page cache spares a large file's copy into fresh memory.
class MappedFile {
public:
    MappedFile() = default;
    MappedFile(void* address, std::size_t size) : m_address(address), m_size(size) {}
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    ~MappedFile();

    std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(m_address), m_size};
    }

private:
    void* m_address = nullptr;
    std::size_t m_size = 0;
};

// Maps a whole regular file of at most maxBytes. nullopt when the path is missing, unreadable,
// not a regular file or larger. The file must be replaced, never rewritten in place, while it
// is mapped (as WriteFileAtomically does).
std::optional<MappedFile> MapRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                         const FileCalls& calls = SystemFileCalls());

// ReadRegularFile's bytes alone.
std::optional<std::vector<std::uint8_t>> ReadFilePrefix(const std::filesystem::path& path,
                                                        std::size_t maxBytes);

// Copies a regular file to a new file `to`, which must not exist yet (nothing is ever replaced
// and no link at `to` is followed). A copy that fails half way is removed.
FileResult CopyToNewFile(const std::filesystem::path& from, const std::filesystem::path& to,
                         const FileCalls& calls = SystemFileCalls());

// Removes the temporary files "<target>.tmp*" that a writer killed mid-write left beside
// `target`: regular files of this user that no running writer holds. Returns how many went.
std::size_t SweepStaleTemporaries(const std::filesystem::path& target,
                                  const FileCalls& calls = SystemFileCalls());

// The same for every file of `folder` whose name ends in `suffix` (".bin" for the profiles).
std::size_t SweepStaleTemporariesIn(const std::filesystem::path& folder, std::string_view suffix,
                                    const FileCalls& calls = SystemFileCalls());

} // namespace orvo

#pragma once
// Whole-file reads and atomic whole-file writes. A write goes to a temporary file in the
// target's folder and is renamed over the target, so a crash or a full disk never leaves a
// half-written file: the old file stays whole until the new one is complete.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvo {

struct FileResult {
    bool ok = false;
    std::string error; // one line saying what failed, empty on success
    explicit operator bool() const { return ok; }
};

FileResult WriteFileAtomically(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes);

// Reads at most maxBytes from the start of the file; nullopt when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadFilePrefix(const std::filesystem::path& path,
                                                        std::size_t maxBytes);

} // namespace orvo

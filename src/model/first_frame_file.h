#pragma once
// The main window's start-up picture, kept in the data folder so that the next start can show
// it as its very first frame, before a picture is decoded or a font is loaded. The file holds
// what the picture was made from (a key the caller builds from everything the picture depends
// on) and its raw pixels; it is taken only when the key matches byte for byte. Layout, numbers
// little-endian; the pixels start at a multiple of 16 bytes, so they can be used in place:
//   "ORVOFRM1", width (4), height (4), bytes per line (4), key size (4), key, zeros, pixels

#include "model/atomic_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvo {

inline constexpr std::string_view kFirstFrameFileName = "first_frame.raw";

struct FrameSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerLine = 0; // at least width * 4: 32 bits a pixel
};

struct KeptFrame {
    FrameSize size;
    MappedFile file; // the whole file; the pixels lie at `pixelOffset`
    std::size_t pixelOffset = 0;
    const std::uint8_t* pixels() const { return file.bytes().data() + pixelOffset; }
};

// The picture kept under `key`; nullopt when the file is missing, damaged, or was made from
// something else.
std::optional<KeptFrame> LoadFirstFrame(const std::filesystem::path& file,
                                        std::span<const std::uint8_t> key);
// Replaces the file (atomically) with the picture `pixels` (size.height lines of
// size.bytesPerLine bytes) made from `key`.
FileResult SaveFirstFrame(const std::filesystem::path& file, std::span<const std::uint8_t> key,
                          FrameSize size, std::span<const std::uint8_t> pixels);

} // namespace orvo

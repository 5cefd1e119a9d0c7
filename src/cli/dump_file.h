#pragma once
// `orvoctl dump`: a readable (or JSON) account of "keymap.bin", a profile file or
// "MacroDefine.bin".

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "cli/dump_writer.h"
#include "model/settings_image.h"

namespace orvo::cli {

enum class DumpLayout { Profile, Macros };

// "MacroDefine.bin" is recognised by its size or, for a file of another size, by its name;
// everything else is read as the profile layout. A file of the wrong size is described as far
// as it goes (the rest reads as zero) with a note of its size.
DumpLayout DetectLayout(const std::filesystem::path& file, std::size_t size);

// The parts of a profile's description that the export shares: "ab cd ef" bytes, "#RRGGBB"
// colours, the name of a key action's kind, and the settings (lighting, switches, palm rest and
// the key-map entries that differ from the factory map) in the order both show them.
std::string HexBytes(std::span<const std::uint8_t> bytes);
std::string Colour(std::uint8_t r, std::uint8_t g, std::uint8_t b);
std::string_view KindName(std::uint8_t kind);
void DescribeSettings(const SettingsImage& image, DumpWriter& out);

// bytes: the file's content (extra bytes are ignored); fileSize: its size on disk.
void DescribeProfile(std::span<const std::uint8_t> bytes, std::size_t fileSize, DumpWriter& out);
void DescribeMacros(std::span<const std::uint8_t> bytes, std::size_t fileSize, DumpWriter& out);

struct DumpOutput {
    int exitCode = 0;
    std::string out; // the document
    std::string err; // one line on failure
};
DumpOutput DumpFile(const std::filesystem::path& file, bool json);

} // namespace orvo::cli

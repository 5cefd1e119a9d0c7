#pragma once
// `orvoctl dump`: a readable (or JSON) account of "keymap.bin", a profile file or
// "MacroDefine.bin".

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "cli/dump_writer.h"

namespace orvo::cli {

enum class DumpLayout { Profile, Macros };

// "MacroDefine.bin" is recognised by its size or, for a file of another size, by its name;
// everything else is read as the profile layout. A file of the wrong size is described as far
// as it goes (the rest reads as zero) with a note of its size.
DumpLayout DetectLayout(const std::filesystem::path& file, std::size_t size);

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

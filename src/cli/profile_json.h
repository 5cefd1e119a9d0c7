#pragma once
// A profile as readable, shareable JSON. The export carries what `dump --json` shows (the
// lighting, the modes, the palm rest, the key-map entries that differ from the factory map)
// and every other byte needed to rebuild the file: the rest of the key map, the key-enable
// mask, the macro blocks, the custom lighting tables, the reserved bytes (as hex, only when
// not zero) and every key action record that differs from an untouched one. Names are there
// to be read; the numbers and bytes are what an import builds the file from, so importing an
// export gives back the very same bytes, whatever the file held.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::cli {

inline constexpr std::string_view kProfileJsonFormat = "zorvanta-orvo-profile";
inline constexpr int kProfileJsonVersion = 1;

// The JSON of a profile file: 206928 bytes, or the 10068 bytes of the settings image that the
// profile manager's "Nuevo" writes. nullopt for any other size.
std::optional<std::string> ExportProfileJson(std::span<const std::uint8_t> file);

struct ProfileImport {
    std::vector<std::uint8_t> bytes; // the file
    std::size_t line = 0;            // of the value at fault (of the text, for bad JSON)
    std::string field;               // "lighting.brightness", "keyActions[2].path"
    std::string error;
    bool ok() const { return error.empty(); }
};

ProfileImport ImportProfileJson(std::string_view json);

} // namespace orvo::cli

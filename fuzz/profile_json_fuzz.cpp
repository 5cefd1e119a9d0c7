// Feeds arbitrary text to the JSON reader and the profile import of `orvoctl import`. What it
// accepts must be a whole profile file whose export imports back to the same bytes.

#include "cli/profile_json.h"
#include "model/config_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const cli::ProfileImport imported = cli::ImportProfileJson(text);
    if (!imported.ok()) {
        if (!imported.bytes.empty())
            std::abort(); // a refused document leaves nothing half-built
        return 0;
    }
    if (imported.bytes.size() != kProfileFileSize && imported.bytes.size() != kSettingsImageSize)
        std::abort();
    const auto json = cli::ExportProfileJson(imported.bytes);
    if (!json)
        std::abort();
    const cli::ProfileImport again = cli::ImportProfileJson(*json);
    if (!again.ok() || again.bytes != imported.bytes)
        std::abort();
    return 0;
}

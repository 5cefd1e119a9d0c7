// Feeds arbitrary "keymap.bin" / profile content to the profile parse, the customised-key rule,
// both renderings of the dump and the JSON export, which must import back to the same bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "cli/dump_file.h"
#include "cli/profile_json.h"
#include "model/config_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    const std::span<const std::uint8_t> in(data, size);

    SettingsImage image;
    KeyActionTable table;
    ParseProfile(in, &image, table);
    const auto bytes = SerialiseProfile(image, table);
    const std::size_t kept = std::min(size, kProfileFileSize);
    if (!std::equal(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(kept), bytes.begin()))
        std::abort();
    CustomisedKeys flags{};
    RecomputeCustomisedKeys(image, table, flags);
    for (const auto& writer : {cli::MakeTextWriter(), cli::MakeJsonWriter()}) {
        cli::DescribeProfile(in, size, *writer);
        writer->finish();
    }
    if (const auto json = cli::ExportProfileJson(in)) {
        const cli::ProfileImport back = cli::ImportProfileJson(*json);
        if (!back.ok() || !std::ranges::equal(back.bytes, in))
            std::abort();
    }
    return 0;
}

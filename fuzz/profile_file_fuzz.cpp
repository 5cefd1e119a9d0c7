// Feeds arbitrary "keymap.bin" / profile content to the profile parse, the customised-key rule
// and both renderings of the dump.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "cli/dump_file.h"
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
    return 0;
}

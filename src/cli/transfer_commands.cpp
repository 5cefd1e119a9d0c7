// orvoctl export and import: a profile file as JSON and back.

#include "cli/commands.h"
#include "cli/config_work.h"
#include "cli/input_file.h"
#include "cli/profile_json.h"
#include "model/atomic_file.h"
#include "model/config_files.h"
#include "model/settings_image.h"
#include "model/settings_ranges.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace orvo::cli {

namespace {

// An exported profile is some 100 kB at most; anything far larger is no export.
constexpr std::size_t kMaxJsonBytes = 16 << 20;

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

} // namespace

int RunExport(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || p.positional.size() != 1)
        return UsageError(c, "export", p.error);
    const std::filesystem::path file{std::string(p.positional[0])};
    const auto bytes = ReadProfileFile(c, file);
    if (!bytes)
        return kExitUsage;
    const auto json = ExportProfileJson(*bytes);
    if (!json)
        return Fail(c, kExitUsage, file.string() + " is not a profile");
    c.Out(*json);
    return kExitOk;
}

int RunImport(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, {});
    if (!p.error.empty() || p.positional.size() != 2)
        return UsageError(c, "import", p.error);
    const std::string_view source = p.positional[0];
    const std::filesystem::path out{std::string(p.positional[1])};
    const InputText in = ReadInputText(source, kMaxJsonBytes);
    if (!in.text)
        return Fail(c, kExitUsage, in.error);
    const ProfileImport profile = ImportProfileJson(*in.text);
    if (!profile.ok())
        return Fail(c, kExitUsage,
                    std::string(source) + ":" + std::to_string(profile.line) + ": " +
                        (profile.field.empty() ? "" : profile.field + ": ") + profile.error);
    const bool liveConfiguration = SameFile(out, c.folders.keymapFile());
    if (liveConfiguration) {
        // The running configuration: a value no control makes would go to the keyboard with
        // the window's next Save. A profile file elsewhere is written as the text says.
        SettingsImage image;
        std::copy_n(profile.bytes.begin(), kSettingsImageSize, image.bytes.begin());
        if (const std::string bad = DescribeOutOfRange(image); !bad.empty())
            return Fail(c, kExitUsage, out.string() + " not written: " + bad);
    }
    SweepStaleTemporaries(out);
    if (const FileResult written = WriteFileAtomically(out, profile.bytes); !written)
        return Fail(c, kExitUsage, written.error);
    // A profile written over "keymap.bin" is a new configuration for a running program.
    if (liveConfiguration && c.notifyWindow)
        c.notifyWindow();
    c.Out("wrote " + out.string() + "\n");
    return kExitOk;
}

} // namespace orvo::cli

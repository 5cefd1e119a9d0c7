// orvoctl profile: the profile manager's commands on the profile folder, with its rules (six
// profiles at most, names checked as there, the last one kept).

#include "cli/commands.h"
#include "cli/config_work.h"
#include "cli/values.h"
#include "model/profile_store.h"
#include "model/utf16.h"

#include <algorithm>
#include <system_error>

namespace orvo::cli {

namespace {

constexpr std::string_view kCommand = "profile";
constexpr OptionSpec kOptions[] = {{"--no-apply", false}};

std::optional<std::size_t> RowOf(const ProfileStore& store, std::u16string_view name) {
    const auto& rows = store.rows();
    const auto at = std::ranges::find(rows, name);
    if (at == rows.end())
        return std::nullopt;
    return static_cast<std::size_t>(at - rows.begin());
}

int Refused(const Context& c, const Notice& notice) {
    return Fail(c, kExitUsage, ToUtf8(notice.text));
}

// "Nuevo", then the new row renamed: a profile of that name in the folder, nothing else.
Notice CreateProfile(ProfileStore& store, const std::u16string& name) {
    if (!IsSafeProfileName(name))
        return {kBadProfileNameText, kProfileCaption};
    const std::vector<std::u16string> before = store.rows();
    if (const Notice refused = store.newProfile())
        return refused;
    const auto made = std::ranges::find_if(store.rows(), [&](const std::u16string& row) {
        return std::ranges::find(before, row) == before.end();
    });
    if (made == store.rows().end())
        return {kProfileWriteFailedText, kProfileCaption};
    const std::size_t row = static_cast<std::size_t>(made - store.rows().begin());
    const std::filesystem::path file = store.pathOf(row);
    if (const Notice refused = store.renameProfile(row, name); refused || !RowOf(store, name)) {
        std::error_code ec;
        std::filesystem::remove(file, ec); // the new profile goes with its failed name
        store.refresh();
        return refused ? refused : Notice{kRenameFailedText, kProfileCaption};
    }
    return {};
}

} // namespace

int RunProfile(const Context& c, Args args) {
    const ParsedArgs p = ParseArgs(args, kOptions);
    if (!p.error.empty())
        return UsageError(c, kCommand, p.error);
    if (p.positional.empty())
        return UsageError(c, kCommand, "a profile command is missing");
    const std::string_view sub = p.positional[0];
    const std::size_t words = sub == "list" ? 1 : sub == "rename" ? 3 : 2;
    if ((sub != "list" && sub != "save" && sub != "load" && sub != "delete" && sub != "rename") ||
        p.positional.size() != words)
        return UsageError(c, kCommand, {});
    if (p.has("--no-apply") && sub != "load")
        return UsageError(c, kCommand, "--no-apply goes with profile load only");
    std::vector<std::u16string> names;
    for (std::size_t i = 1; i < p.positional.size(); ++i) {
        const auto name = FromUtf8(p.positional[i]);
        if (!name)
            return Fail(c, kExitUsage, "a profile name must be UTF-8 text");
        names.push_back(*name);
    }

    ProfileStore store(c.folders.profileFolder());
    if (const FileResult made = EnsureProfileFolder(c.folders); !made)
        return Fail(c, kExitUsage, made.error);
    store.refresh();
    if (sub == "list") {
        std::string text;
        for (const std::u16string& row : store.rows())
            text += ToUtf8(row) + "\n";
        c.Out(text);
        return kExitOk;
    }
    const auto row = RowOf(store, names[0]);
    if (!row && sub != "save")
        return Fail(c, kExitUsage, "there is no profile " + Quoted(p.positional[1]));
    if (sub == "delete") {
        store.select(row);
        const Notice refused = store.deleteProfile([](const Notice&) { return true; });
        return refused ? Refused(c, refused) : kExitOk;
    }
    if (sub == "rename") {
        const Notice refused = store.renameProfile(*row, names[1]);
        return refused ? Refused(c, refused) : kExitOk;
    }

    // save and load work with the configuration.
    ConfigWork work(c, {.apply = sub == "load" && !p.has("--no-apply"), .trace = p.trace});
    if (auto failed = work.Load())
        return *failed;
    if (sub == "save") {
        if (!row) {
            if (const Notice refused = CreateProfile(store, names[0]))
                return Refused(c, refused);
        }
        store.select(RowOf(store, names[0]));
        const Notice refused = work.session().SaveIntoProfile(store, {});
        return refused ? Refused(c, refused) : kExitOk;
    }
    store.select(row);
    const std::filesystem::path file = store.pathOf(*row);
    if (const Notice refused = work.session().OpenIntoProfile(store, [&] { return file; }))
        return Refused(c, refused);
    RecomputeCustomisedKeys(work.config());
    return work.Finish();
}

} // namespace orvo::cli

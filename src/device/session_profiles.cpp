// The profile manager's actions that touch the configuration: saving it into a profile and
// opening a profile into it. The rest of the dialog's commands work on the profile folder
// alone (ProfileStore).

#include "device/session.h"
#include "model/config_state.h"
#include "model/log.h"
#include "model/settings_ranges.h"

#include <algorithm>

namespace orvo {

namespace {

// Whether a profile file's settings may become the image. Files that cannot be read or are
// of another size pass here: the profile store refuses them with its own messages.
bool SettingsInRange(const std::filesystem::path& file) {
    const auto bytes = ReadFilePrefix(file, kProfileFileSize + 1);
    if (!bytes || (bytes->size() != kProfileFileSize && bytes->size() != kNewProfileFileSize))
        return true;
    SettingsImage image;
    std::copy_n(bytes->begin(), kSettingsImageSize, image.bytes.begin());
    const std::vector<OutOfRange> bad = OutOfRangeFields(image);
    for (const OutOfRange& value : bad)
        LogWarning("profile " + file.string() + ": " + Describe(value));
    return bad.empty();
}

} // namespace

Notice Session::SaveIntoProfile(ProfileStore& profiles, const ChooseFile& choose) const {
    return profiles.saveProfile(m_config, choose);
}

Notice Session::OpenIntoProfile(ProfileStore& profiles, const ChooseFile& choose) {
    // The user is asked only with a profile selected, as the store would.
    std::optional<std::filesystem::path> chosen;
    if (profiles.selected() && choose)
        chosen = choose();
    if (chosen && !chosen->empty() && !SettingsInRange(*chosen))
        return {kProfileValuesInvalidText, kProfileCaption};
    return profiles.openProfile(m_config, [&chosen] { return chosen; });
}

} // namespace orvo

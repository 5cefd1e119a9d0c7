// The session's actions on files: profiles, the macro store, and reading the keyboard into a
// profile file.

#include "device/read_back.h"
#include "device/session.h"
#include "model/config_state.h"

namespace orvo {

LoadResult Session::LoadProfile(const std::filesystem::path& file) {
    return ReadProfileFile(file, &m_config.image, m_config.keyActions);
}

FileResult Session::SaveProfile(const std::filesystem::path& file) const {
    return WriteProfileFile(file, m_config.image, m_config.keyActions);
}

MacroCommitResult Session::CommitMacros(const MacroStore& edited,
                                        const MacroRenumbering& renumbering) {
    MacroCommitResult result;
    m_config.macros = edited;
    result.keysRenumbered = RenumberMacroKeys(m_config, renumbering);
    result.blocks = BuildMacroBlocks(m_config.macros, m_config.image);
    result.keymap = SaveKeymapFile(m_config);
    result.macros = SaveMacroFile(m_config);
    return result;
}

ProfileReadResult Session::ReadKeyboardIntoProfile(const std::filesystem::path& file) {
    ProfileReadResult result;
    SettingsImage image;
    FirmwareVersion version;
    result.transfersOk = m_connection.RunCommands([&](CommandChannel& ch) {
        return FullReadBack(ch, image) && ReadFirmwareVersion(ch, version);
    });
    if (!result.transfersOk)
        return result;
    m_config.image = image;
    m_config.firmware = version;
    m_config.firmwareRead = true;
    // The key actions as the file holds them, without re-seeding: a profile keeps what the
    // program stored. Without "keymap.bin" the table stays as it is.
    if (const auto keymap = ReadFilePrefix(m_config.folders.keymapFile(), kProfileFileSize))
        ParseProfile(*keymap, nullptr, m_config.keyActions);
    result.written = WriteProfileFile(file, m_config.image, m_config.keyActions);
    return result;
}

} // namespace orvo

#pragma once
// The profile manager without its window: up to six named copies of the configuration (the
// settings image and the action table, laid out as in "keymap.bin") kept as "<name>.bin"
// files in the profile folder. Each command returns the message the dialog shows (caption
// "Perfil"); file names are built only from checked profile names, so no command ever touches
// a file outside the folder.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/atomic_file.h"
#include "model/config_state.h"
#include "model/notice.h"
#include "model/program_folders.h"

namespace orvo {

inline constexpr std::size_t kMaxProfiles = 6;
inline constexpr std::u16string_view kProfileExtension = u".bin";
// A profile made by "Nuevo" holds only the settings image until it is saved.
inline constexpr std::size_t kNewProfileFileSize = kSettingsImageSize;

inline constexpr std::u16string_view kProfileCaption = u"Perfil";
inline constexpr std::u16string_view kTooManyProfilesText = u"Se permiten hasta seis perfiles";
inline constexpr std::u16string_view kNoProfileToCopyText = u"Selecciona un perfil para copiar";
inline constexpr std::u16string_view kNoProfileToSaveText = u"Selecciona un perfil para guardar";
inline constexpr std::u16string_view kNoProfileToOpenText = u"Seleccione un perfil para abrir";
inline constexpr std::u16string_view kLastProfileText = u"Se requiere mínimo un perfil";
inline constexpr std::u16string_view kNoProfileToDeleteText = u"Selecciona un perfil para eliminar";
inline constexpr std::u16string_view kConfirmDeleteProfileText = u"Delete selected Perfil?";
inline constexpr std::u16string_view kRenameFailedText = u"Fail";
// Ours.
inline constexpr std::u16string_view kBadProfileNameText =
    u"El nombre del perfil no es válido: no puede estar vacío, ser \".\" o \"..\" ni "
    u"contener \"/\" o \"\\\"";
inline constexpr std::u16string_view kNotAProfileText = u"El archivo no es un perfil válido";
inline constexpr std::u16string_view kProfileReadFailedText = u"No se pudo leer el perfil";
inline constexpr std::u16string_view kProfileWriteFailedText = u"No se pudo guardar el perfil";
inline constexpr std::u16string_view kProfileDeleteFailedText = u"No se pudo eliminar el perfil";

// Asks the user for a file (the save or open file dialog); nullopt when cancelled.
using ChooseFile = std::function<std::optional<std::filesystem::path>()>;

// Creates the data folder's profile folder when it is missing (at start-up).
FileResult EnsureProfileFolder(const ProgramFolders& folders);

// A name that stays a single file name inside the profile folder: not empty, not "." or
// "..", without a path separator or NUL.
bool IsSafeProfileName(std::u16string_view name);

// Taken: whether a name is in use (a row's text, or a file already in the folder).
using NameTaken = std::function<bool(const std::u16string& name)>;
// "Profile_1" .. "Profile_9", "Profile010" .. "Profile098", "Profile99", ...: the first one
// not taken.
std::u16string DefaultProfileName(const NameTaken& taken);
// "Copy of <source>", else "Copy of <source> 1", "... 2", ...: the first one not taken.
std::u16string CopyProfileName(std::u16string_view source, const NameTaken& taken);

class ProfileStore {
public:
    explicit ProfileStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }
    // The rows: names of the folder's regular "*.bin" files without the extension, in name
    // order, at most six. Rebuilding them drops the selection.
    void refresh();
    const std::vector<std::u16string>& rows() const { return m_rows; }
    std::optional<std::size_t> selected() const { return m_selected; }
    void select(std::optional<std::size_t> row);
    // The file of a row: folder / "<row text>.bin".
    std::filesystem::path pathOf(std::size_t row) const;

    // "Nuevo": a new profile file holding a zero settings image.
    Notice newProfile();
    // "Copiar": the selected profile under a copy name, always a full-size file.
    Notice copyProfile();
    // "Guardar": the current configuration into the selected profile, and into a chosen file
    // as well when the user picks one.
    Notice saveProfile(const ConfigState& state, const ChooseFile& choose);
    // "Abrir": a chosen profile file becomes the current configuration (image and action
    // table) and is stored as the selected profile. Cancelling changes nothing; a file of
    // another size is refused.
    Notice openProfile(ConfigState& state, const ChooseFile& choose);
    // "Eliminar": asks, then removes the selected profile's file.
    Notice deleteProfile(const Confirm& confirm);
    // A row's text edited in place: the row's file is renamed in one step, never over
    // another file.
    Notice renameProfile(std::size_t row, std::u16string_view newName);

private:
    std::optional<std::filesystem::path> fileFor(std::u16string_view name) const;
    bool taken(const std::u16string& name) const;

    std::filesystem::path m_folder;
    std::vector<std::u16string> m_rows;
    std::optional<std::size_t> m_selected;
};

} // namespace orvo

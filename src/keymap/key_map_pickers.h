#pragma once
// The pickers of the "Avanzado" rows: an existing audio file, program or document, or a
// folder, asked through Prompts. A picked path that the key's record could not hold whole, or
// (outside Windows) a row-1 file that is no program, is refused with a message.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

class Prompts;

// Caption of every message box of the key assignment dialog.
inline constexpr std::u16string_view kKeyMapMessageCaption = u"Advertencia";
// Title of the file pickers (the folder picker's is kFolderPickerTitle).
inline constexpr std::u16string_view kFilePickerTitle = u"Abrir";
inline constexpr std::u16string_view kSelectFolderText = u"Seleccione una carpeta";
inline constexpr std::u16string_view kPathTooLongText =
    u"La ruta elegida es demasiado larga: admite como máximo 255 caracteres.";
inline constexpr std::u16string_view kNotAProgramText =
    u"El archivo elegido no es un programa ejecutable.";

// The file filter of row 0..2 as QFileDialog takes it. Programs on Windows end in ".exe";
// elsewhere they carry no suffix, so row 1 offers every file and checks the pick instead.
QString RowFileFilter(std::size_t row);

// Where the picker of a row starts: the folder of the row's current path (the folder itself
// for the folder row) while it exists, else the user's home folder.
QString PickerStartFolder(std::size_t row, std::u16string_view currentPath);

// Runs the picker of `row`; the path on success, nothing when it was cancelled or refused.
// `currentPath` is the path the row shows now (empty for none).
std::optional<std::u16string> PickRowPath(Prompts& prompts, std::size_t row,
                                          std::u16string_view currentPath);

} // namespace orvo

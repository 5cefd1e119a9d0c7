#include "keymap/key_map_pickers.h"

#include "app/prompts.h"
#include "model/host_actions.h"
#include "model/key_map_layout.h"

#include <QDir>
#include <QFileInfo>

namespace orvo {

namespace {

QString Text(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void Warn(Prompts& prompts, std::u16string_view text) {
    prompts.warn(Text(kKeyMapMessageCaption), Text(text));
}

#ifndef _WIN32
inline constexpr std::size_t kProgramRow = 1;
inline constexpr std::u16string_view kProgramFilter = u"Programas (*)";
#endif

} // namespace

QString RowFileFilter(std::size_t row) {
    if (row >= kAdvancedRowCount)
        return {};
#ifndef _WIN32
    if (row == kProgramRow)
        return Text(kProgramFilter);
#endif
    // The description already names its pattern, as QFileDialog reads it.
    return Text(AdvancedRowTable[row].filterDescription);
}

QString PickerStartFolder(std::size_t row, std::u16string_view currentPath) {
    if (!currentPath.empty() && row < kAdvancedRowCount) {
        const QString path = Text(currentPath);
        const QString folder = AdvancedRowTable[row].picker == PickerKind::Folder
                                   ? path
                                   : Text(SplitHostPath(currentPath).folder);
        if (QFileInfo(folder).isAbsolute() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

std::optional<std::u16string> PickRowPath(Prompts& prompts, std::size_t row,
                                          std::u16string_view currentPath) {
    if (row >= kAdvancedRowCount)
        return std::nullopt;
    const AdvancedRowInfo& info = AdvancedRowTable[row];
    const QString start = PickerStartFolder(row, currentPath);
    const std::optional<QString> picked =
        info.picker == PickerKind::Folder
            ? prompts.pickFolder(Text(kFolderPickerTitle), start)
            : prompts.openFile(Text(kFilePickerTitle), start, RowFileFilter(row));
    if (!picked)
        return std::nullopt;
    std::u16string path = picked->toStdU16String();
    switch (CheckChosenPath(path)) {
    case ChosenPathCheck::Empty:
        if (info.picker == PickerKind::Folder)
            Warn(prompts, kSelectFolderText);
        return std::nullopt;
    case ChosenPathCheck::TooLong:
        // Cut to fit, it would later start a different file.
        Warn(prompts, kPathTooLongText);
        return std::nullopt;
    case ChosenPathCheck::Ok:
        break;
    }
#ifndef _WIN32
    if (row == kProgramRow) {
        const QFileInfo program(*picked);
        if (!program.isFile() || !program.isExecutable()) {
            Warn(prompts, kNotAProgramText);
            return std::nullopt;
        }
    }
#endif
    return path;
}

} // namespace orvo

#include "app/file_warnings.h"

#include "app/prompts.h"
#include "controls/qt_convert.h"
#include "model/atomic_file.h"
#include "model/config_state.h"
#include "model/program_folders.h"

namespace orvo {

namespace {

QString FileName(DataFile file) {
    return QString::fromUtf8(file == DataFile::Keymap ? kKeymapFileName : kMacroFileName);
}

bool WriteBlocked(const ConfigState& state, DataFile file) {
    return file == DataFile::Keymap ? state.keymapWriteBlocked : state.macroFileWriteBlocked;
}

} // namespace

void WarnIfNotWritten(Prompts& prompts, const ConfigState& state, DataFile file,
                      const FileResult& written) {
    if (written.ok || WriteBlocked(state, file))
        return;
    prompts.warn(ToQString(kWarningCaption), ToQString(kFileNotWrittenText).arg(FileName(file)));
}

void WarnAboutUnreadableFiles(Prompts& prompts, const ConfigState& state) {
    for (DataFile file : {DataFile::Keymap, DataFile::Macros}) {
        if (WriteBlocked(state, file))
            prompts.warn(ToQString(kWarningCaption),
                         ToQString(kFileUnreadableText).arg(FileName(file)));
    }
}

} // namespace orvo

#pragma once
// What the user is told about the data files: a "keymap.bin" or "MacroDefine.bin" that could
// not be written (the program keeps its in-memory state, so nothing is lost until it ends),
// and, once at start-up, one that is there but could not be read and is therefore left alone.

#include <string_view>

namespace orvo {

class Prompts;
struct ConfigState;
struct FileResult;

enum class DataFile { Keymap, Macros };

inline constexpr auto kFileNotWrittenText =
    u"No se pudo guardar «%1». Los cambios siguen en el programa; compruebe el disco y vuelva "
    u"a guardar.";
inline constexpr auto kFileUnreadableText =
    u"No se pudo leer «%1». El programa no escribirá sobre ese archivo mientras no pueda leerse.";

// A warning box when `written` failed. A write refused because the file could not be loaded
// says nothing: the user heard about that file at start-up.
void WarnIfNotWritten(Prompts& prompts, const ConfigState& state, DataFile file,
                      const FileResult& written);

// One warning box per data file that is there but could not be loaded.
void WarnAboutUnreadableFiles(Prompts& prompts, const ConfigState& state);

} // namespace orvo

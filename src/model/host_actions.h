#pragma once
// Host-side key actions: a key assigned to play an audio file, run a program, open a file or
// open a folder is reported by the keyboard with its key code, and the host starts the path
// stored in the key's action record. Also the path rules of the "Avanzado" rows that choose
// those paths.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/key_actions.h"

namespace orvo {

// Characters that end a folder name in a stored path. Windows takes both slashes; elsewhere a
// backslash is an ordinary file-name character.
#ifdef _WIN32
inline constexpr std::u16string_view kPathSeparators = u"\\/";
#else
inline constexpr std::u16string_view kPathSeparators = u"/";
#endif

struct SplitPath {
    std::u16string folder;   // the text before the last separator
    std::u16string fileName; // the text after it; empty when the path has no separator
    friend bool operator==(const SplitPath&, const SplitPath&) = default;
};

// Splits at the last separator; a path without one is all folder.
SplitPath SplitHostPath(std::u16string_view path, std::u16string_view separators = kPathSeparators);

// The path as an "Avanzado" row shows it: whole below 14 units, else ".." followed by the
// last component with its leading separator (a separator at the very end does not count).
inline constexpr std::size_t kRowPathWholeBelow = 14;
std::u16string RowPathText(std::u16string_view path,
                           std::u16string_view separators = kPathSeparators);

// A path the user picked must fit the record's path field whole: a cut path would later start
// a different file.
inline constexpr std::size_t kMaxChosenPathUnits = record::pathUnits - 1; // NUL included
enum class ChosenPathCheck { Ok, Empty, TooLong };
ChosenPathCheck CheckChosenPath(std::u16string_view path);

// How a host-side action is started: programs run with their own folder as working
// directory; audio files, documents and folders open in the desktop's handler of their type.
// Neither goes through a shell, so the path is always one file name.
enum class HostLaunch { OpenWithDesktop, StartProgram };

struct HostAction {
    AssignmentKind kind = AssignmentKind::PlayAudio;
    std::u16string path;
    SplitPath parts;
    HostLaunch launch = HostLaunch::OpenWithDesktop;
};

// The action of the first record 0..254 whose key code is the low byte of the reported code
// and whose kind is a host-side action; nothing when there is none or its path is empty.
std::optional<HostAction> FindHostActionFor(const KeyActionTable& table,
                                            std::uint32_t reportedCode);

} // namespace orvo

#include "model/autostart.h"

#include "model/install_layout.h"

#include <fstream>
#include <string_view>
#include <system_error>

namespace orvo {

namespace fs = std::filesystem;

namespace {

// Characters that oblige a desktop entry's Exec argument to be quoted.
constexpr std::string_view kReservedInExec = " \t\"'\\><~|&;$*?#()`";
// Inside quotes these take a backslash before them.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

// One Exec argument, quoted when needed. Quoting comes first, then the key file's own
// escapes (a backslash doubles) and the field-code escape (a percent sign doubles).
std::optional<std::string> ExecArgument(std::string_view text) {
    std::string quoted;
    const bool quote = text.empty() || text.find_first_of(kReservedInExec) != std::string::npos;
    if (quote)
        quoted += '"';
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::nullopt;
        if (quote && kEscapedInQuotes.find(c) != std::string_view::npos)
            quoted += '\\';
        quoted += c;
    }
    if (quote)
        quoted += '"';
    std::string value;
    for (const char c : quoted) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '%')
            value += "%%";
        else
            value += c;
    }
    return value;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<fs::path> AutostartFile(const FolderEnvironment& environment) {
    const auto config = XdgFolder(environment.xdgConfigHome, environment.home, ".config");
    if (!config)
        return std::nullopt;
    return *config / "autostart" / (std::string(kDesktopId) + ".desktop");
}

std::optional<std::string> AutostartEntry(const fs::path& executable) {
    const auto program = ExecArgument(executable.string());
    if (!program)
        return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Zorvanta Orvo\n"
           "Comment=Keyboard lighting, keys and macros, waiting in the tray\n"
           "Comment[es]=Iluminación, teclas y macros del teclado, en la bandeja del sistema\n"
           "Exec=" +
           *program + " " + kStartHiddenArgument +
           "\n"
           "Icon=" +
           kDesktopId +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool IsAutostartEnabled(const fs::path& file) {
    std::ifstream in(file);
    if (!in)
        return false;
    bool inMainGroup = false;
    for (std::string line; std::getline(in, line);) {
        const std::string_view text = Trimmed(line);
        if (text.starts_with('[')) {
            inMainGroup = text == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = text.find('=');
        if (!inMainGroup || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(text.substr(0, equals));
        const std::string_view value = Trimmed(text.substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

FileResult SetAutostart(const fs::path& file, const fs::path& executable, bool enabled) {
    std::error_code ec;
    if (!enabled) {
        fs::remove(file, ec);
        if (ec)
            return {false, "cannot remove " + file.string() + ": " + ec.message()};
        return {true, {}};
    }
    const auto entry = AutostartEntry(executable);
    if (!entry)
        return {false, "the desktop cannot start a program at " + executable.string()};
    if (FileResult made = CreatePrivateFolder(file.parent_path()); !made)
        return made;
    return WriteFileAtomically(
        file, {reinterpret_cast<const std::uint8_t*>(entry->data()), entry->size()});
}

bool IsHiddenStart(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i] && std::string_view(argv[i]) == kStartHiddenArgument)
            return true;
    return false;
}

} // namespace orvo

#include "model/profile_store.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include "model/config_files.h"
#include "model/log.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace orvo {

namespace {

std::u16string Ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

std::u16string Number(unsigned n) {
    return Ascii(std::to_string(n));
}

bool EndsWithExtension(std::u16string_view name) {
    return name.size() >= kProfileExtension.size() &&
           name.substr(name.size() - kProfileExtension.size()) == kProfileExtension;
}

// Rows in name order, ignoring the case of ASCII letters, so that the same six files show
// in the same order on every run.
bool RowBefore(const std::u16string& a, const std::u16string& b) {
    const auto fold = [](char16_t c) -> char16_t {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
    if (mismatch.first != a.end() && mismatch.second != b.end())
        return fold(*mismatch.first) < fold(*mismatch.second);
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

bool IsRegularFile(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::regular;
}

bool Exists(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::symlink_status(file, ec).type() !=
           std::filesystem::file_type::not_found;
}

// Renames in one step and never replaces an existing file.
std::error_code RenameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to) {
#ifdef _WIN32
    if (::MoveFileExW(from.c_str(), to.c_str(), 0))
        return {};
    return {static_cast<int>(::GetLastError()), std::system_category()};
#else
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return {errno, std::generic_category()};
#endif
    // Without the flag: a hard link is refused when the new name exists; then the old name
    // goes. Either way the file is never missing under both names.
    if (::link(from.c_str(), to.c_str()) != 0)
        return {errno, std::generic_category()};
    if (::unlink(from.c_str()) != 0) {
        const std::error_code failed(errno, std::generic_category());
        ::unlink(to.c_str());
        return failed;
    }
    return {};
#endif
}

Notice Message(std::u16string_view text) {
    return {text, kProfileCaption};
}

} // namespace

FileResult EnsureProfileFolder(const ProgramFolders& folders) {
    const std::filesystem::path folder = folders.profileFolder();
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        return {true, {}};
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        FileResult r{false,
                     "cannot create profile folder " + folder.string() + ": " + ec.message()};
        LogWarning(r.error);
        return r;
    }
    return {true, {}};
}

bool IsSafeProfileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..")
        return false;
    return name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

std::u16string DefaultProfileName(const NameTaken& taken) {
    for (unsigned n = 1;; ++n) {
        const char* prefix = n < 10 ? "Profile_" : n < 99 ? "Profile0" : "Profile";
        std::u16string name = Ascii(prefix) + Number(n);
        if (!taken(name))
            return name;
    }
}

std::u16string CopyProfileName(std::u16string_view source, const NameTaken& taken) {
    const std::u16string base = u"Copy of " + std::u16string(source);
    if (!taken(base))
        return base;
    for (unsigned n = 1;; ++n) {
        std::u16string name = base + u" " + Number(n);
        if (!taken(name))
            return name;
    }
}

ProfileStore::ProfileStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

void ProfileStore::refresh() {
    m_rows.clear();
    m_selected.reset();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!IsRegularFile(it->path()))
            continue; // no folders, and no links that may lead out of the folder
        std::u16string name;
        try {
            name = it->path().filename().u16string();
        } catch (const std::exception&) {
            continue; // a file name that is no valid text
        }
        if (!EndsWithExtension(name))
            continue;
        name.resize(name.size() - kProfileExtension.size());
        if (IsSafeProfileName(name))
            m_rows.push_back(std::move(name));
    }
    std::sort(m_rows.begin(), m_rows.end(), RowBefore);
    if (m_rows.size() > kMaxProfiles)
        m_rows.resize(kMaxProfiles);
}

void ProfileStore::select(std::optional<std::size_t> row) {
    m_selected = row && *row < m_rows.size() ? row : std::nullopt;
}

std::optional<std::filesystem::path> ProfileStore::fileFor(std::u16string_view name) const {
    if (!IsSafeProfileName(name))
        return std::nullopt;
    try {
        return m_folder / std::filesystem::path(std::u16string(name) + kProfileExtension.data());
    } catch (const std::exception&) {
        return std::nullopt; // text with no file name form (a lone surrogate)
    }
}

std::filesystem::path ProfileStore::pathOf(std::size_t row) const {
    return fileFor(m_rows.at(row)).value_or(std::filesystem::path{});
}

bool ProfileStore::taken(const std::u16string& name) const {
    if (std::find(m_rows.begin(), m_rows.end(), name) != m_rows.end())
        return true;
    // A file the list does not show (a folder or a link of that name) is never replaced.
    const auto file = fileFor(name);
    return !file || Exists(*file);
}

Notice ProfileStore::newProfile() {
    if (m_rows.size() >= kMaxProfiles)
        return Message(kTooManyProfilesText);
    const std::u16string name =
        DefaultProfileName([this](const std::u16string& n) { return taken(n); });
    const SettingsImage empty;
    const FileResult written = WriteFileAtomically(*fileFor(name), empty.bytes);
    refresh();
    return written ? Notice{} : Message(kProfileWriteFailedText);
}

Notice ProfileStore::copyProfile() {
    if (!m_selected)
        return Message(kNoProfileToCopyText);
    if (m_rows.size() > kMaxProfiles - 1)
        return {}; // no room for the copy
    const std::u16string& source = m_rows[*m_selected];
    const auto bytes = ReadFilePrefix(pathOf(*m_selected), kProfileFileSize);
    if (!bytes) {
        refresh();
        return Message(kProfileReadFailedText);
    }
    // A profile made by "Nuevo" holds only the image; its copy gets a zero action table.
    SettingsImage image;
    KeyActionTable table;
    ParseProfile(*bytes, &image, table);
    const std::u16string name =
        CopyProfileName(source, [this](const std::u16string& n) { return taken(n); });
    const auto target = fileFor(name);
    const bool written = target && WriteProfileFile(*target, image, table).ok;
    refresh();
    return written ? Notice{} : Message(kProfileWriteFailedText);
}

Notice ProfileStore::saveProfile(const ConfigState& state, const ChooseFile& choose) {
    if (!m_selected)
        return Message(kNoProfileToSaveText);
    const std::optional<std::filesystem::path> chosen = choose ? choose() : std::nullopt;
    bool written = WriteProfileFile(pathOf(*m_selected), state.image, state.keyActions).ok;
    if (chosen && !chosen->empty())
        written = WriteProfileFile(*chosen, state.image, state.keyActions).ok && written;
    return written ? Notice{} : Message(kProfileWriteFailedText);
}

Notice ProfileStore::openProfile(ConfigState& state, const ChooseFile& choose) {
    if (!m_selected)
        return Message(kNoProfileToOpenText);
    const std::optional<std::filesystem::path> chosen = choose ? choose() : std::nullopt;
    if (!chosen || chosen->empty())
        return {}; // cancelled: the selected profile keeps its content
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(*chosen, ec);
    const auto size = regular ? std::filesystem::file_size(*chosen, ec) : 0;
    // Anything else would put foreign bytes into the key map and lighting.
    if (!regular || ec || (size != kProfileFileSize && size != kNewProfileFileSize))
        return Message(kNotAProfileText);
    if (!ReadProfileFile(*chosen, &state.image, state.keyActions))
        return Message(kProfileReadFailedText);
    if (!WriteProfileFile(pathOf(*m_selected), state.image, state.keyActions))
        return Message(kProfileWriteFailedText);
    return {};
}

Notice ProfileStore::deleteProfile(const Confirm& confirm) {
    if (m_rows.size() == 1)
        return Message(kLastProfileText);
    if (!m_selected)
        return Message(kNoProfileToDeleteText);
    Notice result;
    if (confirm && confirm(Message(kConfirmDeleteProfileText))) {
        const std::filesystem::path file = pathOf(*m_selected);
        LogTrace("deleting profile " + file.string());
        std::error_code ec;
        std::filesystem::remove(file, ec); // a file already gone counts as removed
        if (ec) {
            LogWarning("cannot delete " + file.string() + ": " + ec.message());
            result = Message(kProfileDeleteFailedText);
        }
    }
    refresh();
    return result;
}

Notice ProfileStore::renameProfile(std::size_t row, std::u16string_view newName) {
    if (row >= m_rows.size()) {
        refresh();
        return {};
    }
    std::u16string name(newName);
    if (EndsWithExtension(name))
        name.resize(name.size() - kProfileExtension.size());
    const auto target = fileFor(name);
    if (!target) {
        refresh();
        return Message(kBadProfileNameText);
    }
    const std::filesystem::path source = pathOf(row);
    // Onto a listed profile (or unchanged): nothing to do.
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        if (pathOf(r) == *target) {
            refresh();
            return {};
        }
    }
    const std::error_code ec = RenameWithoutReplacing(source, *target);
    refresh();
    if (ec) {
        LogWarning("cannot rename " + source.string() + " to " + target->string() + ": " +
                   ec.message());
        return Message(kRenameFailedText);
    }
    LogTrace("renamed profile " + source.string() + " to " + target->string());
    return {};
}

} // namespace orvo

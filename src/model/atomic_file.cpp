#include "model/atomic_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include "model/log.h"

namespace orvo {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryMark = ".tmp";
constexpr std::size_t kTemporaryRandomChars = 6;
constexpr std::string_view kTemporaryAlphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// Names that are taken (or swept away before the writer locked them) are retried this often.
constexpr int kTemporaryAttempts = 100;
constexpr mode_t kPrivateMode = 0600;
constexpr mode_t kPermissionBits = 0777;
constexpr std::size_t kCopyChunk = 64 * 1024;

std::string Describe(const fs::path& target, const char* what, int error) {
    return "cannot write " + target.string() + ": " + what + " (" + std::strerror(error) + ")";
}

FileResult Failure(const fs::path& target, const char* what, int error) {
    return {false, Describe(target, what, error)};
}

fs::path TemporaryBeside(const fs::path& target) {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kTemporaryAlphabet.size() - 1);
    std::string suffix(kTemporaryMark);
    for (std::size_t i = 0; i < kTemporaryRandomChars; ++i)
        suffix += kTemporaryAlphabet[pick(random)];
    fs::path tmp = target;
    tmp += suffix;
    return tmp;
}

// Writes every byte, resuming after short writes and interruptions.
bool WriteAll(const FileCalls& calls, int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = calls.write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Permission bits of an existing regular file at `path`; nullopt when there is none.
std::optional<mode_t> ExistingMode(const FileCalls& calls, const fs::path& path) {
    struct stat st {};
    if (calls.lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return st.st_mode & kPermissionBits;
}

// A newly created temporary file, locked so that no sweep takes it while it is written.
struct Temporary {
    int fd = -1;
    fs::path path;
};

std::optional<Temporary> CreateTemporary(const FileCalls& calls, const fs::path& target,
                                         int& error) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const fs::path tmp = TemporaryBeside(target);
        const int fd = calls.open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                  kPrivateMode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            error = errno;
            return std::nullopt;
        }
        // Where locks do not work the sweep cannot lock the file either, and leaves it alone.
        while (calls.flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // A sweep may have opened the file between its creation and the lock; then it has
        // unlinked it by the time the lock is ours, and a new name is needed.
        struct stat st {};
        if (calls.fstat(fd, &st) != 0 || st.st_nlink > 0)
            return Temporary{fd, tmp};
        calls.close(fd);
    }
    error = EEXIST;
    return std::nullopt;
}

// The rename is on disk only once the folder is synced. The file itself is complete either
// way, so a folder that cannot be synced is only reported in the log.
void SyncFolder(const FileCalls& calls, const fs::path& folder) {
    const int fd = calls.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0 || calls.fsync(fd) != 0) {
        if (errno != EINVAL) // file systems without folder sync say EINVAL
            LogWarning("cannot sync folder " + folder.string() + ": " + std::strerror(errno));
    }
    if (fd >= 0)
        calls.close(fd);
}

fs::path FolderOf(const fs::path& file) {
    const fs::path parent = file.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

int OpenRegularForReading(const FileCalls& calls, const fs::path& path, struct stat& st,
                          std::string* error) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        if (error)
            *error = "cannot read " + path.string() + ": " + std::strerror(errno);
        return -1;
    }
    if (calls.fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = "cannot read " + path.string() + ": not a regular file";
        calls.close(fd);
        return -1;
    }
    return fd;
}

// Reads up to buffer.size() bytes; the number read, or -1.
ssize_t ReadUpTo(const FileCalls& calls, int fd, std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = calls.read(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

// "<base>.tmp" followed by one to six letters or digits: the temporary names this writer
// uses, and the shorter numeric ones of earlier versions.
bool IsTemporaryOf(std::string_view name, std::string_view base) {
    if (!name.starts_with(base) || !name.substr(base.size()).starts_with(kTemporaryMark))
        return false;
    const std::string_view rest = name.substr(base.size() + kTemporaryMark.size());
    return !rest.empty() && rest.size() <= kTemporaryRandomChars &&
           std::ranges::all_of(
               rest, [](char c) { return kTemporaryAlphabet.find(c) != std::string_view::npos; });
}

// Removes one candidate when it is our regular file and no writer holds its lock.
bool RemoveIfStale(const FileCalls& calls, const fs::path& path) {
    struct stat named {};
    if (calls.lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
        named.st_uid != ::geteuid())
        return false;
    const int fd = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat opened {};
    struct stat again {};
    // The lock tells a dead writer's file from a live one's; the second look makes sure the
    // name still means the file that was locked (a writer renames its file when it is done).
    if (calls.flock(fd, LOCK_EX | LOCK_NB) == 0 && calls.fstat(fd, &opened) == 0 &&
        calls.lstat(path.c_str(), &again) == 0 && opened.st_dev == again.st_dev &&
        opened.st_ino == again.st_ino)
        removed = calls.unlink(path.c_str()) == 0;
    calls.close(fd);
    return removed;
}

template <typename Matches>
std::size_t Sweep(const fs::path& folder, Matches matches, const FileCalls& calls) {
    std::size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (matches(it->path().filename().string()) && RemoveIfStale(calls, it->path())) {
            LogWarning("removed " + it->path().string() + ", left by an interrupted write");
            ++removed;
        }
    }
    return removed;
}

} // namespace

FileResult WriteFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes,
                               const FileCalls& calls) {
    const std::optional<mode_t> oldMode = ExistingMode(calls, target);
    int error = 0;
    const std::optional<Temporary> tmp = CreateTemporary(calls, target, error);
    if (!tmp)
        return Failure(target, "cannot create a temporary file", error);

    const char* failed = nullptr;
    if (!WriteAll(calls, tmp->fd, bytes))
        failed = "write failed";
    else if (oldMode && calls.fchmod(tmp->fd, *oldMode) != 0)
        failed = "cannot keep the file's permissions";
    else if (calls.fsync(tmp->fd) != 0)
        failed = "write failed";
    // Renamed while still locked, so no sweep can take the file before it has its name.
    else if (calls.rename(tmp->path.c_str(), target.c_str()) != 0)
        failed = "rename failed";
    if (failed) {
        error = errno;
        calls.unlink(tmp->path.c_str());
        calls.close(tmp->fd);
        return Failure(target, failed, error);
    }
    calls.close(tmp->fd); // the data is synced already; closing cannot lose it
    SyncFolder(calls, FolderOf(target));
    return {true, {}};
}

std::optional<FileContent> ReadRegularFile(const fs::path& path, std::size_t maxBytes,
                                           std::string* error, const FileCalls& calls) {
    struct stat st {};
    const int fd = OpenRegularForReading(calls, path, st, error);
    if (fd < 0)
        return std::nullopt;
    FileContent content;
    content.fileSize = static_cast<std::uintmax_t>(st.st_size);
    content.bytes.resize(std::min<std::uintmax_t>(maxBytes, content.fileSize));
    const ssize_t n = ReadUpTo(calls, fd, content.bytes);
    const int readError = errno;
    calls.close(fd);
    if (n < 0) {
        if (error)
            *error = "cannot read " + path.string() + ": " + std::strerror(readError);
        return std::nullopt;
    }
    content.bytes.resize(static_cast<std::size_t>(n));
    return content;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_address(std::exchange(other.m_address, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        MappedFile gone(std::move(*this));
        m_address = std::exchange(other.m_address, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    if (m_address)
        ::munmap(m_address, m_size);
}

std::optional<MappedFile> MapRegularFile(const fs::path& path, std::size_t maxBytes,
                                         const FileCalls& calls) {
    struct stat st {};
    const int fd = OpenRegularForReading(calls, path, st, nullptr);
    if (fd < 0)
        return std::nullopt;
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    void* address = nullptr;
    if (size > 0 && size <= maxBytes)
        address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    calls.close(fd);
    if (size > maxBytes || address == MAP_FAILED)
        return std::nullopt;
    return MappedFile(address, static_cast<std::size_t>(size));
}

std::optional<std::vector<std::uint8_t>> ReadFilePrefix(const fs::path& path,
                                                        std::size_t maxBytes) {
    auto content = ReadRegularFile(path, maxBytes);
    if (!content)
        return std::nullopt;
    return std::move(content->bytes);
}

FileResult CopyToNewFile(const fs::path& from, const fs::path& to, const FileCalls& calls) {
    struct stat st {};
    std::string readError;
    const int in = OpenRegularForReading(calls, from, st, &readError);
    if (in < 0)
        return {false, readError};
    const int out =
        calls.open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateMode);
    if (out < 0) {
        const int error = errno;
        calls.close(in);
        return Failure(to, "cannot create the copy", error);
    }
    std::vector<std::uint8_t> chunk(kCopyChunk);
    const char* failed = nullptr;
    for (;;) {
        const ssize_t n = ReadUpTo(calls, in, chunk);
        if (n < 0) {
            failed = "cannot read the original";
            break;
        }
        if (n == 0)
            break;
        if (!WriteAll(calls, out, std::span(chunk).first(static_cast<std::size_t>(n)))) {
            failed = "write failed";
            break;
        }
    }
    if (!failed && calls.fchmod(out, st.st_mode & kPermissionBits) != 0)
        failed = "cannot keep the file's permissions";
    if (!failed && calls.fsync(out) != 0)
        failed = "write failed";
    const int error = errno;
    calls.close(in);
    calls.close(out);
    if (failed) {
        calls.unlink(to.c_str());
        return Failure(to, failed, error);
    }
    SyncFolder(calls, FolderOf(to));
    return {true, {}};
}

std::size_t SweepStaleTemporaries(const fs::path& target, const FileCalls& calls) {
    const std::string base = target.filename().string();
    return Sweep(
        FolderOf(target), [&](std::string_view name) { return IsTemporaryOf(name, base); }, calls);
}

std::size_t SweepStaleTemporariesIn(const fs::path& folder, std::string_view suffix,
                                    const FileCalls& calls) {
    return Sweep(
        folder,
        [&](std::string_view name) {
            const std::size_t mark = name.rfind(kTemporaryMark);
            if (mark == std::string_view::npos)
                return false;
            const std::string_view base = name.substr(0, mark);
            return base.size() > suffix.size() && base.ends_with(suffix) &&
                   IsTemporaryOf(name, base);
        },
        calls);
}

} // namespace orvo

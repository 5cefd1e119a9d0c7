#include "model/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace orvo {

namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::filesystem::path tmp = target;
    tmp += ".tmp" + std::to_string(random() % 1000000);
    return tmp;
}

bool FlushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

FileResult Failure(const std::filesystem::path& target, const char* what) {
    return {false, std::string("cannot write ") + target.string() + ": " + what + " (" +
                       std::strerror(errno) + ")"};
}

} // namespace

FileResult WriteFileAtomically(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes) {
    const std::filesystem::path tmp = TemporaryBeside(target);
    std::FILE* f = std::fopen(tmp.string().c_str(), "wb");
    if (!f)
        return Failure(target, "cannot create temporary file");
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = written && FlushToDisk(f);
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed) {
        FileResult r = Failure(target, "write failed");
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        return r;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return Failure(target, "rename failed");
    }
    return {true, {}};
}

std::optional<std::vector<std::uint8_t>> ReadFilePrefix(const std::filesystem::path& path,
                                                        std::size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(maxBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace orvo

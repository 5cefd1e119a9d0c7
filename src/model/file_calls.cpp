#include "model/file_calls.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace orvo {

namespace {

class PosixFileCalls final : public FileCalls {
public:
    int open(const char* path, int flags, mode_t mode) const override {
        return ::open(path, flags, mode);
    }
    ssize_t read(int fd, void* buffer, std::size_t size) const override {
        return ::read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) const override {
        return ::write(fd, buffer, size);
    }
    int fstat(int fd, struct stat* st) const override { return ::fstat(fd, st); }
    int lstat(const char* path, struct stat* st) const override { return ::lstat(path, st); }
    int fchmod(int fd, mode_t mode) const override { return ::fchmod(fd, mode); }
    int flock(int fd, int operation) const override { return ::flock(fd, operation); }
    int fsync(int fd) const override { return ::fsync(fd); }
    int close(int fd) const override { return ::close(fd); }
    int rename(const char* from, const char* to) const override { return ::rename(from, to); }
    int unlink(const char* path) const override { return ::unlink(path); }
};

} // namespace

const FileCalls& SystemFileCalls() {
    static const PosixFileCalls calls;
    return calls;
}

} // namespace orvo

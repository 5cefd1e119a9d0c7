#pragma once
// The system calls the file code makes, behind one interface, so that tests can make any of
// them fail (a full disk, a folder that cannot be synced, a name that is taken) and check what
// the caller does then. Every call returns what the system call returns and leaves errno set
// as it does; SystemFileCalls() forwards to the operating system.

#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

namespace orvo {

class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode) const = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t size) const = 0;
    virtual ssize_t write(int fd, const void* buffer, std::size_t size) const = 0;
    virtual int fstat(int fd, struct stat* st) const = 0;
    virtual int lstat(const char* path, struct stat* st) const = 0;
    virtual int fchmod(int fd, mode_t mode) const = 0;
    virtual int flock(int fd, int operation) const = 0;
    virtual int fsync(int fd) const = 0;
    virtual int close(int fd) const = 0;
    virtual int rename(const char* from, const char* to) const = 0;
    virtual int unlink(const char* path) const = 0;
};

const FileCalls& SystemFileCalls();

// Forwards every call to another FileCalls; tests derive from it and replace only the calls
// they make fail.
class ForwardingFileCalls : public FileCalls {
public:
    explicit ForwardingFileCalls(const FileCalls& inner = SystemFileCalls()) : m_inner(inner) {}
    int open(const char* path, int flags, mode_t mode) const override {
        return m_inner.open(path, flags, mode);
    }
    ssize_t read(int fd, void* buffer, std::size_t size) const override {
        return m_inner.read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) const override {
        return m_inner.write(fd, buffer, size);
    }
    int fstat(int fd, struct stat* st) const override { return m_inner.fstat(fd, st); }
    int lstat(const char* path, struct stat* st) const override { return m_inner.lstat(path, st); }
    int fchmod(int fd, mode_t mode) const override { return m_inner.fchmod(fd, mode); }
    int flock(int fd, int operation) const override { return m_inner.flock(fd, operation); }
    int fsync(int fd) const override { return m_inner.fsync(fd); }
    int close(int fd) const override { return m_inner.close(fd); }
    int rename(const char* from, const char* to) const override { return m_inner.rename(from, to); }
    int unlink(const char* path) const override { return m_inner.unlink(path); }

private:
    const FileCalls& m_inner;
};

} // namespace orvo

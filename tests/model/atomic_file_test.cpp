#include "model/atomic_file.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <future>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct AtomicFileTest : ::testing::Test {
    fs::path dir;
    fs::path target;

    void SetUp() override {
        dir = FreshTestFolder("orvo_atomic");
        target = dir / "keymap.bin";
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Content(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Put(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.insert(e.path().filename().string());
        return names;
    }
};

const std::vector<std::uint8_t> kNew{'n', 'e', 'w'};

// An attacker who guesses the temporary name plants a link there just before it is created.
struct PlantingCalls : ForwardingFileCalls {
    fs::path victim;
    mutable int planted = 0;
    int open(const char* path, int flags, mode_t mode) const override {
        if ((flags & O_CREAT) && planted++ == 0)
            fs::create_symlink(victim, path);
        return ForwardingFileCalls::open(path, flags, mode);
    }
};

TEST_F(AtomicFileTest, ALinkPlantedAtTheTemporaryNameIsNeverFollowed) {
    PlantingCalls calls;
    calls.victim = dir / "victim";
    Put(calls.victim, "precious");
    ASSERT_TRUE(WriteFileAtomically(target, kNew, calls));
    EXPECT_EQ(Content(calls.victim), "precious");
    EXPECT_EQ(Content(target), "new");
    EXPECT_EQ(Names().size(), 3u); // the victim, the planted link and the target
}

TEST_F(AtomicFileTest, TheOldFilesPermissionsAreKeptAndANewFileIsPrivate) {
    for (const mode_t mode : {0640, 0604, 0644, 0400}) {
        Put(target, "old");
        fs::permissions(target, static_cast<fs::perms>(mode));
        ASSERT_TRUE(WriteFileAtomically(target, kNew));
        EXPECT_EQ(static_cast<mode_t>(fs::status(target).permissions()), mode) << std::oct << mode;
    }
    const fs::path fresh = dir / "MacroDefine.bin";
    ASSERT_TRUE(WriteFileAtomically(fresh, kNew));
    EXPECT_EQ(static_cast<mode_t>(fs::status(fresh).permissions()), 0600u);
}

// Fails one kind of call with an error, or lets every write move one byte only.
struct FailingCalls : ForwardingFileCalls {
    std::string failing;
    int error = 0;
    mutable std::vector<std::string> log;

    bool Fails(const char* call) const {
        log.push_back(call);
        if (failing != call)
            return false;
        errno = error;
        return true;
    }
    int open(const char* path, int flags, mode_t mode) const override {
        const bool folder = flags & O_DIRECTORY;
        return Fails(folder ? "open folder" : "open")
                   ? -1
                   : ForwardingFileCalls::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* b, std::size_t n) const override {
        if (failing == "short")
            return ForwardingFileCalls::write(fd, b, 1);
        return Fails("write") ? -1 : ForwardingFileCalls::write(fd, b, n);
    }
    int fchmod(int fd, mode_t mode) const override {
        return Fails("fchmod") ? -1 : ForwardingFileCalls::fchmod(fd, mode);
    }
    int fsync(int fd) const override {
        return Fails("fsync") ? -1 : ForwardingFileCalls::fsync(fd);
    }
    int rename(const char* from, const char* to) const override {
        return Fails("rename") ? -1 : ForwardingFileCalls::rename(from, to);
    }
};

TEST_F(AtomicFileTest, AFailedStepLeavesTheOldFileWholeAndSaysWhy) {
    struct Row {
        const char* failing;
        int error;
        const char* message; // empty: the write succeeds
    };
    const Row rows[] = {
        {"open", EACCES, "cannot create a temporary file (Permission denied)"},
        {"write", ENOSPC, "write failed (No space left on device)"},
        {"fchmod", EPERM, "cannot keep the file's permissions (Operation not permitted)"},
        {"fsync", EIO, "write failed (Input/output error)"},
        {"rename", EXDEV, "rename failed (Invalid cross-device link)"},
        {"short", 0, ""},
        {"open folder", EACCES, ""}, // the file is in place; only the log hears of it
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.failing);
        Put(target, "old");
        FailingCalls calls;
        calls.failing = row.failing;
        calls.error = row.error;
        const std::vector<std::uint8_t> bytes(100000, 'x');
        const FileResult r = WriteFileAtomically(target, bytes, calls);
        EXPECT_EQ(r.ok, *row.message == 0);
        if (*row.message) {
            EXPECT_EQ(r.error, "cannot write " + target.string() + ": " + row.message);
            EXPECT_EQ(Content(target), "old");
        } else {
            EXPECT_EQ(Content(target), std::string(bytes.begin(), bytes.end()));
        }
        EXPECT_EQ(Names(), std::set<std::string>{"keymap.bin"});
    }
}

TEST_F(AtomicFileTest, TheFolderIsSyncedAfterTheRename) {
    FailingCalls calls;
    ASSERT_TRUE(WriteFileAtomically(target, kNew, calls));
    const auto rename = std::ranges::find(calls.log, "rename");
    ASSERT_NE(rename, calls.log.end());
    EXPECT_EQ(std::vector(rename, calls.log.end()),
              (std::vector<std::string>{"rename", "open folder", "fsync"}));
}

// Every name is taken on the first tries.
struct ClashingCalls : ForwardingFileCalls {
    mutable std::set<std::string> tried;
    int open(const char* path, int flags, mode_t mode) const override {
        if ((flags & O_EXCL) && tried.insert(path).second && tried.size() <= 5) {
            errno = EEXIST;
            return -1;
        }
        return ForwardingFileCalls::open(path, flags, mode);
    }
};

TEST_F(AtomicFileTest, ATakenTemporaryNameIsRetriedUnderAnother) {
    ClashingCalls calls;
    ASSERT_TRUE(WriteFileAtomically(target, kNew, calls));
    EXPECT_EQ(calls.tried.size(), 6u);
    EXPECT_EQ(Content(target), "new");
}

// Runs a writer in a child process whose first write never returns: it kills itself, or waits
// to be killed. Returns the child's pid once its temporary file exists.
pid_t StartWriter(const fs::path& target, bool dies) {
    struct StuckCalls : ForwardingFileCalls {
        bool dies = false;
        ssize_t write(int, const void*, std::size_t) const override {
            if (dies)
                ::raise(SIGKILL);
            for (;;)
                ::pause();
        }
    };
    const pid_t pid = ::fork();
    if (pid == 0) {
        StuckCalls calls;
        calls.dies = dies;
        WriteFileAtomically(target, kNew, calls);
        ::_exit(0);
    }
    return pid;
}

bool HasTemporary(const fs::path& dir) {
    for (int i = 0; i < 500; ++i) {
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename().string().starts_with("keymap.bin.tmp"))
                return true;
        ::usleep(10000);
    }
    return false;
}

TEST_F(AtomicFileTest, TheSweepRemovesWhatAKilledWriterLeftAndNothingElse) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file to another user";
    const pid_t dead = StartWriter(target, true);
    ASSERT_GT(dead, 0);
    ::waitpid(dead, nullptr, 0);
    ASSERT_TRUE(HasTemporary(dir));
    // Leftovers of earlier versions, which numbered their temporaries.
    Put(dir / "keymap.bin.tmp4711", "old run");
    // Not temporaries of keymap.bin, or not ours to remove.
    const std::set<std::string> kept{
        "keymap.bin",        "keymap.bin.orig",      "keymap.bin.tmp",   "keymap.bin.tmp1234567",
        "other.bin.tmp1234", "keymap.bin.tmpLINK01", "keymap.bin.tmp-x", "keymap.bin.tmpFOREIGN"};
    for (const std::string& name : kept)
        if (name != "keymap.bin.tmpLINK01")
            Put(dir / name, "x");
    fs::create_symlink(dir / "keymap.bin", dir / "keymap.bin.tmpLINK01");
    ASSERT_EQ(::chown((dir / "keymap.bin.tmpFOREIGN").c_str(), 65534, 65534), 0);
    Put(dir / "keymap.bin.tmpFOREIG", "x"); // the same, with this user as owner

    EXPECT_EQ(SweepStaleTemporaries(target), 3u);
    EXPECT_EQ(Names(), kept);
}

TEST_F(AtomicFileTest, TheSweepLeavesARunningWritersFileAlone) {
    const pid_t live = StartWriter(target, false);
    ASSERT_GT(live, 0);
    ASSERT_TRUE(HasTemporary(dir));
    EXPECT_EQ(SweepStaleTemporaries(target), 0u);
    ::kill(live, SIGKILL);
    ::waitpid(live, nullptr, 0);
    EXPECT_EQ(SweepStaleTemporaries(target), 1u);
    EXPECT_TRUE(Names().empty());
}

TEST_F(AtomicFileTest, OnlyRegularFilesAreReadAndNothingBlocks) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_directories(dir / "folder");
    Put(dir / "file", std::string(5000, 'a'));
    struct Row {
        fs::path path;
        std::optional<std::size_t> bytes;
        std::uintmax_t size;
        const char* error;
    };
    const Row rows[] = {
        {dir / "fifo", std::nullopt, 0, "not a regular file"},
        {dir / "folder", std::nullopt, 0, "not a regular file"},
        {"/dev/zero", std::nullopt, 0, "not a regular file"},
        {dir / "missing", std::nullopt, 0, "No such file or directory"},
        {dir / "file", 100, 5000, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        std::string error;
        auto read =
            std::async(std::launch::async, [&] { return ReadRegularFile(row.path, 100, &error); });
        if (read.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            // Release a reader stuck on the FIFO so the test can end.
            ::close(::open(row.path.c_str(), O_WRONLY | O_NONBLOCK));
            FAIL() << "the read blocked";
        }
        const auto content = read.get();
        ASSERT_EQ(content.has_value(), row.bytes.has_value());
        if (content) {
            EXPECT_EQ(content->bytes.size(), *row.bytes);
            EXPECT_EQ(content->fileSize, row.size);
        } else {
            EXPECT_EQ(error, "cannot read " + row.path.string() + ": " + row.error);
        }
    }
}

} // namespace
} // namespace orvo

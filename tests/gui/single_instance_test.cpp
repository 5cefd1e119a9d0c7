// The single-instance socket: where it lies and whom it listens to.

#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace orvo {
namespace {

void ProcessEventsFor(
    int ms, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && !done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Runs each test with its own temporary, cache and runtime folders.
class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    const char* const m_variables[3] = {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"};
    std::optional<QByteArray> m_saved[3];

    QString path(const char* name) const {
        return m_dir.path() + QLatin1Char('/') + QLatin1String(name);
    }
    QString tmpFolder() const {
        return path("tmp") + QStringLiteral("/zorvanta-orvo-") + QString::number(::geteuid());
    }

    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            if (qEnvironmentVariableIsSet(m_variables[i]))
                m_saved[i] = qgetenv(m_variables[i]);
        QDir().mkpath(path("tmp"));
        ::mkdir(QFile::encodeName(path("run")).constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path("run")));
        qputenv("TMPDIR", QFile::encodeName(path("tmp")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(path("cache")));
    }
    void TearDown() override {
        for (int i = 0; i < 3; ++i) {
            if (m_saved[i])
                qputenv(m_variables[i], *m_saved[i]);
            else
                qunsetenv(m_variables[i]);
        }
    }
};

TEST_F(SingleInstanceTest, ASocketPlantedInTheTemporaryFolderNoLongerStopsTheStart) {
    const QString name = QStringLiteral("orvo-planted");
    // Anyone may create a socket in the shared temporary folder.
    const int planted =
        ListenOnInstanceSocket(QFile::encodeName(path("tmp/") + name).toStdString());
    ASSERT_GE(planted, 0);

    SingleInstance first(name);
    EXPECT_TRUE(first.claim());
    EXPECT_EQ(first.socketPath(), path("run") + QLatin1Char('/') + name);
    EXPECT_EQ(AcceptInstanceConnection(planted), -1); // nobody asked it anything
    CloseDescriptor(planted);
}

TEST_F(SingleInstanceTest, ASocketLeftByAProgramThatEndedIsTakenOverButNothingElseIs) {
    const QString name = QStringLiteral("orvo-left");
    const std::string socketPath = QFile::encodeName(path("run/") + name).toStdString();
    // A program that crashed leaves its socket file; nobody answers on it any more.
    CloseDescriptor(ListenOnInstanceSocket(socketPath));
    {
        SingleInstance first(name);
        EXPECT_TRUE(first.claim());
        SingleInstance second(name);
        EXPECT_FALSE(second.claim()) << "the first start listens on the socket it took over";
    }
    // A file that is not a socket stays; the start goes on without answering later starts.
    std::filesystem::remove(socketPath);
    QFile planted(QFile::decodeName(socketPath.c_str()));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();
    SingleInstance first(name);
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(std::filesystem::is_regular_file(socketPath));
}

TEST_F(SingleInstanceTest, TheSocketFolderIsOneNobodyElseCanEnter) {
    struct Row {
        const char* runtime; // what XDG_RUNTIME_DIR holds; nullptr: unset
        mode_t runtimeMode;
        bool foreignTmpFolder; // another user owns the temporary folder's name
        QString expected;
    };
    const Row rows[] = {
        {"run", 0700, false, path("run")},
        {nullptr, 0700, false, tmpFolder()},
        {"run", 0755, false, tmpFolder()},
        {"run", 0770, false, tmpFolder()},
        {"link", 0700, false, tmpFolder()},
        {"relative", 0700, false, tmpFolder()},
        {nullptr, 0700, true, path("cache") + QStringLiteral("/zorvanta-orvo")},
    };
    ASSERT_TRUE(QFile::link(path("run"), path("link")));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected.toStdString());
        if (row.foreignTmpFolder && ::geteuid() != 0)
            continue; // only root can give a folder to another user
        QDir(tmpFolder()).removeRecursively();
        QDir(path("cache")).removeRecursively();
        ::chmod(QFile::encodeName(path("run")).constData(), row.runtimeMode);
        if (!row.runtime)
            qunsetenv("XDG_RUNTIME_DIR");
        else if (QByteArray(row.runtime) == "relative")
            qputenv("XDG_RUNTIME_DIR", "run");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path(row.runtime)));
        if (row.foreignTmpFolder) {
            ::mkdir(QFile::encodeName(tmpFolder()).constData(), 0700);
            ASSERT_EQ(::chown(QFile::encodeName(tmpFolder()).constData(), 65534, 65534), 0);
        }

        EXPECT_EQ(PrivateRuntimeFolder(), row.expected);
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(row.expected).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
}

TEST_F(SingleInstanceTest, OnlyRequestsFromThisUserShowTheWindow) {
    for (const bool sameUser : {true, false}) {
        SCOPED_TRACE(sameUser);
        const QString name = QStringLiteral("orvo-peer-") + QString::number(sameUser);
        SingleInstance first(name);
        if (!sameUser)
            first.setAllowedUser(::geteuid() + 1);
        ASSERT_TRUE(first.claim());
        int shown = 0;
        QObject::connect(&first, &SingleInstance::showRequested, [&] { ++shown; });
        SingleInstance second(name);
        EXPECT_FALSE(second.claim());
        ProcessEventsFor(sameUser ? 3000 : 300, [&] { return shown > 0; });
        EXPECT_EQ(shown, sameUser ? 1 : 0);
    }
}

TEST_F(SingleInstanceTest, OrvoctlsRefreshRequestReachesTheRunningProgram) {
    SingleInstance first; // the program's own name
    ASSERT_TRUE(first.claim());
    int refreshed = 0;
    int shown = 0;
    QObject::connect(&first, &SingleInstance::refreshRequested, [&] { ++refreshed; });
    QObject::connect(&first, &SingleInstance::showRequested, [&] { ++shown; });
    const std::filesystem::path folder = QFile::encodeName(path("run")).toStdString();
    EXPECT_TRUE(SendInstanceRequest(folder, kRefreshRequest));
    ProcessEventsFor(3000, [&] { return refreshed > 0; });
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(shown, 0);
    // Nobody listens in another folder: the request goes nowhere, at once.
    EXPECT_FALSE(
        SendInstanceRequest(QFile::encodeName(path("tmp")).toStdString(), kRefreshRequest));
}

} // namespace
} // namespace orvo

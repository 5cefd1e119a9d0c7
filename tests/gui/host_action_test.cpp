// Host-side key actions as the program starts them: which launcher call each kind of stored
// path makes, that nothing starts for a path that names nothing, and that a real program
// starts as one file in its own folder, whatever its name holds.

#include "app/host_action_launcher.h"
#include "model/key_actions.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace orvo {
namespace {

constexpr std::size_t kKeyC = 81;
constexpr std::uint8_t kCodeC = 0x43;

struct FakeLauncher : HostActionLauncher {
    std::vector<QStringList> programs; // file, folder
    std::vector<QString> opened;
    bool startProgram(const QString& file, const QString& folder) override {
        programs.push_back({file, folder});
        return true;
    }
    bool openWithDesktop(const QString& path) override {
        opened.push_back(path);
        return true;
    }
};

class HostActionTest : public ::testing::Test {
protected:
    HostActionTest() {
        std::random_device rd;
        m_root = std::filesystem::temp_directory_path() /
                 ("orvo-host-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_root);
    }
    ~HostActionTest() override {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    // A program that writes its working folder and its argument count to `marker`.
    std::filesystem::path makeProgram(const std::filesystem::path& program,
                                      const std::filesystem::path& marker) {
        std::filesystem::create_directories(program.parent_path());
        std::ofstream(program) << "#!/bin/sh\necho \"$PWD|$#\" >> '" << marker.string() << "'\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        return program;
    }
    KeyActionTable tableWith(std::uint8_t kind, const std::string& path) {
        KeyActionTable table;
        table[kKeyC].setKeyCode(kCodeC);
        table[kKeyC].setKind(kind);
        table[kKeyC].setPath(QString::fromStdString(path).toStdU16String());
        return table;
    }
    std::filesystem::path m_root;
};

TEST_F(HostActionTest, EachKindStartsItsPathOnlyWhileItExists) {
    const auto program = makeProgram(m_root / "tools; rm -rf 'x'" / "-run me.sh", m_root / "m");
    const auto song = m_root / "música" / "canción \"uno\".mp3";
    const auto folder = m_root / "Carpeta #1";
    std::filesystem::create_directories(song.parent_path());
    std::filesystem::create_directories(folder);
    std::ofstream(song) << "id3";
    const auto q = [](const std::filesystem::path& p) {
        return QString::fromStdString(p.string());
    };

    struct Row {
        const char* what;
        std::uint8_t kind;
        std::string path;
        HostActionOutcome outcome;
        std::vector<QStringList> programs;
        std::vector<QString> opened;
    };
    const Row rows[] = {
        {"program",
         5,
         program.string(),
         HostActionOutcome::Started,
         {{q(program), q(program.parent_path())}},
         {}},
        {"audio", 4, song.string(), HostActionOutcome::Started, {}, {q(song)}},
        {"document", 6, song.string(), HostActionOutcome::Started, {}, {q(song)}},
        {"folder", 7, folder.string(), HostActionOutcome::Started, {}, {q(folder)}},
        {"vanished program", 5, (m_root / "gone.sh").string(), HostActionOutcome::Vanished, {}, {}},
        {"vanished folder", 7, (m_root / "gone").string(), HostActionOutcome::Vanished, {}, {}},
        {"relative path", 5, "bin/sh", HostActionOutcome::Vanished, {}, {}},
        {"no host action", 3, program.string(), HostActionOutcome::None, {}, {}},
    };
    for (const Row& row : rows) {
        FakeLauncher launcher;
        EXPECT_EQ(RunHostActionFor(tableWith(row.kind, row.path), kCodeC, launcher), row.outcome)
            << row.what;
        EXPECT_EQ(launcher.programs, row.programs) << row.what;
        EXPECT_EQ(launcher.opened, row.opened) << row.what;
    }
}

TEST_F(HostActionTest, AProgramRunsAsOneFileInItsOwnFolderWithoutArguments) {
    const auto marker = m_root / "marker";
    const auto program = makeProgram(m_root / "a b; echo 'c' \"d\" $HOME" / "-x $(id).sh", marker);
    DesktopLauncher launcher;
    ASSERT_EQ(RunHostActionFor(tableWith(5, program.string()), kCodeC, launcher),
              HostActionOutcome::Started);

    // The program runs on its own; wait for what it writes.
    std::string line;
    QElapsedTimer timer;
    timer.start();
    while (line.empty() && timer.elapsed() < 10000) {
        std::ifstream in(marker);
        std::getline(in, line);
        if (line.empty())
            QThread::msleep(10);
    }
    EXPECT_EQ(line, program.parent_path().string() + "|0");
}

} // namespace
} // namespace orvo

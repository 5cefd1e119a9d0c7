#include "model/config_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <future>
#include <random>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/key_tables.h"
#include "model/log.h"
#include "model/utf16.h"
#include "test_folder.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct FilesFixture : ::testing::Test {
    fs::path dir;
    std::unique_ptr<ConfigState> state = std::make_unique<ConfigState>();

    void SetUp() override {
        dir = FreshTestFolder("orvo_model");
        state->folders = MakeProgramFolders(dir / "bin" / "orvo", (dir / "data").string());
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::vector<std::uint8_t> Random(std::size_t n, unsigned seed) {
        std::mt19937 rng(seed);
        std::vector<std::uint8_t> b(n);
        for (auto& x : b)
            x = static_cast<std::uint8_t>(rng());
        return b;
    }
    static void Write(const fs::path& p, std::span<const std::uint8_t> b) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static std::vector<std::uint8_t> Read(const fs::path& p) {
        return ReadFilePrefix(p, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }
};

TEST_F(FilesFixture, FoldersFollowTheExecutableAndTheEnvironment) {
    const ProgramFolders withEnv = MakeProgramFolders("/opt/orvo/ZorvantaOrvo", "/home/u/orvo");
    EXPECT_EQ(withEnv.programFolder, "/opt/orvo");
    EXPECT_EQ(withEnv.imageFolder, "/opt/orvo/png");
    EXPECT_EQ(withEnv.versionFile(), "/opt/orvo/VER.bin");
    EXPECT_EQ(withEnv.keymapFile(), "/home/u/orvo/keymap.bin");
    EXPECT_EQ(withEnv.profileFolder(), "/home/u/orvo/Configure");
    // Outside a build tree the data goes to the user's own folder, never beside the program.
    for (const auto& unset : {std::optional<std::string>{}, std::optional<std::string>{""}})
        EXPECT_EQ(MakeProgramFolders("/opt/orvo/ZorvantaOrvo", unset).dataFolder.filename(),
                  "zorvanta-orvo");
}

TEST_F(FilesFixture, MissingFilesAreCreatedInAMissingDataFolder) {
    state->image.byte(field::gameMode) = 1;
    const LoadResult keymap = LoadKeymapFile(*state, false);
    EXPECT_TRUE(keymap.ok && keymap.created) << keymap.error;
    const auto bytes = Read(state->folders.keymapFile());
    ASSERT_EQ(bytes.size(), kProfileFileSize);
    EXPECT_EQ(bytes[field::gameMode.offset], 1); // written from the current image
    EXPECT_EQ(state->keyActions[54].keyCode(), 0x0D);

    const LoadResult macros = LoadMacroFile(*state);
    EXPECT_TRUE(macros.ok && macros.created);
    EXPECT_EQ(Read(state->folders.macroFile()), std::vector<std::uint8_t>(kMacroStoreSize, 0));
    EXPECT_EQ(state->macros.leadingMacroCount(), 0u);
}

TEST_F(FilesFixture, ProfileAndKeymapAreInterchangeableByteForByte) {
    const auto original = Random(kProfileFileSize, 1);
    const fs::path profile = dir / "perfil.bin";
    Write(profile, original);
    SettingsImage image;
    KeyActionTable table;
    ASSERT_TRUE(ReadProfileFile(profile, &image, table));
    ASSERT_TRUE(SaveKeymapFile(state->folders.dataFolder, image, table));
    auto expected = original;
    // Loading re-seeds byte 0 of records 0..112; nothing else changes.
    for (std::size_t k = 0; k < kMainKeyCount; ++k)
        expected[kSettingsImageSize + k * kKeyActionRecordSize] = DefaultCodeOf(k);
    EXPECT_EQ(Read(state->folders.keymapFile()), expected);

    ASSERT_TRUE(LoadKeymapFile(*state, false));
    EXPECT_EQ(state->image, image);
    EXPECT_EQ(state->keyActions, table);
    ASSERT_TRUE(WriteProfileFile(profile, state->image, state->keyActions));
    EXPECT_EQ(Read(profile), expected);
}

TEST_F(FilesFixture, KeepImageReadsOnlyTheTable) {
    fs::create_directories(state->folders.dataFolder);
    Write(state->folders.keymapFile(), Random(kProfileFileSize, 2));
    state->image.byte(field::lightingEffect) = 3;
    const SettingsImage before = state->image;
    ASSERT_TRUE(LoadKeymapFile(*state, true));
    EXPECT_EQ(state->image, before);
    EXPECT_NE(state->keyActions[120].bytes, KeyActionRecord{}.bytes);
}

TEST_F(FilesFixture, ShortFilesLeaveNoOlderBytesBehind) {
    fs::create_directories(state->folders.dataFolder);
    Write(state->folders.keymapFile(), Random(kProfileFileSize, 3));
    ASSERT_TRUE(LoadKeymapFile(*state, false));
    struct Row {
        std::size_t size;
    };
    for (const Row r :
         {Row{0}, Row{100}, Row{kSettingsImageSize}, Row{kSettingsImageSize + 1000}}) {
        const auto part = Random(r.size, 4);
        Write(state->folders.keymapFile(), part);
        const LoadResult loaded = LoadKeymapFile(*state, false);
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.bytesRead, r.size);
        const auto now = SerialiseProfile(state->image, state->keyActions);
        std::vector<std::uint8_t> expected(kProfileFileSize, 0);
        std::copy(part.begin(), part.end(), expected.begin());
        for (std::size_t k = 0; k < kMainKeyCount; ++k)
            expected[kSettingsImageSize + k * kKeyActionRecordSize] = DefaultCodeOf(k);
        EXPECT_EQ(now, expected) << r.size;
    }
    Write(state->folders.macroFile(), Random(kMacroStoreSize, 5));
    ASSERT_TRUE(LoadMacroFile(*state));
    Write(state->folders.macroFile(), Random(10, 6));
    ASSERT_TRUE(LoadMacroFile(*state));
    const auto macros = state->macros.serialise();
    EXPECT_TRUE(std::all_of(macros.begin() + 10, macros.end(), [](auto b) { return b == 0; }));
}

TEST_F(FilesFixture, AnUnreadableFileIsNeitherLoadedNorOverwritten) {
    // A folder where the file should be: the load fails and creates nothing over it.
    fs::create_directories(state->folders.keymapFile() / "inside");
    fs::create_directories(state->folders.macroFile() / "inside");
    state->keyActions[3].setKind(AssignmentKind::RunProgram);
    state->macros[0].setName(u"kept");
    EXPECT_FALSE(LoadKeymapFile(*state, false).ok);
    EXPECT_FALSE(LoadMacroFile(*state).ok);
    EXPECT_EQ(state->keyActions[3].kind(), 5);
    EXPECT_EQ(state->macros[0].name(), u"kept");
    EXPECT_TRUE(fs::is_directory(state->folders.keymapFile() / "inside"));
    // Saving over it fails and says so.
    const FileResult saved = SaveKeymapFile(*state);
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_TRUE(fs::is_directory(state->folders.keymapFile() / "inside"));
}

TEST_F(FilesFixture, AFailedWriteKeepsTheOldFileWhole) {
    ASSERT_TRUE(LoadKeymapFile(*state, false));
    ASSERT_TRUE(LoadMacroFile(*state));
    const auto oldKeymap = Read(state->folders.keymapFile());
    const auto oldMacros = Read(state->folders.macroFile());

    // A file-size limit makes every larger write fail, even for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    state->image.bytes.fill(0x55);
    state->macros[0].setName(u"new");
    const FileResult keymap = SaveKeymapFile(*state);
    const FileResult snapshot = SaveKeymapSnapshotFile(*state);
    const FileResult macros = SaveMacroFile(*state);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);

    EXPECT_FALSE(keymap.ok);
    EXPECT_FALSE(snapshot.ok);
    EXPECT_FALSE(macros.ok);
    EXPECT_EQ(Read(state->folders.keymapFile()), oldKeymap);
    EXPECT_EQ(Read(state->folders.macroFile()), oldMacros);
    // No temporary file is left behind.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(state->folders.dataFolder), fs::directory_iterator{}),
        2);
}

TEST_F(FilesFixture, SnapshotsCommitRevertAndSave) {
    state->image.byte(field::reportRate) = 3;
    state->keyActions[7].setPath(u"/usr/bin/true");
    CommitSnapshot(*state);
    state->image.byte(field::reportRate) = 1;
    state->keyActions[7].setPath(u"/tmp/other");
    ASSERT_TRUE(SaveKeymapSnapshotFile(*state));
    SettingsImage image;
    KeyActionTable table;
    ASSERT_TRUE(ReadProfileFile(state->folders.keymapFile(), &image, table));
    EXPECT_EQ(image.byte(field::reportRate), 3);
    EXPECT_EQ(table[7].path(), u"/usr/bin/true");
    RevertToSnapshot(*state);
    EXPECT_EQ(state->image.byte(field::reportRate), 3);
    EXPECT_EQ(state->keyActions[7].path(), u"/usr/bin/true");
}

TEST_F(FilesFixture, VersionFileOffersTheDigitsAtBytes5And7) {
    struct Row {
        std::string content;
        OfferedVersion offered;
    };
    const Row rows[] = {
        {"VER: 1.3   ", {1, 3}},
        {"xxxxx2x7xxxx", {2, 7}},
        {"short", {0, 0}},
        {"VER: A.B   ", {0, 0}},
        {"", {0, 0}},
    };
    fs::create_directories(state->folders.programFolder);
    for (const Row& r : rows) {
        std::ofstream(state->folders.versionFile(), std::ios::binary) << r.content;
        ReadVersionFile(*state);
        EXPECT_EQ(state->offeredFirmware, r.offered) << r.content;
    }
    fs::remove(state->folders.versionFile());
    state->offeredFirmware = {9, 9};
    ReadVersionFile(*state);
    EXPECT_EQ(state->offeredFirmware, OfferedVersion{});
}

TEST_F(FilesFixture, LoadingSaysWhetherTheFileLoadedWasCreatedOrCouldNotBeRead) {
    enum class Kind { Missing, Regular, Fifo, Folder };
    struct Row {
        Kind kind;
        LoadOutcome outcome;
    };
    const Row rows[] = {{Kind::Missing, LoadOutcome::Created},
                        {Kind::Regular, LoadOutcome::Loaded},
                        {Kind::Fifo, LoadOutcome::Unreadable},
                        {Kind::Folder, LoadOutcome::Unreadable}};
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.kind));
        fs::remove_all(state->folders.dataFolder);
        fs::create_directories(state->folders.dataFolder);
        for (const fs::path& file : {state->folders.keymapFile(), state->folders.macroFile()}) {
            if (row.kind == Kind::Regular)
                Write(file, Random(1000, 7));
            else if (row.kind == Kind::Fifo)
                ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
            else if (row.kind == Kind::Folder)
                fs::create_directories(file);
        }
        const bool unreadable = row.outcome == LoadOutcome::Unreadable;
        EXPECT_EQ(LoadKeymapFile(*state, false).outcome, row.outcome);
        EXPECT_EQ(LoadMacroFile(*state).outcome, row.outcome);
        EXPECT_EQ(state->keymapWriteBlocked, unreadable);
        EXPECT_EQ(state->macroFileWriteBlocked, unreadable);

        // What could not be read may hold the user's data: no write replaces it.
        for (const FileResult& r :
             {SaveKeymapFile(*state), SaveKeymapSnapshotFile(*state), SaveMacroFile(*state)}) {
            EXPECT_EQ(r.ok, !unreadable);
            if (unreadable) {
                EXPECT_NE(r.error.find("not written over"), std::string::npos) << r.error;
            }
        }
        EXPECT_EQ(fs::is_fifo(state->folders.keymapFile()), row.kind == Kind::Fifo);
        EXPECT_EQ(fs::is_fifo(state->folders.macroFile()), row.kind == Kind::Fifo);
    }
    // Once the file reads again (the key picture reloads it), it may be written again.
    fs::remove_all(state->folders.keymapFile());
    Write(state->folders.keymapFile(), Random(kProfileFileSize, 8));
    EXPECT_EQ(LoadKeymapFile(*state, true).outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(SaveKeymapFile(*state));
}

TEST_F(FilesFixture, AFifoInPlaceOfVerBinDoesNotStopTheStart) {
    fs::create_directories(state->folders.programFolder);
    ASSERT_EQ(::mkfifo(state->folders.versionFile().c_str(), 0600), 0);
    state->offeredFirmware = {9, 9};
    auto read = std::async(std::launch::async, [&] { ReadVersionFile(*state); });
    if (read.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ::close(::open(state->folders.versionFile().c_str(), O_WRONLY | O_NONBLOCK));
        FAIL() << "reading VER.bin blocked";
    }
    EXPECT_EQ(state->offeredFirmware, OfferedVersion{});
}

TEST_F(FilesFixture, AnOversizedFileIsCopiedAsideBeforeItIsFirstWrittenOver) {
    std::vector<std::string> warnings;
    const LogSink old = SetLogSink([&](LogLevel level, std::string_view line) {
        if (level == LogLevel::Warning)
            warnings.emplace_back(line);
    });
    fs::create_directories(state->folders.dataFolder);
    const auto original = Random(kProfileFileSize + 5000, 9);
    Write(state->folders.keymapFile(), original);
    const LoadResult loaded = LoadKeymapFile(*state, false);
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.bytesRead, kProfileFileSize);
    EXPECT_EQ(loaded.fileSize, kProfileFileSize + 5000);
    ASSERT_FALSE(warnings.empty());
    EXPECT_NE(warnings[0].find("211928 bytes"), std::string::npos) << warnings[0];

    const fs::path orig = state->folders.dataFolder / "keymap.bin.orig";
    ASSERT_TRUE(SaveKeymapFile(*state));
    EXPECT_EQ(Read(orig), original);
    EXPECT_EQ(Read(state->folders.keymapFile()).size(), kProfileFileSize);
    ASSERT_TRUE(SaveKeymapFile(*state)); // no second copy of a file of the right size
    EXPECT_FALSE(fs::exists(orig.string() + "1"));

    // A second oversized file gets the next name; the first copy stays.
    Write(state->folders.keymapFile(), Random(kProfileFileSize + 1, 10));
    ASSERT_TRUE(SaveKeymapFile(*state));
    EXPECT_EQ(Read(orig), original);
    EXPECT_EQ(Read(orig.string() + "1").size(), kProfileFileSize + 1);

    // When the copy cannot be made, the original is not written over.
    Write(state->folders.keymapFile(), original);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = kProfileFileSize + 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult refused = SaveKeymapFile(*state);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    SetLogSink(old);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(Read(state->folders.keymapFile()), original);
    EXPECT_FALSE(fs::exists(orig.string() + "2"));
}

TEST_F(FilesFixture, TheStartUpSweepTakesTheDataFilesTemporaries) {
    fs::create_directories(state->folders.profileFolder());
    const fs::path data = state->folders.dataFolder;
    const fs::path profiles = state->folders.profileFolder();
    for (const fs::path& p :
         {data / "keymap.bin.tmp123456", data / "MacroDefine.bin.tmpa1B2c3",
          profiles / "Juego 2.bin.tmp77", data / "notes.tmp123456", profiles / "notes.txt.tmp1",
          profiles / ".bin.tmp123456", profiles / "Juego 2.bin"})
        Write(p, Random(10, 11));
    EXPECT_EQ(SweepDataFolder(state->folders), 3u);
    for (const fs::path& kept : {data / "notes.tmp123456", profiles / "notes.txt.tmp1",
                                 profiles / ".bin.tmp123456", profiles / "Juego 2.bin"})
        EXPECT_TRUE(fs::exists(kept)) << kept;
}

TEST(KeyActionRecord, PathIsUtf16AndAlwaysTerminated) {
    KeyActionRecord r;
    r.setPath(u"C:\\Música\\a.mp3");
    EXPECT_EQ(r.bytes[record::path], u'C');
    EXPECT_EQ(r.bytes[record::path + 2 * 3 + 1], 0x00);
    EXPECT_EQ(r.path(), u"C:\\Música\\a.mp3");
    EXPECT_EQ(ToUtf8(r.path()), "C:\\M\xC3\xBAsica\\a.mp3");
    r.setPath(std::u16string(300, u'x'));
    EXPECT_EQ(r.path().size(), 255u);
    EXPECT_EQ(r.bytes[kKeyActionRecordSize - 1], 0);
    EXPECT_EQ(r.bytes[kKeyActionRecordSize - 2], 0);
    // A path of 256 units without NUL (a foreign file) still reads within the record.
    std::fill(r.bytes.begin() + record::path, r.bytes.end(), 0x41);
    EXPECT_EQ(r.path().size(), 255u);
}

TEST(KeyActionTable, FindsTheFirstHostSideRecordForAKey) {
    KeyActionTable t;
    t.clear();
    t[5].setKind(AssignmentKind::Macro);
    t[9].setKeyCode(DefaultCodeOf(5));
    t[9].setKind(AssignmentKind::OpenFolder);
    t[10].setKeyCode(DefaultCodeOf(5));
    t[10].setKind(AssignmentKind::RunProgram);
    ASSERT_NE(t.findHostAction(DefaultCodeOf(5)), nullptr);
    EXPECT_EQ(t.findHostAction(DefaultCodeOf(5)), &t[9]);
    EXPECT_EQ(t.findHostAction(0x41), nullptr);
}

} // namespace
} // namespace orvo

// The folder rules: which folder an installed, a build-tree and a lone executable read from
// and write to, and how the data folder is created.

#include "model/program_folders.h"

#include "model/install_layout.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct FolderRules : ::testing::Test {
    fs::path dir;

    void SetUp() override { dir = FreshTestFolder("orvo_folders"); }
    void TearDown() override { fs::remove_all(dir); }

    static fs::perms Mode(const fs::path& p) {
        return fs::status(p).permissions() & fs::perms::mask;
    }
};

TEST_F(FolderRules, EachLayoutFindsItsProgramAndDataFolders) {
    enum class Layout { Installed, BuildTree, BuildTreeBesideShare, Lone };
    struct Row {
        const char* what;
        Layout layout;
        FolderEnvironment env;
        const char* programFolder; // relative to the temporary folder
        std::string dataFolder;    // relative when it does not start with '/'
    };
    const std::string user = "/home/ana";
    const Row rows[] = {
        {"installed, XDG_DATA_HOME",
         Layout::Installed,
         {{}, "/srv/xdg", {}, user},
         "prefix/share/zorvanta-orvo",
         "/srv/xdg/zorvanta-orvo"},
        {"installed, default",
         Layout::Installed,
         {{}, {}, {}, user},
         "prefix/share/zorvanta-orvo",
         "/home/ana/.local/share/zorvanta-orvo"},
        {"installed, empty XDG_DATA_HOME",
         Layout::Installed,
         {{}, "", {}, user},
         "prefix/share/zorvanta-orvo",
         "/home/ana/.local/share/zorvanta-orvo"},
        {"installed, relative XDG_DATA_HOME is ignored",
         Layout::Installed,
         {{}, "xdg", {}, user},
         "prefix/share/zorvanta-orvo",
         "/home/ana/.local/share/zorvanta-orvo"},
        {"installed, ZORVANTA_DATA_DIR",
         Layout::Installed,
         {"/srv/orvo", "/srv/xdg", {}, user},
         "prefix/share/zorvanta-orvo",
         "/srv/orvo"},
        {"installed, no home at all",
         Layout::Installed,
         {},
         "prefix/share/zorvanta-orvo",
         "prefix/bin"},
        {"build tree", Layout::BuildTree, {{}, "/srv/xdg", {}, user}, "prefix/bin", "prefix/bin"},
        {"build tree, ZORVANTA_DATA_DIR",
         Layout::BuildTree,
         {"/srv/orvo", {}, {}, user},
         "prefix/bin",
         "/srv/orvo"},
        {"build tree beside a share folder",
         Layout::BuildTreeBesideShare,
         {{}, {}, {}, user},
         "prefix/bin",
         "prefix/bin"},
        {"lone executable",
         Layout::Lone,
         {{}, {}, {}, user},
         "prefix/bin",
         "/home/ana/.local/share/zorvanta-orvo"},
    };
    for (const Row& r : rows) {
        fs::remove_all(dir / "prefix");
        fs::create_directories(dir / "prefix/bin");
        if (r.layout == Layout::Installed || r.layout == Layout::BuildTreeBesideShare)
            fs::create_directories(dir / "prefix/share/zorvanta-orvo");
        if (r.layout == Layout::BuildTree || r.layout == Layout::BuildTreeBesideShare)
            std::ofstream(dir / "prefix/bin" / kBuildTreeMarker) << "build\n";

        const ProgramFolders f = LocateProgramFolders(dir / "prefix/bin/ZorvantaOrvo", r.env);
        const fs::path data =
            r.dataFolder.starts_with('/') ? fs::path(r.dataFolder) : dir / r.dataFolder;
        EXPECT_EQ(f.programFolder, dir / r.programFolder) << r.what;
        EXPECT_EQ(f.imageFolder, dir / r.programFolder / "png") << r.what;
        EXPECT_EQ(f.versionFile(), dir / r.programFolder / "VER.bin") << r.what;
        EXPECT_EQ(f.dataFolder, data) << r.what;
        EXPECT_EQ(f.keymapFile(), data / "keymap.bin") << r.what;
        EXPECT_EQ(f.macroFile(), data / "MacroDefine.bin") << r.what;
        EXPECT_EQ(f.profileFolder(), data / "Configure") << r.what;
    }
}

TEST_F(FolderRules, AMissingDataFolderIsCreatedPrivateWithItsProfileFolder) {
    fs::create_directories(dir / "home");
    fs::permissions(dir / "home", fs::perms(0755));
    ProgramFolders f;
    f.dataFolder = dir / "home/.local/share/zorvanta-orvo";
    const mode_t oldMask = ::umask(022);
    const FileResult made = EnsureDataFolder(f);
    const FileResult again = EnsureDataFolder(f);
    ::umask(oldMask);

    ASSERT_TRUE(made) << made.error;
    EXPECT_TRUE(again) << again.error;
    for (const fs::path& created :
         {dir / "home/.local", dir / "home/.local/share", f.dataFolder, f.profileFolder()})
        EXPECT_EQ(Mode(created), fs::perms::owner_all) << created;
    EXPECT_EQ(Mode(dir / "home"), fs::perms(0755)); // existing folders keep their mode
}

TEST_F(FolderRules, ADataFolderThatCannotBeCreatedIsReported) {
    std::ofstream(dir / "taken") << "a file, not a folder";
    for (const fs::path& data : {dir / "taken", dir / "taken/below"}) {
        ProgramFolders f;
        f.dataFolder = data;
        const FileResult made = EnsureDataFolder(f);
        EXPECT_FALSE(made) << data;
        EXPECT_NE(made.error.find((dir / "taken").string()), std::string::npos) << made.error;
    }
}

} // namespace
} // namespace orvo

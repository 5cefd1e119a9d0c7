// The autostart entry behind "Iniciar con el sistema": where it lives, what it runs, and that
// switching it on and off leaves nothing behind.

#include "model/autostart.h"

#include "model/install_layout.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct Autostart : ::testing::Test {
    fs::path dir;
    fs::path file;

    void SetUp() override {
        dir = FreshTestFolder("orvo_autostart");
        file = dir / "config/autostart/entry.desktop";
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Text(const fs::path& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::string ExecLine(const std::string& entry) {
        const std::size_t at = entry.find("\nExec=");
        if (at == std::string::npos)
            return {};
        return entry.substr(at + 1, entry.find('\n', at + 1) - at - 1);
    }
};

TEST_F(Autostart, TheEntryLivesInTheUsersAutostartFolder) {
    const std::string name = std::string(kDesktopId) + ".desktop";
    struct Row {
        FolderEnvironment env;
        std::optional<fs::path> expected;
    };
    const Row rows[] = {
        {{{}, {}, "/srv/config", "/home/ana"}, fs::path("/srv/config/autostart") / name},
        {{{}, {}, {}, "/home/ana"}, fs::path("/home/ana/.config/autostart") / name},
        {{{}, {}, "relative", "/home/ana"}, fs::path("/home/ana/.config/autostart") / name},
        {{{}, {}, {}, {}}, std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(AutostartFile(r.env), r.expected) << (r.expected ? r.expected->string() : "none");
}

TEST_F(Autostart, SwitchingOnThenOffLeavesNoFile) {
    EXPECT_FALSE(IsAutostartEnabled(file));
    const FileResult on = SetAutostart(file, "/usr/bin/ZorvantaOrvo", true);
    ASSERT_TRUE(on) << on.error;
    EXPECT_TRUE(IsAutostartEnabled(file));
    EXPECT_EQ(ExecLine(Text(file)), "Exec=/usr/bin/ZorvantaOrvo --hidden");
    EXPECT_EQ(fs::status(file.parent_path()).permissions() & fs::perms::mask, fs::perms::owner_all);
    // The desktop's own checker accepts the entry, where it is installed.
    if (::access("/usr/bin/desktop-file-validate", X_OK) == 0) {
        EXPECT_EQ(std::system(("desktop-file-validate '" + file.string() + "'").c_str()), 0);
    }

    const FileResult off = SetAutostart(file, "/usr/bin/ZorvantaOrvo", false);
    ASSERT_TRUE(off) << off.error;
    EXPECT_FALSE(IsAutostartEnabled(file));
    EXPECT_TRUE(fs::is_empty(file.parent_path())); // no entry and no temporary file
    EXPECT_TRUE(SetAutostart(file, "/usr/bin/ZorvantaOrvo", false)); // already off
}

TEST_F(Autostart, TheExecutablePathIsQuotedForTheDesktop) {
    // Quoting first, then the key file doubles each backslash and the field codes each '%'.
    struct Row {
        const char* executable;
        const char* exec;
    };
    const Row rows[] = {
        {"/usr/bin/ZorvantaOrvo", "Exec=/usr/bin/ZorvantaOrvo --hidden"},
        {"/home/ana/mis programas/ZorvantaOrvo",
         "Exec=\"/home/ana/mis programas/ZorvantaOrvo\" --hidden"},
        {"/opt/a\"b$c`d/ZorvantaOrvo", "Exec=\"/opt/a\\\\\"b\\\\$c\\\\`d/ZorvantaOrvo\" --hidden"},
        {"/opt/back\\slash/ZorvantaOrvo", "Exec=\"/opt/back\\\\\\\\slash/ZorvantaOrvo\" --hidden"},
        {"/opt/100%/ZorvantaOrvo", "Exec=/opt/100%%/ZorvantaOrvo --hidden"},
        {"/opt/o'neil;x/ZorvantaOrvo", "Exec=\"/opt/o'neil;x/ZorvantaOrvo\" --hidden"},
    };
    for (const Row& r : rows) {
        const auto entry = AutostartEntry(r.executable);
        ASSERT_TRUE(entry) << r.executable;
        EXPECT_EQ(ExecLine(*entry), r.exec) << r.executable;
    }
    // A line break cannot be written into an Exec line: nothing is written.
    EXPECT_FALSE(AutostartEntry("/opt/two\nlines/ZorvantaOrvo"));
    EXPECT_FALSE(SetAutostart(file, "/opt/two\nlines/ZorvantaOrvo", true));
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(Autostart, AnEntryTheDesktopWasToldToSkipCountsAsOff) {
    struct Row {
        const char* text;
        bool enabled;
    };
    const Row rows[] = {
        {"[Desktop Entry]\nType=Application\nExec=ZorvantaOrvo --hidden\n", true},
        {"[Desktop Entry]\nExec=ZorvantaOrvo\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=ZorvantaOrvo\nHidden = true\r\n", false},
        {"[Desktop Entry]\nExec=ZorvantaOrvo\nHidden=false\n", true},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nExec=ZorvantaOrvo\n[Desktop Action x]\nHidden=true\n", true},
    };
    fs::create_directories(file.parent_path());
    for (const Row& r : rows) {
        std::ofstream(file) << r.text;
        EXPECT_EQ(IsAutostartEnabled(file), r.enabled) << r.text;
    }
    // Switching on again rewrites a skipped entry as ours.
    ASSERT_TRUE(SetAutostart(file, "/usr/bin/ZorvantaOrvo", true));
    EXPECT_TRUE(IsAutostartEnabled(file));
}

TEST_F(Autostart, TheHiddenArgumentIsRecognisedAnywhereAfterTheProgram) {
    struct Row {
        std::vector<const char*> argv;
        bool hidden;
    };
    const Row rows[] = {
        {{"ZorvantaOrvo"}, false},
        {{"ZorvantaOrvo", "--hidden"}, true},
        {{"ZorvantaOrvo", "-platform", "offscreen", "--hidden"}, true},
        {{"ZorvantaOrvo", "--hiddenx"}, false},
        {{"--hidden"}, false}, // the program's own name
    };
    for (const Row& r : rows)
        EXPECT_EQ(IsHiddenStart(static_cast<int>(r.argv.size()), r.argv.data()), r.hidden)
            << r.argv.size();
}

} // namespace
} // namespace orvo

// orvoctl against the simulated keyboard, run as the built program.

#include "model/settings_image.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace orvo {
namespace {

using test::TempDir;

struct ProgramRun {
    int exitCode = -1;
    std::string out; // stdout
    std::string err; // stderr
};

class OrvoctlTest : public testing::Test {
protected:
    TempDir sim;
    TempDir data;

    ProgramRun Orvoctl(const std::string& args) {
        // The build's bin folder, unless the environment names another.
        const char* bin = std::getenv("ORVO_BIN_DIR");
        if (!bin || !*bin)
            bin = ORVO_DEFAULT_BIN_DIR;
        const std::string command = "ZORVANTA_SIMULATOR='" + sim.path().string() +
                                    "' ZORVANTA_DATA_DIR='" + data.path().string() + "' '" + bin +
                                    "/orvoctl' " + args + " 2>'" +
                                    (data.path() / "stderr.txt").string() + "'";
        ProgramRun run;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return run;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            run.out += buffer;
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(data.path() / "stderr.txt");
        run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return run;
    }

    std::string File(const char* name) const { return (data.path() / name).string(); }

    std::vector<std::string> TraceTail(std::size_t n) const {
        std::ifstream in(sim.path() / kSimulatorTraceFile);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(line.find(' ') + 1)); // drop the time
        if (lines.size() > n)
            lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(n));
        return lines;
    }
};

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TEST_F(OrvoctlTest, ApplyingOnlyANewSpeedSendsThreeReportsAndReadsBack) {
    ASSERT_EQ(Orvoctl("read " + File("a.bin")).exitCode, 0);
    std::vector<std::uint8_t> profile = ReadAll(File("a.bin"));
    ASSERT_EQ(profile.size(), 206928u);
    EXPECT_EQ(profile[field::lightingSpeed.offset], 5);
    profile[field::lightingSpeed.offset] = 3;
    WriteAll(File("b.bin"), profile);

    const ProgramRun apply = Orvoctl("apply " + File("b.bin"));
    EXPECT_EQ(apply.exitCode, 0) << apply.err;
    EXPECT_EQ(apply.out, "sent: palm rest, lighting\n");
    EXPECT_EQ(TraceTail(3), (std::vector<std::string>{"set 00 07 00 32 03 00 ff ff ff",
                                                      "set 00 08 01 01 07 00 01 01 ec",
                                                      "set 00 08 02 01 07 32 01 01 b9"}));

    ASSERT_EQ(Orvoctl("read " + File("c.bin")).exitCode, 0);
    EXPECT_EQ(ReadAll(File("c.bin"))[field::lightingSpeed.offset], 3);
}

TEST_F(OrvoctlTest, ReadKeepsTheHostKeyActionsOfKeymapBin) {
    std::vector<std::uint8_t> keymap(206928, 0);
    keymap[10068] = 0x41;
    keymap[206927] = 0x99;
    WriteAll(File("keymap.bin"), keymap);
    ASSERT_EQ(Orvoctl("read " + File("a.bin")).exitCode, 0);
    const auto profile = ReadAll(File("a.bin"));
    EXPECT_EQ(profile[10068], 0x41);
    EXPECT_EQ(profile[206927], 0x99);
}

TEST_F(OrvoctlTest, ExitCodesSayWhatWentWrong) {
    ASSERT_EQ(Orvoctl("read " + File("a.bin")).exitCode, 0);
    WriteAll(File("short.bin"), std::vector<std::uint8_t>(100, 0));
    struct Row {
        std::string args;
        int exitCode;
        bool unplugged;
    };
    const Row rows[] = {
        {"info", 0, false},
        {"reset", 0, false},
        {"info", 1, true},
        {"read " + File("x.bin"), 1, true},
        {"apply " + File("a.bin"), 1, true},
        {"listen --count 1", 1, true},
        {"read", 2, false},
        {"apply " + File("short.bin"), 2, false},
        {"apply " + File("missing.bin"), 2, false},
        {"listen --count zero", 2, false},
        {"info --bogus", 2, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        if (row.unplugged)
            std::ofstream(sim.path() / kSimulatorUnpluggedFile).put('\n');
        else
            std::filesystem::remove(sim.path() / kSimulatorUnpluggedFile);
        const ProgramRun run = Orvoctl(row.args);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        if (row.exitCode != 0) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
}

TEST_F(OrvoctlTest, TraceOptionPrintsEveryTransfer) {
    const ProgramRun run = Orvoctl("info --trace");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find(" set 00 80 00 00 00 00 00 00 7f\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" get 00 01 02 "), std::string::npos) << run.err;
}

TEST_F(OrvoctlTest, ApplyRefusesAFileWithValuesOutOfRangeAndNamesThem) {
    ASSERT_EQ(Orvoctl("read " + File("a.bin")).exitCode, 0);
    std::vector<std::uint8_t> profile = ReadAll(File("a.bin"));
    profile[0x000B] = 149; // report rate
    profile[0x1D1A] = 78;  // lighting effect
    profile[0x1D34] = 161; // game mode
    WriteAll(File("bad.bin"), profile);
    const std::size_t transfers = TraceTail(100000).size();

    const ProgramRun apply = Orvoctl("apply " + File("bad.bin"));
    EXPECT_EQ(apply.exitCode, 2);
    EXPECT_EQ(apply.err, "orvoctl: " + File("bad.bin") +
                             ": reportRate is 149 (allowed 0..3), gameMode is 161 (allowed 0..1), "
                             "lightingEffect is 78 (allowed a code of the effect list)\n");
    EXPECT_EQ(TraceTail(100000).size(), transfers); // the keyboard heard nothing
}

TEST_F(OrvoctlTest, ReadSweepsWhatAnInterruptedReadLeftBesideItsFile) {
    WriteAll(File("p.bin.tmp123456"), {1, 2, 3});
    ASSERT_EQ(Orvoctl("read " + File("p.bin")).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(File("p.bin.tmp123456")));
    EXPECT_EQ(ReadAll(File("p.bin")).size(), 206928u);
}

} // namespace
} // namespace orvo

// Every orvoctl command run in-process against the simulated keyboard, with pauses recorded:
// what each leaves in the data files, what reaches the keyboard, and when a running program is
// told to re-read.

#include "cli/dispatch.h"
#include "device/device_lock.h"
#include "model/config_files.h"
#include "model/key_tables.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

namespace orvo {
namespace {

using test::TempDir;
using namespace std::chrono_literals;

// A feature report as the keyboard receives it: report ID 0, then the command and its bytes,
// then 0xFF minus their sum.
std::string Report(std::initializer_list<int> bytes) {
    int sum = 0;
    std::string text = "00";
    char hex[4];
    for (const int b : bytes) {
        sum += b;
        std::snprintf(hex, sizeof hex, " %02x", b);
        text += hex;
    }
    for (std::size_t n = bytes.size(); n < 7; ++n)
        text += " 00";
    std::snprintf(hex, sizeof hex, " %02x", (0xFF - sum) & 0xFF);
    return text + hex;
}

class OrvoctlCommandTest : public testing::Test {
public: // the rows' checks read the fixture
    OrvoctlCommandTest() {
        context.openBus = [this] {
            std::string error;
            return OpenSimulatorBus(sim(), error);
        };
        context.pacer = &pacer;
        context.folders.programFolder = dir.path() / "program";
        context.folders.dataFolder = dir.path() / "data";
        context.folders.imageFolder = dir.path() / "program" / "png";
        context.makeLock = [this] {
            return std::make_unique<DeviceLock>(dir.path() / "keyboard.lock", "orvoctl", 200ms);
        };
        context.notifyWindow = [this] { ++notified; };
        context.out = [this](std::string_view text) { out += text; };
        context.err = [this](std::string_view text) { err += text; };
    }

    std::filesystem::path sim() const { return dir.path() / "sim"; }
    std::filesystem::path data(const char* name) const { return dir.path() / "data" / name; }

    int Run(std::vector<std::string_view> words) {
        out.clear();
        err.clear();
        traceBefore = Trace().size();
        return cli::RunOrvoctl(words, context);
    }

    std::vector<std::string> Trace() const {
        std::ifstream in(sim() / kSimulatorTraceFile);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(line.find(' ') + 1)); // without the time
        return lines;
    }
    std::vector<std::string> TraceOfLastRun() const {
        auto lines = Trace();
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(traceBefore));
        return lines;
    }
    bool Sent(const std::string& report) const {
        const auto lines = TraceOfLastRun();
        return std::ranges::find(lines, "set " + report) != lines.end();
    }

    // The configuration the commands left in the data folder.
    ConfigState Saved() const {
        ConfigState c;
        ReadProfileFile(data(kKeymapFileName), &c.image, c.keyActions);
        if (const auto bytes = ReadFilePrefix(data(kMacroFileName), kMacroStoreSize))
            c.macros.parse(*bytes);
        return c;
    }

    TempDir dir;
    RecordingPacer pacer;
    cli::Context context;
    std::string out, err;
    int notified = 0;
    std::size_t traceBefore = 0;
};

TEST_F(OrvoctlCommandTest, EveryCommandChangesWhatItSaysAndSendsIt) {
    const std::string macroText = (dir.path() / "m.txt").string();
    std::ofstream(macroText) << "A  dn\n300 ms\nA  up\n";
    const std::string exported = (dir.path() / "k.json").string();
    const std::string imported = (dir.path() / "k.bin").string();
    const std::string folder = dir.path().string();
    struct Row {
        std::vector<std::string_view> words;
        bool tellsTheWindow;
        std::function<void(OrvoctlCommandTest&, const ConfigState&)> check;
    };
    const std::vector<Row> rows = {
        {{"set", "effect", "modo onda", "--speed", "3"},
         true,
         [](auto& t, const ConfigState& c) {
             EXPECT_EQ(c.image.byte(field::lightingEffect), 3);
             EXPECT_EQ(c.image.byte(field::lightingSpeed), 3);
             EXPECT_EQ(c.image.byte(field::lightingColour), 8); // the wave is multicolour
             // Effect 3, device speed 10 - 3, brightness 50, colour 8, direction 1.
             EXPECT_TRUE(t.Sent(Report({0x08, 0x02, 0x03, 0x07, 0x32, 0x08, 0x01})));
         }},
        {{"set", "slot", "2", "00FF80"},
         true,
         [](auto& t, const ConfigState& c) {
             EXPECT_EQ(c.image.byte(field::colourSlots, 3), 0x00);
             EXPECT_EQ(c.image.byte(field::colourSlots, 4), 0xFF);
             EXPECT_EQ(c.image.byte(field::colourSlots, 5), 0x80);
             EXPECT_TRUE(t.Sent(Report({0x14, 0x00, 0x01, 0x00, 0xFF, 0x80, 0x00})));
         }},
        {{"set", "palm", "iluminacion fija", "--brightness", "20", "--speed", "2", "--colour",
          "112233"},
         true,
         [](auto&, const ConfigState& c) {
             const auto p = c.image[field::palmRest];
             EXPECT_EQ(std::vector<int>(p.begin() + 1, p.end()),
                       (std::vector<int>{0, 20, 2, 0, 0x11, 0x22, 0x33}));
         }},
        {{"set", "response-time", "4"},
         true,
         [](auto& t, const ConfigState& c) {
             EXPECT_EQ(c.image.byte(field::responseTime), 4);
             EXPECT_TRUE(t.Sent(Report({0x04, 0x05}))); // sent as its value + 1
         }},
        {{"set", "win-lock", "on"},
         true,
         [](auto&, const ConfigState& c) {
             EXPECT_EQ(c.image.byte(field::winLock), 1);
             EXPECT_EQ(c.image.byte(field::keyEnableMask, 1) & 0x01, 0); // the Win key is off
         }},
        {{"key", "A", "--key", "B"},
         true,
         [](auto&, const ConfigState& c) {
             const auto e = KeyMapEntry(c.image, 8);
             EXPECT_EQ(std::vector<int>(e.begin(), e.end()), (std::vector<int>{0, 0, 0x05, 0}));
             EXPECT_EQ(c.keyActions[63].bytes[2], 0x42);
         }},
        {{"keys"},
         false,
         [](auto& t, const ConfigState&) {
             EXPECT_NE(t.out.find("#63   A              key B\n"), std::string::npos) << t.out;
             EXPECT_EQ(std::ranges::count(t.out, '\n'), 121);
         }},
        {{"colour", "A", "S", "ff0000", "--table", "1"},
         true,
         [](auto&, const ConfigState& c) {
             const auto table = c.image.customLightingTable(0);
             EXPECT_EQ(std::vector<int>(table.begin() + 32, table.begin() + 36),
                       (std::vector<int>{0, 0xFF, 0, 0})); // slot 8
             EXPECT_EQ(table[14 * 4 + 1], 0xFF);           // S, slot 14
         }},
        {{"macro", "new", "Fire"},
         true,
         [](auto& t, const ConfigState& c) {
             EXPECT_TRUE(t.out.starts_with("macro 0: Fire\n")) << t.out;
             EXPECT_EQ(c.macros[0].name(), u"Fire");
         }},
        {{"macro", "import", "Fire", macroText},
         true,
         [](auto&, const ConfigState& c) {
             const auto block = c.image.macroBlock(0);
             EXPECT_EQ(std::vector<int>(block.begin(), block.begin() + 9),
                       (std::vector<int>{0x00, 0x01, 0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C, 0}));
         }},
        {{"macro", "set", "0", "--repeat", "5", "--delay", "on"},
         true,
         [](auto&, const ConfigState& c) {
             EXPECT_EQ(c.macros[0].repeatCount, 5);
             EXPECT_TRUE(c.macros[0].delayOption());
             EXPECT_EQ(c.image.macroBlock(0)[1], 5);
         }},
        {{"macro", "show", "fire"},
         false,
         [](auto& t, const ConfigState&) {
             EXPECT_EQ(t.out, "0  Fire  (repeat 5, delay on, 2 events)\nA  dn\n300 ms\nA  up\n");
         }},
        {{"key", "Z", "--macro", "Fire"},
         true,
         [](auto&, const ConfigState& c) {
             const auto e = KeyMapEntry(c.image, 7);
             EXPECT_EQ(std::vector<int>(e.begin(), e.end()), (std::vector<int>{4, 1, 0, 0}));
         }},
        {{"macro", "rename", "0", "Fuego"},
         true,
         [](auto&, const ConfigState& c) { EXPECT_EQ(c.macros[0].name(), u"Fuego"); }},
        {{"profile", "save", "Juego"},
         false,
         [](auto& t, const ConfigState&) {
             EXPECT_TRUE(std::filesystem::exists(t.data("Configure") / "Juego.bin"));
         }},
        {{"set", "effect", "1", "--no-apply"},
         true,
         [](auto& t, const ConfigState& c) {
             EXPECT_EQ(c.image.byte(field::lightingEffect), 1);
             EXPECT_TRUE(t.TraceOfLastRun().empty()); // the keyboard hears nothing
         }},
        {{"profile", "load", "Juego"},
         true,
         [](auto&, const ConfigState& c) { EXPECT_EQ(c.image.byte(field::lightingEffect), 3); }},
        {{"export", "keymap.bin"}, false, {}},
        {{"import", exported, imported},
         false,
         [](auto& t, const ConfigState&) {
             EXPECT_EQ(ReadFilePrefix(t.data(kKeymapFileName), kProfileFileSize + 1),
                       ReadFilePrefix(std::filesystem::path(t.dir.path() / "k.bin"),
                                      kProfileFileSize + 1));
         }},
        {{"macro", "new", "Dos"}, true, {}},
        {{"key", "X", "--macro", "Dos"}, true, {}},
        // "Dos" moves up into the freed slot; X follows it, Z no longer plays a macro.
        {{"macro", "delete", "0"},
         true,
         [](auto&, const ConfigState& c) {
             EXPECT_EQ(c.macros[0].name(), u"Dos");
             EXPECT_TRUE(c.macros[1].isFree());
             std::vector<std::vector<int>> macroEntries;
             for (std::size_t slot = 0; slot < field::keyMap.size / kKeyMapEntrySize; ++slot) {
                 const auto e = KeyMapEntry(c.image, slot);
                 if (e[0] == 4)
                     macroEntries.emplace_back(e.begin(), e.end());
             }
             EXPECT_EQ(macroEntries, (std::vector<std::vector<int>>{{4, 1, 0, 0}}));
             EXPECT_NE(KeyMapEntry(c.image, 7)[0], 4);
         }},
        {{"reset"},
         true,
         [](auto&, const ConfigState& c) {
             EXPECT_EQ(c.image.byte(field::lightingEffect), 1);
             EXPECT_EQ(c.keyActions[63].kind(), 0);
             EXPECT_EQ(KeyMapEntry(c.image, 8)[2], 0x04);
         }},
    };
    for (const Row& row : rows) {
        std::string words;
        for (const std::string_view w : row.words)
            words += std::string(w) + " ";
        SCOPED_TRACE(words);
        std::vector<std::string_view> args = row.words;
        const std::string keymap = data(kKeymapFileName).string();
        if (args[0] == "export")
            args[1] = keymap;
        const int before = notified;
        ASSERT_EQ(Run(args), 0) << err;
        EXPECT_EQ(err, "");
        EXPECT_EQ(notified, before + (row.tellsTheWindow ? 1 : 0));
        if (args[0] == "export")
            std::ofstream(exported) << out;
        if (row.check)
            row.check(*this, Saved());
    }
}

TEST_F(OrvoctlCommandTest, WordsThatDoNotFitAreRefusedBeforeAnythingChanges) {
    ASSERT_EQ(Run({"set", "effect", "2"}), 0) << err;
    const auto keymap = ReadFilePrefix(data(kKeymapFileName), kProfileFileSize);
    // A profile with a report rate no control makes, to be imported over the configuration.
    const std::string keymapPath = data(kKeymapFileName).string();
    ASSERT_EQ(Run({"export", keymapPath}), 0) << err;
    const std::string badJson = (dir.path() / "bad.json").string();
    std::ofstream(badJson) << std::regex_replace(out, std::regex("\"reportRate\": [0-9]+"),
                                                 "\"reportRate\": 149");
    const std::vector<std::vector<std::string_view>> rows = {
        {"set", "effect", "nope"},
        {"set", "effect", "Iluminación fija", "--colour", "multi"}, // effect 1 takes no multicolour
        {"set", "effect", "1", "--speed", "5"},                     // effect 1 has no speed
        {"set", "slot", "8", "FF0000"},
        {"set", "palm", "modo onda", "--colour", "FF0000"}, // its colour cannot be chosen
        {"set", "report-rate", "4"},
        {"key", "A"},
        {"key", "A", "--key", "B", "--reset"},
        {"key", "Media", "--key", "B"}, // the media keys keep their function
        {"key", "A", "--function", "Multimedia"},
        {"key", "A", "--play", "missing.mp3"},
        {"key", "A", "--macro", "3"},
        {"colour", "#113", "FF0000", "--table", "1"}, // no light of its own
        {"macro", "set", "0", "--repeat", "1000"},
        {"profile", "delete", "nobody"},
        {"import", "missing.json", "out.bin"},
        {"import", badJson, keymapPath},
        {"bogus"},
    };
    for (const auto& words : rows) {
        SCOPED_TRACE(std::string(words[0]) + " " + std::string(words.size() > 1 ? words[1] : ""));
        EXPECT_EQ(Run(words), 2);
        EXPECT_EQ(std::ranges::count(err, '\n'), 1) << err;
        EXPECT_TRUE(TraceOfLastRun().empty());
        EXPECT_EQ(ReadFilePrefix(data(kKeymapFileName), kProfileFileSize), keymap);
    }
}

TEST_F(OrvoctlCommandTest, ABusyKeyboardEndsTheCommandNamingTheProgramThatHoldsIt) {
    ASSERT_EQ(Run({"set", "effect", "2"}), 0) << err;
    DeviceLock window(dir.path() / "keyboard.lock", "ZorvantaOrvo");
    ASSERT_TRUE(window.Acquire());
    EXPECT_EQ(Run({"set", "effect", "3"}), 3);
    EXPECT_NE(err.find("in use by ZorvantaOrvo (pid "), std::string::npos) << err;
    EXPECT_EQ(std::ranges::count(err, '\n'), 1) << err;
    EXPECT_TRUE(TraceOfLastRun().empty());
    EXPECT_EQ(Saved().image.byte(field::lightingEffect), 3); // kept for the next apply

    window.Release();
    EXPECT_EQ(Run({"set", "effect", "3"}), 0) << err;
    EXPECT_TRUE(Sent(Report({0x08, 0x02, 0x03, 0x05, 0x32, 0x08, 0x01})));
}

} // namespace
} // namespace orvo

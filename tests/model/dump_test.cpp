#include "cli/dump_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "cli/commands.h"
#include "model/config_files.h"
#include "model/key_tables.h"
#include "model/macro_model.h"
#include "test_folder.h"

namespace orvo::cli {
namespace {

namespace fs = std::filesystem;

struct DumpFixture : ::testing::Test {
    fs::path dir;
    void SetUp() override { dir = FreshTestFolder("orvo_dump"); }
    void TearDown() override { fs::remove_all(dir); }
    fs::path Write(const char* name, std::span<const std::uint8_t> bytes) {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    fs::path ExampleMacros() {
        auto store = std::make_unique<MacroStore>();
        MacroRecord& m = (*store)[0];
        m.setName(u"Tiro \"doble\"\\\n");
        m.repeatCount = 5;
        m.flags = 1;
        AppendEvent(m.streams(), 0x41, false, 1);
        AppendEvent(m.streams(), 0x41, true, 300);
        (*store)[2].setName(u"behind a gap");
        return Write("MacroDefine.bin", store->serialise());
    }
};

TEST_F(DumpFixture, MacroFileListsEventsAsTheMacroManagerDoes) {
    const DumpOutput text = DumpFile(ExampleMacros(), false);
    EXPECT_EQ(text.exitCode, kExitOk);
    EXPECT_NE(text.out.find("\n      A  dn\n      300 ms\n      A  up\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("repeatCount: 5"), std::string::npos);
    EXPECT_NE(text.out.find("name: Tiro \"doble\"\\\\x0a"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("slot: 2"), std::string::npos);

    const DumpOutput json = DumpFile(ExampleMacros(), true);
    EXPECT_NE(json.out.find(R"("events": [
        "A  dn",
        "300 ms",
        "A  up"
      ])"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(R"("name": "Tiro \"doble\"\\\n")"), std::string::npos);
    EXPECT_NE(json.out.find(R"("delayOption": true)"), std::string::npos);
}

TEST_F(DumpFixture, ProfileShowsSettingsChangedKeysAndHostActions) {
    auto image = std::make_unique<SettingsImage>();
    auto table = std::make_unique<KeyActionTable>();
    table->clear();
    std::copy(FactoryKeyMap.begin(), FactoryKeyMap.end(), (*image)[field::keyMap].begin());
    image->byte(field::lightingEffect) = 3;
    image->byte(field::gameMode) = 1;
    image->byte(field::palmRest, palm::effect) = 3;
    const std::size_t slot = SlotOf(63);
    KeyMapEntry(*image, slot)[0] = 0x0A;
    KeyMapEntry(*image, slot)[2] = 0x41;
    (*table)[63].setKind(AssignmentKind::RunProgram);
    (*table)[63].setPath(u"/usr/bin/xterm");
    const fs::path file = Write("perfil.bin", SerialiseProfile(*image, *table));

    const DumpOutput text = DumpFile(file, false);
    EXPECT_EQ(text.exitCode, kExitOk);
    for (const char* expected :
         {"effect: 3\n", "effectName: Modo onda\n", "gameMode: 1\n",
          "effectName: Modo onda-Plam Rest\n", "  - key: 63\n    defaultKey: A \n",
          "entry: 0a 00 41 00\n", "factoryEntry: 00 00 04 00\n", "path: /usr/bin/xterm\n",
          "kindName: run program\n"})
        EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
    EXPECT_EQ(text.out.find("key: 62\n"), std::string::npos); // unchanged keys are not listed
    EXPECT_EQ(text.out.find("note:"), std::string::npos);
}

TEST_F(DumpFixture, WrongSizesAndMissingFiles) {
    const std::vector<std::uint8_t> shortFile(1000, 0);
    const DumpOutput shortDump = DumpFile(Write("keymap.bin", shortFile), true);
    EXPECT_EQ(shortDump.exitCode, kExitOk);
    EXPECT_NE(shortDump.out.find("\"size\": 1000"), std::string::npos);
    EXPECT_NE(shortDump.out.find("\"note\": \"file holds 1000 bytes"), std::string::npos);

    const DumpOutput shortMacros = DumpFile(Write("MacroDefine.bin", shortFile), false);
    EXPECT_NE(shortMacros.out.find("layout: macros"), std::string::npos);

    const DumpOutput missing = DumpFile(dir / "absent.bin", false);
    EXPECT_EQ(missing.exitCode, kExitUsage);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("no such file"), std::string::npos);
    EXPECT_EQ(DumpFile(dir, false).exitCode, kExitUsage);
}

TEST(DumpWriter, JsonEscapesEveryControlCharacter) {
    EXPECT_EQ(JsonEscape("a\"b\\c\n\t\x01\x1f\xC3\xB1"), "a\\\"b\\\\c\\n\\t\\u0001\\u001f\xC3\xB1");
}

TEST(DumpWriter, ControlsThatBreakOrReorderLinesAreEscapedInBothForms) {
    struct Row {
        const char* in;
        const char* text;
        const char* json;
    };
    const Row rows[] = {
        {"a\x1b[2Jb", "a\\x1b[2Jb", "a\\u001b[2Jb"}, // C0
        {"a\x7f", "a\\x7f", "a\\u007f"},             // DEL
        {"a\xC2\x85"
         "b\xC2\x9B",
         "a\\u0085b\\u009b", "a\\u0085b\\u009b"},                                // C1: NEL, CSI
        {"evil\xE2\x80\xAEgpj.exe", "evil\\u202egpj.exe", "evil\\u202egpj.exe"}, // RLO
        {"\xE2\x80\x8E\xE2\x80\x8F\xD8\x9C", "\\u200e\\u200f\\u061c",
         "\\u200e\\u200f\\u061c"}, // marks
        {"\xE2\x80\xAA\xE2\x80\xAC\xE2\x81\xA6\xE2\x81\xA9", "\\u202a\\u202c\\u2066\\u2069",
         "\\u202a\\u202c\\u2066\\u2069"}, // embeddings, isolates
        {"a\xE2\x80\xA8"
         "b",
         "a\\u2028b", "a\\u2028b"}, // line separator
        {"a\xFF"
         "b\xC3",
         "a\\xffb\\xc3", "a\\ufffdb\\ufffd"}, // not UTF-8
        {"M\xC3\xBAsica \xE2\x82\xAC \xF0\x9F\x8E\xB9",
         "M\xC3\xBAsica \xE2\x82\xAC \xF0\x9F\x8E\xB9",
         "M\xC3\xBAsica \xE2\x82\xAC \xF0\x9F\x8E\xB9"}, // printable text stays
    };
    for (const Row& row : rows) {
        const auto text = MakeTextWriter();
        text->beginObject("");
        text->string("name", row.in);
        text->endObject();
        EXPECT_EQ(text->finish(), std::string("name: ") + row.text + "\n") << row.in;
        EXPECT_EQ(JsonEscape(row.in), row.json) << row.in;
    }
}

} // namespace
} // namespace orvo::cli

// A profile as JSON: any file comes back byte for byte, the export carries what the dump
// shows, and a document at fault is refused with its line and field.

#include "cli/dump_file.h"
#include "cli/json_reader.h"
#include "cli/profile_json.h"
#include "model/config_files.h"
#include "model/key_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace orvo::cli {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A profile as the program leaves one: the factory key map, every key enabled, each record
// carrying its key's own code, effect 1 and the palm rest's usual values.
Bytes UntouchedProfile() {
    SettingsImage image;
    std::ranges::copy(FactoryKeyMap, image[field::keyMap].begin());
    std::ranges::fill(image[field::keyEnableMask], 0xFF);
    image.byte(field::lightingEffect) = 1;
    image.byte(field::lightingDirection) = 1;
    image.byte(field::lightingBrightness) = 50;
    image.byte(field::palmRest, palm::speed) = 3;
    KeyActionTable table;
    table.clear();
    return SerialiseProfile(image, table);
}

// Random files of every kind: some wholly random, the others an untouched profile in which
// some stretches, by chance, got a few random bytes or random bytes throughout.
Bytes RandomProfile(std::mt19937& random, std::size_t i) {
    Bytes file = UntouchedProfile();
    const auto byte = [&] { return static_cast<std::uint8_t>(random()); };
    if (i % 50 == 0) {
        for (std::uint8_t& b : file)
            b = byte();
        return file;
    }
    constexpr std::size_t kStretch = 256;
    for (std::size_t at = 0; at < file.size(); at += kStretch) {
        const std::size_t end = std::min(at + kStretch, file.size());
        switch (random() % 48) {
        case 0: // a few bytes
            for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
                file[at + random() % (end - at)] = byte();
            break;
        case 1: // all of it
            for (std::size_t j = at; j < end; ++j)
                file[j] = byte();
            break;
        default:
            break;
        }
    }
    return file;
}

TEST(ProfileJson, AnyProfileFileComesBackByteForByte) {
    std::mt19937 random(20261208);
    for (std::size_t i = 0; i < 1000; ++i) {
        Bytes file = RandomProfile(random, i);
        if (i % 50 == 7)
            file.resize(kSettingsImageSize); // a profile "Nuevo" made holds the image alone
        const auto json = ExportProfileJson(file);
        ASSERT_TRUE(json) << i;
        const ProfileImport back = ImportProfileJson(*json);
        ASSERT_TRUE(back.ok()) << i << ": line " << back.line << " " << back.field << ": "
                               << back.error;
        ASSERT_EQ(back.bytes, file) << i;
    }
}

// Two JSON values hold the same, wherever they stand.
bool Same(const JsonValue& a, const JsonValue& b) {
    if (a.kind != b.kind || a.text != b.text || a.boolean != b.boolean ||
        a.items.size() != b.items.size() || a.members.size() != b.members.size())
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (!Same(a.items[i], b.items[i]))
            return false;
    }
    for (std::size_t i = 0; i < a.members.size(); ++i) {
        if (a.members[i].key != b.members[i].key || !Same(a.members[i].value, b.members[i].value))
            return false;
    }
    return true;
}

TEST(ProfileJson, TheExportCarriesTheDumpAndLeavesOutWhatIsUntouched) {
    Bytes file = UntouchedProfile();
    file[field::lightingEffect.offset] = 3;
    file[field::keyMap.offset + 4 * 8 + 2] = 0x05; // A sends B
    const auto json = ExportProfileJson(file);
    ASSERT_TRUE(json);
    const auto dump = MakeJsonWriter();
    dump->beginObject("");
    DescribeProfile(file, file.size(), *dump);
    dump->endObject();
    const JsonParse exported = ParseJson(*json);
    const JsonParse dumped = ParseJson(dump->finish());
    ASSERT_TRUE(exported.value && dumped.value);
    for (const auto& [key, value] : dumped.value->members) {
        if (key == "layout" || key == "size" || key == "hostActions")
            continue; // the file's own description; host actions are among the key actions
        const JsonValue* same = exported.value->find(key);
        ASSERT_NE(same, nullptr) << key;
        EXPECT_TRUE(Same(*same, value)) << key;
    }
    for (const char* empty : {"\"otherKeyMapEntries\": []", "\"macroBlocks\": []",
                              "\"customLighting\": []", "\"reserved\": []", "\"keyActions\": []"})
        EXPECT_NE(json->find(empty), std::string::npos) << empty;
    EXPECT_NE(json->find("\"entry\": \"00 00 05 00\""), std::string::npos);
}

// The 1-based line of the first occurrence of `text`.
std::size_t LineOf(const std::string& document, const std::string& text) {
    const std::size_t at = document.find(text);
    return at == std::string::npos ? 0
                                   : 1 + static_cast<std::size_t>(std::count(
                                             document.begin(), document.begin() + at, '\n'));
}

TEST(ProfileJson, ADocumentAtFaultIsRefusedWithItsLineAndField) {
    Bytes file = UntouchedProfile();
    file[field::keyMap.offset + 4 * 8 + 2] = 0x05;
    KeyActionTable table;
    table.clear();
    table[63].setKind(AssignmentKind::RunProgram);
    table[63].setPath(u"/usr/bin/true");
    table.serialiseInto(std::span(file).subspan<kSettingsImageSize, kKeyActionTableSize>());
    const std::string json = *ExportProfileJson(file);
    struct Row {
        std::string find;
        std::string replace;
        std::string field; // empty: the JSON itself is at fault
    };
    const Row rows[] = {
        {"\"brightness\": 50", "\"brightness\": 256", "lighting.brightness"},
        {"\"brightness\": 50", "\"brightness\": \"50\"", "lighting.brightness"},
        {"\"brightness\": 50", "\"brightness\": 5.0", "lighting.brightness"},
        {"\"direction\": 1,", "\"direction\": 1,,", ""},
        {"\"winLock\": 0,", "\"winLock\": 0, \"winLock\": 1,", ""},
        {"\"gameMode\"", "\"gameMod\"", "gameMod"},
        {"\"formatVersion\": 1", "\"formatVersion\": 2", "formatVersion"},
        {"\"keyEnableMask\": \"ff", "\"keyEnableMask\": \"zz", "keyEnableMask"},
        {"\"entry\": \"00 00 05 00\"", "\"entry\": \"00 00 05\"", "remappedKeys[0].entry"},
        {"\"key\": 63", "\"key\": 121", "remappedKeys[0].key"},
        {"\"path\": \"/usr/bin/true\"", "\"path\": \"\\ud800\"", ""},
        {"\"record\": 63", "\"record\": 255", "keyActions[0].record"},
        {"\"#000000\"", "\"#00000\"", "lighting.colourSlots[0]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.replace);
        std::string broken = json;
        const std::size_t at = broken.find(row.find);
        ASSERT_NE(at, std::string::npos);
        broken.replace(at, row.find.size(), row.replace);
        const ProfileImport r = ImportProfileJson(broken);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.line, LineOf(json, row.find)) << r.error;
        EXPECT_EQ(r.field, row.field) << r.error;
        EXPECT_TRUE(r.bytes.empty());
    }
    const std::string cut = json.substr(0, json.size() - 10);
    EXPECT_EQ(ImportProfileJson(cut).line,
              1 + static_cast<std::size_t>(std::ranges::count(cut, '\n')));
    EXPECT_EQ(ImportProfileJson("[]").field, "");
    EXPECT_FALSE(ImportProfileJson(std::string(100, '[')).ok());
}

} // namespace
} // namespace orvo::cli

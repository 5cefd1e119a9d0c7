// A key assignment made by a script goes through the dialog's steps and leaves the key-map
// entry and the action record the dialog would.

#include "model/key_script.h"
#include "model/key_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace orvo {
namespace {

constexpr std::size_t kKeyA = 63; // slot 8, own code 0x41, device code 0x04
constexpr std::size_t kSlotA = 8;

ConfigState FactoryConfig() {
    ConfigState c;
    std::ranges::copy(FactoryKeyMap, c.image[field::keyMap].begin());
    std::ranges::fill(c.image[field::keyEnableMask], 0xFF);
    c.keyActions.clear();
    c.macros[0].setName(u"Macro_001");
    return c;
}

KeyChoice Choice(KeyChoiceKind kind) {
    KeyChoice c;
    c.kind = kind;
    return c;
}

// Runs the choice and stores it as the session does after the dialog's OK.
KeyScriptResult Assign(ConfigState& config, std::size_t key, const KeyChoice& choice) {
    KeyScriptResult r = ScriptKeyAssignment(config, key, choice);
    if (r.ok()) {
        config.keyActions[key] = r.record;
        ApplyKeyAssignment(config, r.state);
    }
    return r;
}

std::array<int, 4> Entry(const ConfigState& c, std::size_t slot) {
    const auto e = KeyMapEntry(c.image, slot);
    return {e[0], e[1], e[2], e[3]};
}

TEST(KeyScript, EachChoiceWritesTheDialogsEntryAndRecord) {
    KeyChoice key = Choice(KeyChoiceKind::Key);
    key.keys = {0x42}; // B
    KeyChoice own = Choice(KeyChoiceKind::Key);
    own.keys = {0x41}; // A on A: its own function, no assignment
    KeyChoice combo = Choice(KeyChoiceKind::Combination);
    combo.keys = {0xA2, 0x43}; // LCtrl + C
    KeyChoice macro = Choice(KeyChoiceKind::Macro);
    macro.macro = 0;
    KeyChoice function = Choice(KeyChoiceKind::Function);
    function.function = u"Vol-";
    KeyChoice run = Choice(KeyChoiceKind::HostAction);
    run.hostKind = AssignmentKind::RunProgram;
    run.path = u"/usr/bin/true";

    struct Row {
        const char* name;
        KeyChoice choice;
        std::array<int, 4> entry;
        int kind;
        std::vector<int> data; // record bytes 2..
        int count;             // record byte 257
        bool enabled;
    };
    const Row rows[] = {
        {"key", key, {0, 0, 0x05, 0}, 0, {0x42, 0}, 1, true},
        {"own key", own, {0, 0, 0x04, 0}, 0, {0, 0}, 0, true},
        {"combination", combo, {0, 0xE0, 0x06, 0}, 1, {0xA2, 0x43, 0}, 2, true},
        {"macro", macro, {4, 1, 0, 0}, 2, {4, 1, 0, 0}, 0, true},
        {"function", function, {3, 0, 0xEA, 0}, 3, {3, 0, 0xEA, 0}, 0, true},
        {"host action", run, {0x0A, 0, 0x41, 0}, 5, {3, 0, 0x23, 2}, 0, true},
        {"disable", Choice(KeyChoiceKind::Disable), {0, 0, 0x04, 0}, 0, {0, 0}, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ConfigState config = FactoryConfig();
        const KeyScriptResult r = Assign(config, kKeyA, row.choice);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(Entry(config, kSlotA), row.entry);
        const KeyActionRecord& record = config.keyActions[kKeyA];
        EXPECT_EQ(record.keyCode(), 0x41);
        EXPECT_EQ(record.kind(), row.kind);
        EXPECT_EQ(std::vector<int>(record.bytes.begin() + 2,
                                   record.bytes.begin() + 2 + static_cast<long>(row.data.size())),
                  row.data);
        EXPECT_EQ(record.capturedCount(), row.count);
        EXPECT_EQ(IsKeySlotEnabled(config.image, kSlotA), row.enabled);
        // Every other slot keeps its entry.
        EXPECT_EQ(Entry(config, 14), (std::array<int, 4>{0, 0, 0x16, 0}));
    }
}

TEST(KeyScript, ResetGivesBackTheOwnFunctionEnabledAndKeepsThePath) {
    ConfigState config = FactoryConfig();
    KeyChoice run = Choice(KeyChoiceKind::HostAction);
    run.hostKind = AssignmentKind::OpenFolder;
    run.path = u"/home/music";
    ASSERT_TRUE(Assign(config, kKeyA, run).ok());
    ASSERT_TRUE(Assign(config, kKeyA, Choice(KeyChoiceKind::Disable)).ok());
    EXPECT_EQ(Entry(config, kSlotA), (std::array<int, 4>{0x0A, 0, 0x41, 0}));
    EXPECT_FALSE(IsKeySlotEnabled(config.image, kSlotA));

    ASSERT_TRUE(Assign(config, kKeyA, Choice(KeyChoiceKind::Reset)).ok());
    EXPECT_EQ(Entry(config, kSlotA), (std::array<int, 4>{0, 0, 0x04, 0}));
    EXPECT_TRUE(IsKeySlotEnabled(config.image, kSlotA));
    EXPECT_EQ(config.keyActions[kKeyA].kind(), 0);
    EXPECT_EQ(config.keyActions[kKeyA].path(), u"/home/music");
}

TEST(KeyScript, ChoicesTheDialogRefusesChangeNothing) {
    KeyChoice group = Choice(KeyChoiceKind::Function);
    group.function = u"Multimedia";
    KeyChoice missingMacro = Choice(KeyChoiceKind::Macro);
    missingMacro.macro = 1;
    KeyChoice silentKey = Choice(KeyChoiceKind::Key);
    silentKey.keys = {0x0C}; // a code the key table does not list: no device code
    KeyChoice emptyPath = Choice(KeyChoiceKind::HostAction);
    struct Row {
        const char* name;
        std::size_t key;
        KeyChoice choice;
    };
    const Row rows[] = {
        {"a media key", 17, Choice(KeyChoiceKind::Reset)},
        {"a Ctrl key", 95, Choice(KeyChoiceKind::Disable)},
        {"a group", kKeyA, group},
        {"a macro not there", kKeyA, missingMacro},
        {"a key the keyboard cannot send", kKeyA, silentKey},
        {"an empty path", kKeyA, emptyPath},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ConfigState config = FactoryConfig();
        const ConfigState before = config;
        EXPECT_FALSE(Assign(config, row.key, row.choice).ok());
        EXPECT_EQ(config.image, before.image);
        EXPECT_EQ(config.keyActions[row.key], before.keyActions[row.key]);
    }
}

} // namespace
} // namespace orvo

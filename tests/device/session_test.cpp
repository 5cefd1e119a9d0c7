// The session's whole actions against the simulated keyboard and a data folder: what reaches
// the keyboard, the image and its snapshots, and the files.

#include "device/read_back.h"
#include "device/session.h"
#include "model/config_state.h"
#include "model/key_assignment.h"
#include "model/key_tables.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvo {
namespace {

using test::SimulatedKeyboard;
using test::TempDir;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct SessionTest : testing::Test {
    SimulatedKeyboard kb;
    TempDir data;
    RecordingPacer pacer;
    std::unique_ptr<ConfigState> config = std::make_unique<ConfigState>();
    DeviceConnection connection{*kb.bus, pacer};
    Session session{*config, connection};

    // The state after start-up: the keyboard read into the image, both snapshots taken.
    SessionTest() {
        config->folders.dataFolder = data.path();
        session.LoadDataFiles();
        const bool read =
            connection.OpenCommandInterface() && connection.RunCommands([&](CommandChannel& ch) {
                return FullReadBack(ch, config->image);
            });
        if (!read)
            throw std::runtime_error("the simulated keyboard could not be read");
        CommitSnapshot(*config);
    }
    std::filesystem::path keymap() const { return data.path() / kKeymapFileName; }
    std::vector<std::uint8_t> keymapBytes() const { return FileBytes(keymap()); }
    // What the keyboard holds now, read behind the session's back.
    SettingsImage keyboard() {
        SettingsImage image;
        CommandChannel ch{*kb.command, pacer};
        EXPECT_TRUE(FullReadBack(ch, image));
        return image;
    }
};

TEST_F(SessionTest, SaveKeepsImageSnapshotsAndFileTogetherOnlyWhenTheKeyboardTookIt) {
    for (const bool plugged : {true, false}) {
        if (!plugged) {
            kb.Unplug();
            connection.OnRemoval();
        }
        const std::uint8_t rate = plugged ? 1 : 2;
        config->image.byte(field::reportRate) = rate;
        config->keyActions[4].setKind(3);
        const auto before = keymapBytes();
        const SettingsImage snapshot = config->deviceSnapshot;

        const SaveResult r = session.Save();
        EXPECT_EQ(r.ok(), plugged);
        EXPECT_EQ(config->image.byte(field::reportRate), rate); // never lost
        if (plugged) {
            EXPECT_TRUE(r.keymap.ok);
            EXPECT_EQ(keyboard().byte(field::reportRate), rate);
            EXPECT_EQ(config->deviceSnapshot, config->image);
            EXPECT_EQ(config->keyActionSnapshot, config->keyActions);
            EXPECT_EQ(keymapBytes(), SerialiseProfile(config->image, config->keyActions));
        } else {
            // Nothing counts as sent, so the next Save sends it again.
            EXPECT_EQ(config->deviceSnapshot, snapshot);
            EXPECT_EQ(keymapBytes(), before);
        }
    }
}

TEST_F(SessionTest, CloseAndCancelReturnTheFileToTheLastAppliedState) {
    const SettingsImage applied = config->image;
    const KeyActionTable appliedActions = config->keyActions;
    const auto edit = [&] {
        config->image.byte(field::gameMode) ^= 1;
        config->keyActions[7].setKind(2);
    };

    edit();
    ASSERT_TRUE(session.Close());
    EXPECT_EQ(keymapBytes(), SerialiseProfile(applied, appliedActions));
    EXPECT_NE(config->image, applied); // Close leaves the program's state alone

    // Cancel also marks the keys of the state it returns to: key 0 remapped on the keyboard.
    const std::size_t entry = kKeyMapEntrySize * SlotOf(0);
    config->deviceSnapshot.bytes[field::keyMap.offset + entry + 2] ^= 0x01;
    edit();
    ASSERT_TRUE(session.Cancel());
    EXPECT_EQ(config->image, config->deviceSnapshot);
    EXPECT_EQ(config->keyActions, appliedActions);
    EXPECT_EQ(config->customisedKeys[0], 1);
    EXPECT_EQ(config->customisedKeys[7], 0);
    EXPECT_EQ(keymapBytes(), SerialiseProfile(config->deviceSnapshot, appliedActions));
}

TEST_F(SessionTest, OnlyAReadBackRefreshRereadsTheLighting) {
    struct Row {
        RefreshCause cause;
        std::uint8_t shown;       // the image's effect before the refresh
        std::uint8_t effectAfter; // the keyboard holds effect 1, the snapshot says 4
    };
    // An unsaved edit (5) survives the read-back's re-read; an unedited value takes the
    // keyboard's.
    for (const Row row : {Row{RefreshCause::Dialog, 4, 4}, Row{RefreshCause::ReadBack, 4, 1},
                          Row{RefreshCause::ReadBack, 5, 5}}) {
        config->deviceSnapshot.byte(field::lightingEffect) = 4;
        config->image.byte(field::lightingEffect) = row.shown;
        config->keyActions[9].setKind(1);
        config->customisedKeys.fill(0);
        const RefreshResult r = session.Refresh(row.cause);
        EXPECT_TRUE(r.lightingRead);
        EXPECT_EQ(config->image.byte(field::lightingEffect), row.effectAfter);
        EXPECT_EQ(config->customisedKeys[9], 1);
        EXPECT_EQ(keymapBytes(), SerialiseProfile(config->image, config->keyActions));
    }
}

TEST_F(SessionTest, ProfilesRoundTripAndAMissingOneChangesNothing) {
    config->image.byte(field::lightingBrightness) = 17;
    config->keyActions[2].setKind(4);
    const std::filesystem::path file = data.path() / "Configure" / "uno.bin";
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(session.SaveProfile(file));
    const SettingsImage saved = config->image;
    const KeyActionTable savedActions = config->keyActions;

    config->image.byte(field::lightingBrightness) = 3;
    config->keyActions[2].setKind(0);
    EXPECT_FALSE(session.LoadProfile(data.path() / "missing.bin"));
    EXPECT_EQ(config->image.byte(field::lightingBrightness), 3);

    ASSERT_TRUE(session.LoadProfile(file));
    EXPECT_EQ(config->image, saved);
    EXPECT_EQ(config->keyActions, savedActions);
    // Loading never sends anything: the next Save does.
    EXPECT_EQ(keyboard().byte(field::lightingBrightness), 50);
}

TEST_F(SessionTest, CommittedMacrosReachTheImageAndBothFiles) {
    MacroStore edited;
    edited[0].setName(u"Uno");
    edited[0].repeatCount = 2;
    edited[1].setName(u"Dos");
    edited[1].repeatCount = 1;
    edited[2].repeatCount = 7; // after the first unnamed slot: not for the keyboard
    const MacroCommitResult r = session.CommitMacros(edited);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.blocks, 2u);
    EXPECT_EQ(config->macros, edited);
    // Each block starts with its repeat count, big-endian.
    EXPECT_EQ(config->image.macroBlock(0)[0], 0);
    EXPECT_EQ(config->image.macroBlock(0)[1], 2);
    EXPECT_EQ(config->image.macroBlock(1)[1], 1);
    EXPECT_EQ(config->image.macroBlock(2)[1], 0);
    EXPECT_EQ(keymapBytes(), SerialiseProfile(config->image, config->keyActions));
    EXPECT_EQ(FileBytes(data.path() / kMacroFileName), edited.serialise());
}

TEST_F(SessionTest, KeyAssignmentsStartFromTheFileAndAreStoredInIt) {
    constexpr std::size_t kKeyA = 63;
    const KeyActionTable stored = config->keyActions;
    // A record changed in memory only (a dialog's page change) is reloaded from the file.
    config->keyActions[kKeyA].setKind(AssignmentKind::Pending);
    EXPECT_TRUE(session.ReloadKeyActions());
    EXPECT_EQ(config->keyActions, stored);

    // Without the file the table in memory is the only copy left: it is kept and written.
    config->keyActions[kKeyA].setKind(AssignmentKind::Combination);
    const KeyActionTable inMemory = config->keyActions;
    std::filesystem::remove(keymap());
    EXPECT_TRUE(session.ReloadKeyActions());
    EXPECT_EQ(config->keyActions, inMemory);
    EXPECT_EQ(keymapBytes(), SerialiseProfile(config->image, inMemory));

    // "Avanzado" opened and left without a path: the dialog's record is kept, the entry not.
    KeyAssignmentState result;
    OpenKeyAssignment(result, *config, kKeyA);
    KeyActionRecord record = config->keyActions[kKeyA];
    ClickPage(result, record, KeyMapPage::Advanced);
    const auto entryBefore = KeyMapEntry(config->image, SlotOf(kKeyA));
    const std::vector<std::uint8_t> entry(entryBefore.begin(), entryBefore.end());
    const AssignKeyResult r = session.AssignKey(result, record);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(config->keyActions[kKeyA].kind(), 255);
    EXPECT_TRUE(std::ranges::equal(KeyMapEntry(config->image, SlotOf(kKeyA)), entry));
    EXPECT_EQ(keymapBytes(), SerialiseProfile(config->image, config->keyActions));
    KeyAssignmentState outside;
    outside.keyIndex = kKeyCount;
    EXPECT_FALSE(session.AssignKey(outside, record).stored);
}

} // namespace
} // namespace orvo

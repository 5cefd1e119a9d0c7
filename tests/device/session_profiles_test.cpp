// The profile manager's "Abrir" through the session: a picked file becomes the configuration
// and the selected profile only when every setting in it is one the window can produce.

#include "device/read_back.h"
#include "device/session.h"
#include "model/config_state.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::SimulatedKeyboard;
using test::TempDir;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& file) {
    return ReadFilePrefix(file, kProfileFileSize + 1).value_or(std::vector<std::uint8_t>{});
}

TEST(SessionProfilesTest, OpenTakesAProfileOnlyWhenItsSettingsAreInRange) {
    SimulatedKeyboard kb;
    TempDir data;
    RecordingPacer pacer;
    auto config = std::make_unique<ConfigState>();
    DeviceConnection connection{*kb.bus, pacer};
    Session session{*config, connection};
    config->folders.dataFolder = data.path();
    session.LoadDataFiles();
    // The keyboard's factory settings: every one in range.
    ASSERT_TRUE(connection.OpenCommandInterface() &&
                connection.RunCommands(
                    [&](CommandChannel& ch) { return FullReadBack(ch, config->image); }));

    const std::filesystem::path folder = config->folders.profileFolder();
    ProfileStore store(folder);
    ASSERT_TRUE(WriteProfileFile(folder / "Mio.bin", config->image, config->keyActions));

    SettingsImage dimmer = config->image;
    dimmer.byte(field::lightingBrightness) = 20;
    KeyActionTable dimmerActions = config->keyActions;
    dimmerActions[5].setKind(3);
    SettingsImage badRate = dimmer;
    badRate.byte(field::reportRate) = 200;
    const std::filesystem::path outside = data.path() / "picked.bin";

    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool taken;
    };
    const Row rows[] = {
        // What "Nuevo" leaves until the profile is saved: all zeros.
        {"a new profile", std::vector<std::uint8_t>(kSettingsImageSize, 0), false},
        {"a report rate of 200", SerialiseProfile(badRate, dimmerActions), false},
        {"a dimmer profile", SerialiseProfile(dimmer, dimmerActions), true},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(WriteFileAtomically(outside, row.bytes));
        store.refresh();
        store.select(0);
        const SettingsImage imageBefore = config->image;
        const KeyActionTable actionsBefore = config->keyActions;
        const auto profileBefore = FileBytes(folder / "Mio.bin");

        const Notice notice = session.OpenIntoProfile(store, [&] { return outside; });
        if (row.taken) {
            EXPECT_FALSE(notice) << row.name;
            EXPECT_EQ(config->image, dimmer) << row.name;
            EXPECT_EQ(config->keyActions, dimmerActions) << row.name;
            EXPECT_EQ(FileBytes(folder / "Mio.bin"), row.bytes) << row.name;
        } else {
            EXPECT_EQ(notice, (Notice{Session::kProfileValuesInvalidText, u"Perfil"})) << row.name;
            EXPECT_EQ(config->image, imageBefore) << row.name;
            EXPECT_EQ(config->keyActions, actionsBefore) << row.name;
            EXPECT_EQ(FileBytes(folder / "Mio.bin"), profileBefore) << row.name;
        }
    }
}

} // namespace
} // namespace orvo

// The left column driven at its window coordinates against the simulated keyboard: effects,
// colour slots, DIY colouring, the switches, the factory reset and the firmware hand-off.

#include "main_window_fixture.h"

#include "app/device_actions.h"
#include "app/lighting_panel.h"
#include "app/prompts.h"
#include "controls/bit_slider.h"
#include "model/key_tables.h"
#include "model/lighting_rules.h"

#include <QFile>

#include <sstream>

namespace orvo::test {
namespace {

constexpr Point kPalmSelector{100, 308};
constexpr Point kPalmSwatch{141, 330};
constexpr Point kKeymapSwitch{35, 182};
constexpr Point kDiySwitch{137, 182};
constexpr Point kResetItem{900, 30};

Point ColourSlot(int slot) {
    return {40 + 28 * (slot - 1), 172};
}

// Answers every question and colour dialog as told and remembers what was asked.
struct FakePrompts : Prompts {
    bool answer = false;
    std::optional<ColorRef> colour;
    std::vector<QString> questions;
    std::vector<QString> warnings;
    std::vector<ColorRef> colourPresets;

    bool confirm(const QString& caption, const QString& text) override {
        questions.push_back(caption + u'|' + text);
        return answer;
    }
    void warn(const QString& caption, const QString& text) override {
        warnings.push_back(caption + u'|' + text);
    }
    std::optional<ColorRef> pickColour(ColorRef preset) override {
        colourPresets.push_back(preset);
        return colour;
    }
};

// The feature reports the keyboard received, as bytes, and each 65-byte packet.
std::vector<std::vector<int>> Reports(const std::vector<std::string>& lines, std::string_view op) {
    std::vector<std::vector<int>> out;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string ms, kind;
        in >> ms >> kind;
        if (kind != op)
            continue;
        std::vector<int> bytes;
        for (std::string hex; in >> hex;)
            bytes.push_back(std::stoi(hex, nullptr, 16));
        out.push_back(bytes);
    }
    return out;
}
std::vector<int> Commands(const std::vector<std::vector<int>>& reports) {
    std::vector<int> codes;
    for (const auto& r : reports)
        codes.push_back(r.at(1));
    return codes;
}

class LightingTest : public MainWindowTest {
protected:
    CBrisoldeDlg& open() {
        usePrompts(prompts);
        return start();
    }
    void chooseEffect(int row) {
        click(kEffectSelector.x, kEffectSelector.y);
        click(100, 136 + 20 * row + 5);
    }
    void choosePalmEffect(int row) {
        click(kPalmSelector.x, kPalmSelector.y);
        click(100, 320 + 20 * row + 5);
    }
    std::vector<std::vector<int>> saveAndGetReports() {
        const std::size_t before = traceLinesNow();
        click(kSave.x, kSave.y);
        m_lastSave = traceSince(before);
        return Reports(m_lastSave, "set");
    }
    std::uint8_t image(ImageField f, std::size_t i = 0) { return config().image.byte(f, i); }

    FakePrompts prompts;
    std::vector<std::string> m_lastSave;
};

TEST_F(LightingTest, WaveSelectsTheMulticolourSlotAndSaveSendsIt) {
    open();
    chooseEffect(2); // "Modo onda"
    EXPECT_EQ(image(field::lightingEffect), 3);
    EXPECT_EQ(image(field::lightingColour), kMulticolourSlot);
    click(ColourSlot(2).x, ColourSlot(2).y); // slots 1..7 do not react
    click(ColourSlot(2).x, ColourSlot(2).y);
    EXPECT_EQ(image(field::lightingColour), kMulticolourSlot);
    EXPECT_TRUE(prompts.colourPresets.empty());

    const auto sent = saveAndGetReports();
    ASSERT_EQ(Commands(sent), (std::vector<int>{0x07, 0x08, 0x08}));
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(sent[i][2], static_cast<int>(i)); // sub-code 1, then 2
        EXPECT_EQ(sent[i][3], 3);                   // effect
        EXPECT_EQ(sent[i][6], 8);                   // colour
    }
}

TEST_F(LightingTest, FixedLightingLeavesTheMulticolourSlot) {
    open();
    chooseEffect(1); // "Modo respiración" accepts slot 8
    click(ColourSlot(8).x, ColourSlot(8).y);
    EXPECT_EQ(image(field::lightingColour), 8);
    chooseEffect(0); // "Iluminación fija"
    EXPECT_EQ(image(field::lightingColour), 1);
    click(ColourSlot(8).x, ColourSlot(8).y);
    EXPECT_EQ(image(field::lightingColour), 1);
}

TEST_F(LightingTest, FirstSlotClickSelectsAndTheSecondEditsItsColour) {
    open();
    ASSERT_EQ(image(field::lightingColour), 1);
    prompts.colour = MakeColorRef(10, 20, 30);
    click(ColourSlot(4).x, ColourSlot(4).y);
    EXPECT_EQ(image(field::lightingColour), 4);
    EXPECT_TRUE(prompts.colourPresets.empty());

    click(ColourSlot(4).x, ColourSlot(4).y);
    EXPECT_EQ(prompts.colourPresets, (std::vector<ColorRef>{MakeColorRef(255, 12, 255)}));
    EXPECT_EQ(ColourSlotValue(config().image, 4), MakeColorRef(10, 20, 30));

    // Cancel keeps the colour but still selects the slot.
    prompts.colour.reset();
    const ColorRef before = ColourSlotValue(config().image, 1);
    click(ColourSlot(1).x, ColourSlot(1).y);
    click(ColourSlot(1).x, ColourSlot(1).y);
    EXPECT_EQ(image(field::lightingColour), 1);
    EXPECT_EQ(ColourSlotValue(config().image, 1), before);
}

TEST_F(LightingTest, CustomProfileSwitchesToDiyAndHidesTheEffectControls) {
    CBrisoldeDlg& w = open();
    chooseEffect(11); // "Perfil de iluminación 1"
    EXPECT_EQ(image(field::lightingEffect), 51);
    EXPECT_TRUE(w.state().diyMode);
    EXPECT_FALSE(w.sliders().byId(kSpeedSlider)->isVisible());
    EXPECT_TRUE(w.sliders().byId(kBrightnessSlider)->isVisible());
    // No colour squares: slot 1's red is not drawn where it would be.
    const QImage picture = w.composeNow();
    EXPECT_NE(picture.pixelColor(ColourSlot(1).x, ColourSlot(1).y + 8), QColor(255, 0, 0));
    // The direction regions still act on the value, whatever is drawn.
    click(225, 150);
    EXPECT_EQ(image(field::lightingDirection), 3);

    click(kKeymapSwitch.x, kKeymapSwitch.y);
    EXPECT_FALSE(w.state().diyMode);
    click(kDiySwitch.x, kDiySwitch.y);
    EXPECT_TRUE(w.state().diyMode);
}

TEST_F(LightingTest, EffectListClicksBelowTheLastRowOnlyClose) {
    CBrisoldeDlg& w = open();
    click(kEffectSelector.x, kEffectSelector.y);
    EXPECT_TRUE(w.state().effectListOpen);
    EXPECT_FALSE(w.sliders().byId(kResponseTimeSlider)->isVisible() &&
                 w.sliders().byId(kSpeedSlider)->isVisible());
    click(100, 456);
    EXPECT_FALSE(w.state().effectListOpen);
    EXPECT_EQ(image(field::lightingEffect), 1);
    // The composition after the click shows the performance sliders again.
    EXPECT_TRUE(w.sliders().byId(kResponseTimeSlider)->isVisible());
    EXPECT_TRUE(w.sliders().byId(kReportRateSlider)->isVisible());
}

TEST_F(LightingTest, PalmRestColourFollowsItsEffect) {
    open();
    prompts.colour = MakeColorRef(7, 8, 9);
    choosePalmEffect(3); // "Modo onda-Plam Rest"
    EXPECT_EQ(image(field::palmRest, palm::effect), 3);
    click(kPalmSwatch.x, kPalmSwatch.y);
    EXPECT_TRUE(prompts.colourPresets.empty());

    choosePalmEffect(2); // shows the multicolour picture but still opens the dialog
    click(kPalmSwatch.x, kPalmSwatch.y);
    ASSERT_EQ(prompts.colourPresets.size(), 1u);
    EXPECT_EQ(image(field::palmRest, palm::red), 7);
    EXPECT_EQ(image(field::palmRest, palm::green), 8);
    EXPECT_EQ(image(field::palmRest, palm::blue), 9);
    EXPECT_EQ(image(field::palmRest, palm::mode), config().deviceSnapshot.byte(field::palmRest, 4));
}

TEST_F(LightingTest, SwitchToggledTwiceSendsNothingForIt) {
    open();
    const std::uint8_t before = image(field::gameMode);
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    EXPECT_EQ(image(field::gameMode), ToggledSwitch(before));
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    EXPECT_EQ(Commands(saveAndGetReports()), (std::vector<int>{0x07}));
}

TEST_F(LightingTest, LockOnClearsTheWindowsKeyBitInTheMaskSent) {
    open();
    click(kWinLockSwitch.x, kWinLockSwitch.y);
    EXPECT_EQ(image(field::winLock), 1);
    const auto sent = saveAndGetReports();
    EXPECT_EQ(Commands(sent), (std::vector<int>{0x07, 0x08, 0x0E, 0x08}));
    const auto packets = Reports(m_lastSave, "write");
    ASSERT_EQ(packets.size(), 1u);
    // Packet byte 0 is the report ID; mask byte 1 follows mask byte 0.
    EXPECT_EQ(packets[0][2], 0xFF & 0x3E);
    EXPECT_EQ(packets[0][1], 0xFF);

    click(kWinLockSwitch.x, kWinLockSwitch.y);
    saveAndGetReports();
    const auto unlocked = Reports(m_lastSave, "write");
    ASSERT_EQ(unlocked.size(), 1u);
    EXPECT_EQ(unlocked[0][2] & 0x01, 0x01);
}

TEST_F(LightingTest, FactoryResetSendsTheResetAndLeavesFileAndSnapshotsEqualToTheImage) {
    CBrisoldeDlg& w = open();
    chooseEffect(12);
    click(kWinLockSwitch.x, kWinLockSwitch.y);
    saveAndGetReports();
    config().keyActions[5].setKind(std::uint8_t{3}); // a host-side assignment to clear

    // Declined: nothing is sent.
    std::size_t before = traceLinesNow();
    click(kHelpButton.x, kHelpButton.y);
    click(kResetItem.x, kResetItem.y);
    EXPECT_EQ(prompts.questions.back(), QStringLiteral("Ajuste de fábrica|Confirmar para volver "
                                                       "la configuración de fábrica?"));
    EXPECT_TRUE(Reports(traceSince(before), "set").empty());
    EXPECT_FALSE(w.state().helpMenuOpen);

    prompts.answer = true;
    before = traceLinesNow();
    w.deviceActions().factoryReset();
    waitUntilIdle(); // the reset runs on the worker
    const auto sent = Reports(traceSince(before), "set");
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0], (std::vector<int>{0, 0x13, 0xFF, 0, 0, 0, 0, 0, 0xED}));
    EXPECT_EQ(sent[1][1], 0x09);
    EXPECT_EQ(sent[1][2], 1);
    EXPECT_EQ(sent[2][1], 0x09);
    EXPECT_FALSE(w.state().diyMode);
    EXPECT_EQ(image(field::lightingEffect), 1);
    EXPECT_EQ(config().keyActions[5].kind(), 0);
    EXPECT_EQ(config().keyActions[5].keyCode(), DefaultCodeOf(5));
    for (std::uint8_t b : config().image[field::keyEnableMask])
        EXPECT_EQ(b, 0xFF);
    // The redraw that follows the reset stores what the sliders show back into the image:
    // the response time one lower than the keyboard's. Otherwise the image, both snapshots
    // and the file hold what the keyboard reported.
    const SettingsImage& read = config().deviceSnapshot;
    EXPECT_EQ(w.sliders().byId(kResponseTimeSlider)->value(), read.byte(field::responseTime) - 1);
    EXPECT_EQ(image(field::responseTime), read.byte(field::responseTime) - 1);
    SettingsImage shown = read;
    shown.byte(field::responseTime) = image(field::responseTime);
    EXPECT_EQ(shown, config().image);
    EXPECT_EQ(config().keyActionSnapshot, config().keyActions);
    EXPECT_EQ(FileBytes(keymapFile()), SerialiseProfile(read, config().keyActions));
    EXPECT_EQ(w.sliders().byId(kReportRateSlider)->value(), image(field::reportRate));
    EXPECT_TRUE(prompts.warnings.empty());
}

TEST_F(LightingTest, FactoryResetWithoutKeymapFileKeepsTheOldSnapshots) {
    CBrisoldeDlg& w = open();
    chooseEffect(3);
    saveAndGetReports();
    ASSERT_EQ(config().deviceSnapshot.byte(field::lightingEffect), 4);
    // A folder in the file's place: the atomic rename onto it fails.
    std::filesystem::remove(keymapFile());
    std::filesystem::create_directory(keymapFile());
    prompts.answer = true;
    w.deviceActions().factoryReset();
    waitUntilIdle();                            // the reset runs on the worker
    EXPECT_EQ(image(field::lightingEffect), 1); // the keyboard's values
    EXPECT_EQ(config().deviceSnapshot.byte(field::lightingEffect), 4); // the old ones
}

TEST_F(LightingTest, FactoryResetFailureIsReportedAndChangesNothing) {
    CBrisoldeDlg& w = open();
    chooseEffect(12);
    const SettingsImage before = config().image;
    unplug();
    ProcessEventsUntil([&] { return !w.keyboardConnected(); }, 3000);
    prompts.answer = true;
    w.deviceActions().factoryReset();
    waitUntilIdle(); // the reset runs on the worker
    EXPECT_EQ(config().image, before);
    EXPECT_TRUE(w.state().diyMode);
    EXPECT_EQ(prompts.warnings.size(), 1u);
}

TEST_F(LightingTest, FirmwarePromptOnlyForANewerOfferedVersion) {
    CBrisoldeDlg& w = open();
    ASSERT_EQ(config().firmware.major(), 1);
    ASSERT_EQ(config().firmware.minor(), 2);
    const std::pair<OfferedVersion, bool> rows[] = {
        {{1, 3}, true}, {{2, 0}, true}, {{1, 2}, false}, {{1, 1}, false}, {{0, 0}, false}};
    for (const auto& [offered, asks] : rows) {
        prompts.questions.clear();
        config().offeredFirmware = offered;
        w.deviceActions().checkFirmware();
        EXPECT_EQ(prompts.questions.size(), asks ? 1u : 0u)
            << int(offered.major) << "." << int(offered.minor);
    }
    config().offeredFirmware = {1, 3};
    w.deviceActions().checkFirmware();
    EXPECT_EQ(prompts.questions.back(),
              QStringLiteral("Actualización del firmware|¿Nuevo firmware disponible, actualizar?"));
}

TEST_F(LightingTest, UpdaterRunsInTheProgramFolderAndIsWaitedFor) {
    CBrisoldeDlg& w = open();
    const std::filesystem::path folder = data() / "program";
    std::filesystem::create_directories(folder);
    config().folders.programFolder = folder;
    EXPECT_FALSE(w.deviceActions().LaunchUpdater()); // missing: nothing happens

    const std::filesystem::path updater = config().folders.updater();
    {
        std::ofstream script(updater);
        script << "#!/bin/sh\nsleep 0.3\npwd > ran.txt\n";
    }
    std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
    EXPECT_TRUE(w.deviceActions().LaunchUpdater());
    // It has ended when the call returns, and it ran with the program folder as its own.
    const auto lines = ReadLines(folder / "ran.txt");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(std::filesystem::canonical(lines[0]), std::filesystem::canonical(folder));
    EXPECT_FALSE(w.deviceActions().updaterRunning());
}

TEST_F(LightingTest, DiyColouringWritesTheChosenColourIntoTheShownTable) {
    CBrisoldeDlg& w = open();
    chooseEffect(13); // "Perfil de iluminación 3": table 2
    ASSERT_TRUE(w.state().diyMode);
    prompts.colour = MakeColorRef(0x12, 0x34, 0x56);
    const std::vector<std::uint8_t> expected{0, 0x12, 0x34, 0x56};
    const auto entry = [&](std::size_t key) {
        const auto table = config().image.customLightingTable(2);
        const std::size_t at = kKeyMapEntrySize * SlotOf(key);
        return std::vector<std::uint8_t>(table.begin() + long(at),
                                         table.begin() + long(at + kKeyMapEntrySize));
    };

    const Point q = KeyPoint(42);
    click(q.x, q.y);
    EXPECT_EQ(prompts.colourPresets, (std::vector<ColorRef>{kColourDialogPreset}));
    EXPECT_EQ(entry(42), expected);

    // Ctrl+clicks gather keys; releasing Ctrl arms, the next key click colours them all.
    prompts.colour = MakeColorRef(0xA0, 0xB0, 0xC0);
    key(Qt::Key_Control);
    const Point win = KeyPoint(96), a = KeyPoint(63);
    click(win.x, win.y);
    click(a.x, a.y);
    EXPECT_EQ(prompts.colourPresets.size(), 1u);
    key(Qt::Key_Control, QEvent::KeyRelease);
    click(a.x, a.y);
    EXPECT_EQ(prompts.colourPresets.size(), 2u);
    EXPECT_EQ(entry(96), (std::vector<std::uint8_t>{0, 0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(entry(63), (std::vector<std::uint8_t>{0, 0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(entry(42), expected);
    EXPECT_EQ(w.state().selectionState, kSelectionNone);

    const auto sent = saveAndGetReports();
    std::vector<int> tables;
    for (const auto& r : sent)
        if (r[1] == 0x12)
            tables.push_back(r[3]);
    EXPECT_EQ(tables, (std::vector<int>{2}));
    EXPECT_EQ(config().deviceSnapshot.customLightingTable(2)[kKeyMapEntrySize * SlotOf(42) + 1],
              0x12);
}

TEST_F(LightingTest, SliderSetByCodeShowsItsNewPlaceOnceItHasPainted) {
    CBrisoldeDlg& w = open();
    w.setSliderPosition(kBrightnessSlider, 10);
    w.RedrawMainWindow(); // composed before the slider has painted its new thumb place
    ProcessEventsUntil([] { return false; }, 200);
    EXPECT_EQ(w.composedImage(), w.composeNow());
}

// Pictures of the window for three effects, for the README and for a look by eye.
TEST_F(LightingTest, ScreenshotsOfThreeEffects) {
    CBrisoldeDlg& w = open();
    const auto shoot = [&](const char* name) { SaveWindowPicture(w, name); };
    shoot("screenshot-fixed.png");
    chooseEffect(2);
    shoot("screenshot-wave.png");
    chooseEffect(11);
    prompts.colour = MakeColorRef(255, 140, 0);
    for (std::size_t k : {20u, 21u, 22u, 23u, 42u, 43u, 44u}) {
        const Point p = KeyPoint(k);
        click(p.x, p.y);
    }
    prompts.colour = MakeColorRef(0, 200, 90);
    for (std::size_t k : {63u, 64u, 65u, 98u}) {
        const Point p = KeyPoint(k);
        click(p.x, p.y);
    }
    shoot("screenshot-diy.png");
}

} // namespace
} // namespace orvo::test

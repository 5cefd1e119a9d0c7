// orvoctl and the running program against the same simulated keyboard: a change made by a
// script is the change the window makes (same reports, same record, same macro bytes), the two
// never break into each other's transfers, and the window takes up what a script changed.

#include "macro_test_support.h"
#include "main_window_fixture.h"

#include "cli/dispatch.h"
#include "controls/transparent_list_box.h"
#include "keymap/c_key_map.h"
#include "macro/c_macro_record_dlg.h"
#include "model/key_tables.h"
#include "model/keyboard_groups.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <thread>

namespace orvo::test {
namespace {

constexpr std::size_t kKeyA = 63; // slot 8
constexpr QPoint kGuardar{285, 257};
constexpr QPoint kNew{48, 380};
constexpr QPoint kRecord{335, 112};
constexpr QPoint kOk{278, 380};

std::string WithoutTime(const std::string& line) {
    return line.substr(line.find(' ') + 1);
}

// The transfers of the last Save in a trace: from its palm-rest write on (a read-back never
// writes the palm rest).
std::vector<std::string> LastSave(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (WithoutTime(line).starts_with("set 00 07 "))
            out.clear();
        out.push_back(WithoutTime(line));
    }
    return out;
}

struct QuietPrompts : MacroPrompts {
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
};

class OrvoctlWithWindowTest : public MainWindowTest {
protected:
    // The window and orvoctl take the same lock: the simulated keyboard's, in its folder.
    OrvoctlWithWindowTest() { usePrompts(prompts); }

    // orvoctl for a keyboard simulated in `sim` and the data folder `dataFolder`.
    cli::Context Orvoctl(const std::filesystem::path& sim,
                         const std::filesystem::path& dataFolder) {
        cli::Context c;
        c.openBus = [sim] {
            std::string error;
            return OpenSimulatorBus(sim, error);
        };
        c.pacer = &m_pacer;
        c.folders.dataFolder = dataFolder;
        c.folders.programFolder = dataFolder;
        c.makeLock = [] { return MakeKeyboardLock("orvoctl"); };
        c.out = [this](std::string_view text) { out += text; };
        c.err = [this](std::string_view text) { err += text; };
        return c;
    }
    int Run(const cli::Context& c, std::vector<std::string_view> words) {
        out.clear();
        err.clear();
        return cli::RunOrvoctl(words, c);
    }
    void saveInWindow() {
        click(kSave.x, kSave.y);
        QCoreApplication::processEvents();
    }

    QuietPrompts prompts;
    std::string out, err;

private:
    RecordingPacer m_pacer;
};

TEST_F(OrvoctlWithWindowTest, AnEffectSetByOrvoctlSendsWhatTheWindowSends) {
    start();
    click(kEffectSelector.x, kEffectSelector.y);
    click(100, 136 + 20 * 2 + 5); // "Modo onda"
    saveInWindow();
    const auto window = LastSave(ReadLines(trace()));

    const std::filesystem::path other = simulator().parent_path() / "other";
    const cli::Context script = Orvoctl(other / "sim", other / "data");
    ASSERT_EQ(Run(script, {"set", "effect", "Modo onda"}), 0) << err;
    const auto scripted = LastSave(ReadLines(other / "sim" / kSimulatorTraceFile));
    EXPECT_EQ(scripted, window);
    EXPECT_GT(window.size(), 2u);
}

TEST_F(OrvoctlWithWindowTest, AKeySetByOrvoctlIsStoredAsTheDialogStoresIt) {
    start();
    const Point key = KeyPoint(kKeyA);
    click(key.x, key.y);
    CKeyMap& dialog = app().keyMap();
    ASSERT_TRUE(dialog.isVisible());
    ProcessEventsUntil([&] { return QApplication::activeWindow() == &dialog; });
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_B);
    ASSERT_EQ(dialog.singleKeyEdit()->text(), QStringLiteral("B "));
    ClickAt(dialog, kGuardar.x(), kGuardar.y());
    ASSERT_FALSE(dialog.isVisible());

    const std::filesystem::path other = simulator().parent_path() / "other";
    ASSERT_EQ(Run(Orvoctl(other / "sim", other / "data"), {"key", "A", "--key", "B"}), 0) << err;
    ConfigState scripted;
    ASSERT_TRUE(
        ReadProfileFile(other / "data" / kKeymapFileName, &scripted.image, scripted.keyActions));
    EXPECT_EQ(scripted.keyActions[kKeyA], config().keyActions[kKeyA]);
    const auto entry = KeyMapEntry(scripted.image, 8);
    EXPECT_EQ(std::vector<int>(entry.begin(), entry.end()), (std::vector<int>{0, 0, 0x05, 0}));
    EXPECT_TRUE(std::ranges::equal(KeyMapEntry(config().image, 8), entry));
}

TEST_F(OrvoctlWithWindowTest, AMacroImportedFromItsTextPlaysTheBytesOfTheRecordedOne) {
    start();
    window().activateWindow();
    ClickAt(window(), kMacrosButton.x, kMacrosButton.y);
    CMacroRecordDlg& manager = app().macroDialog();
    ASSERT_TRUE(manager.isVisible());
    ClickAt(manager, kNew.x(), kNew.y());
    ClickAt(manager, kRecord.x(), kRecord.y());
    for (const auto& [key, released] : {std::pair{Qt::Key_A, false}, std::pair{Qt::Key_B, false},
                                        std::pair{Qt::Key_A, true}, std::pair{Qt::Key_B, true}})
        KeyInto(manager, key, released);
    ClickAt(manager, kRecord.x(), kRecord.y());
    ClickAt(manager, kOk.x(), kOk.y());
    ASSERT_FALSE(manager.isVisible());

    // The same keyboard and data folder; the window is told to re-read, as the socket would.
    cli::Context script = Orvoctl(simulator(), data());
    script.notifyWindow = [this] { app().reloadAfterScript(); };
    ASSERT_EQ(Run(script, {"macro", "export", "0"}), 0) << err;
    EXPECT_EQ(out, "A  dn\nB  dn\nA  up\nB  up\n");
    const std::filesystem::path text = data() / "macro.txt";
    std::ofstream(text) << out;
    ASSERT_EQ(Run(script, {"macro", "new"}), 0) << err;
    ASSERT_EQ(Run(script, {"macro", "import", "1", text.string()}), 0) << err;
    waitUntilIdle(); // the window reads the keyboard again on its worker

    ASSERT_EQ(config().macros[1].name(), u"Macro_002");
    EXPECT_TRUE(std::ranges::equal(config().image.macroBlock(1), config().image.macroBlock(0)));
    EXPECT_EQ(config().macros[1].deviceEvents, config().macros[0].deviceEvents);
    // The keyboard holds both; the window's next Save has nothing of them to send.
    const std::size_t before = traceLinesNow();
    saveInWindow();
    EXPECT_EQ(traceSince(before).size(), 1u); // the palm rest, sent on every Save
}

TEST_F(OrvoctlWithWindowTest, TheWindowTakesUpAScriptsChangeAndNeverSavesItsOwnOverIt) {
    start();
    click(kGameModeSwitch.x, kGameModeSwitch.y); // an edit the window has not saved
    cli::Context script = Orvoctl(simulator(), data());
    script.notifyWindow = [this] { app().reloadAfterScript(); };
    ASSERT_EQ(Run(script, {"set", "effect", "Modo radar", "--direction", "T"}), 0) << err;
    waitUntilIdle();
    EXPECT_EQ(config().image.byte(field::lightingEffect), 13);
    EXPECT_EQ(config().image.byte(field::lightingDirection), 3);
    EXPECT_TRUE(std::ranges::equal(config().image[kLightingValues],
                                   config().deviceSnapshot[kLightingValues]));
    // The edit the script left alone is kept and is all the next Save sends.
    EXPECT_NE(config().image.byte(field::gameMode), config().deviceSnapshot.byte(field::gameMode));

    const std::size_t before = traceLinesNow();
    saveInWindow();
    // The palm rest, the lighting dimmed, the game mode, the lighting again.
    const auto sent = traceSince(before);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(WithoutTime(sent[2]).substr(0, 13), "set 00 09 00 ");
}

TEST_F(OrvoctlWithWindowTest, OrvoctlApplyingInALoopWhileTheWindowSavesBreaksNoReport) {
    start();
    // Two profiles that differ in their lighting, so every apply sends something.
    const cli::Context script = Orvoctl(simulator(), data());
    std::vector<std::string> profiles;
    for (const char* effect : {"2", "10"}) {
        ASSERT_EQ(Run(script, {"set", "effect", effect, "--no-apply"}), 0) << err;
        profiles.push_back((data() / (std::string("p") + effect + ".bin")).string());
        std::filesystem::copy_file(keymapFile(), profiles.back());
    }
    constexpr int kRounds = 25;
    std::atomic<int> failedApplies = 0;
    std::atomic<bool> done = false;
    std::thread loop([&] {
        const cli::Context c = Orvoctl(simulator(), data());
        for (int i = 0; i < kRounds; ++i) {
            const std::vector<std::string_view> words{"apply", profiles[i % 2]};
            if (cli::RunOrvoctl(words, c) != 0)
                ++failedApplies;
        }
        done = true;
    });
    int saves = 0;
    while (!done || saves < kRounds) {
        click(kGameModeSwitch.x, kGameModeSwitch.y);
        saveInWindow();
        ++saves;
    }
    loop.join();

    EXPECT_EQ(failedApplies, 0) << err;
    EXPECT_TRUE(prompts.asked.empty()) << prompts.asked.front().toStdString();
    const auto lines = ReadLines(trace());
    EXPECT_EQ(std::ranges::count_if(
                  lines, [](const std::string& l) { return WithoutTime(l).starts_with("error "); }),
              0);
    EXPECT_GT(
        std::ranges::count_if(
            lines, [](const std::string& l) { return WithoutTime(l).starts_with("set 00 07 "); }),
        2 * kRounds - 1);
}

} // namespace
} // namespace orvo::test

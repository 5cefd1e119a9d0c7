// A window that is never lost and edits that are never lost: the desktop with and without a
// tray, the keyboard missing at start-up or unplugged while the window is open, unsaved edits
// across an unplug, data files that cannot be read or written, and the tray's autostart check.

#include "main_window_fixture.h"

#include "app/prompts.h"
#include "app/tray_menu.h"
#include "model/autostart.h"

#include <QAction>

#include <sstream>

#include <sys/stat.h>

namespace orvo::test {
namespace {

constexpr Point kCancel{870, 604};
constexpr Point kMinimise{965, 12};
constexpr int kWaveRow = 136 + 2 * 20 + 5;

const QString kMissingWarning = QStringLiteral("Advertencia|¡Teclado no detectado!");

// The command codes of the feature reports in trace lines.
std::vector<int> SentCommands(const std::vector<std::string>& lines) {
    std::vector<int> codes;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string ms, op, reportId, code;
        if (in >> ms >> op >> reportId >> code && op == "set")
            codes.push_back(std::stoi(code, nullptr, 16));
    }
    return codes;
}

class NothingLostTest : public MainWindowTest {
protected:
    CBrisoldeDlg& open(bool tray = true) {
        usePrompts(prompts);
        useTray(tray);
        return start();
    }
    void unplugAndWait() {
        unplug();
        ProcessEventsUntil([&] { return !window().keyboardConnected(); });
        ASSERT_FALSE(window().keyboardConnected());
    }
    void replugAndWait() {
        std::filesystem::remove(simulator() / kSimulatorUnpluggedFile);
        ProcessEventsUntil([&] { return window().keyboardConnected(); });
        ASSERT_TRUE(window().keyboardConnected());
        QCoreApplication::processEvents();
    }
    std::vector<int> save() {
        const std::size_t before = traceLinesNow();
        click(kSave.x, kSave.y);
        return SentCommands(traceSince(before));
    }

    RecordingPrompts prompts;
};

TEST_F(NothingLostTest, StartWithoutTheKeyboardShowsTheWindowOnlyWhereNoTrayCanBringItBack) {
    struct Row {
        bool tray;
        bool shown;
        int missingWarnings;
    };
    for (const Row row : {Row{true, false, 0}, Row{false, true, 1}}) {
        unplug();
        prompts.warnings.clear();
        CBrisoldeDlg& w = open(row.tray);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.isVisible(), row.shown) << row.tray;
        EXPECT_EQ(prompts.count(kMissingWarning), row.missingWarnings) << row.tray;
        EXPECT_EQ(w.trayIcon() != nullptr, row.tray);
        EXPECT_TRUE(w.state().keyboardMissing);
    }
}

TEST_F(NothingLostTest, WithoutATrayMinimiseAndCancelKeepTheWindowWithinReach) {
    CBrisoldeDlg& w = open(false);
    ASSERT_TRUE(w.isVisible());
    click(kMinimise.x, kMinimise.y);
    EXPECT_TRUE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
    w.showNormal();
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    click(kCancel.x, kCancel.y);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(config().image, config().deviceSnapshot);
}

TEST_F(NothingLostTest, HiddenStartHidesOnlyWithATray) {
    for (const bool tray : {true, false}) {
        CBrisoldeApp::Setup setup;
        setup.executable = executable();
        setup.pacer = std::make_unique<RecordingPacer>();
        setup.prompts = &prompts;
        setup.trayAvailable = tray;
        setup.startHidden = true;
        CBrisoldeApp app(std::move(setup));
        EXPECT_EQ(app.window().startsHidden(), tray);
        ProcessEventsUntil([&] { return !app.window().readBackPending(); });
    }
}

TEST_F(NothingLostTest, UnplugShowsInTheTopStripUntilTheKeyboardReturns) {
    CBrisoldeDlg& w = open();
    const QRect strip(0, 0, w.composedImage().width(), 31);
    const QImage before = w.composeNow().copy(strip);
    unplugAndWait();
    EXPECT_TRUE(w.state().keyboardMissing);
    EXPECT_NE(w.composedImage().copy(strip), before);
    replugAndWait();
    EXPECT_FALSE(w.state().keyboardMissing);
    EXPECT_EQ(w.composedImage().copy(strip), before);
}

TEST_F(NothingLostTest, EditsSurviveAnUnplugAndTheNextSaveSendsExactlyThem) {
    open();
    click(kEffectSelector.x, kEffectSelector.y);
    click(kEffectSelector.x, kWaveRow); // "Modo onda"
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    click(kWinLockSwitch.x, kWinLockSwitch.y);
    const SettingsImage edited = config().image;
    ASSERT_NE(edited.byte(field::lightingEffect),
              config().deviceSnapshot.byte(field::lightingEffect));
    unplugAndWait();
    EXPECT_TRUE(save().empty()); // fails: nothing reaches the keyboard
    EXPECT_EQ(prompts.warnings.size(), 1u);
    replugAndWait();
    EXPECT_EQ(config().image.byte(field::gameMode), edited.byte(field::gameMode));
    EXPECT_EQ(config().image.byte(field::winLock), edited.byte(field::winLock));
    EXPECT_EQ(config().image.byte(field::lightingEffect), edited.byte(field::lightingEffect));
    // Palm rest (always), lighting dimmed, game mode, key-enable mask, full lighting.
    EXPECT_EQ(save(), (std::vector<int>{0x07, 0x08, 0x09, 0x0E, 0x08}));
    EXPECT_EQ(config().deviceSnapshot.byte(field::lightingEffect),
              edited.byte(field::lightingEffect));
    EXPECT_EQ(save(), (std::vector<int>{0x07})); // nothing left
}

TEST_F(NothingLostTest, UnreadableKeymapIsNeverWrittenOverAndTheUserIsToldOnce) {
    std::filesystem::create_directories(data());
    ASSERT_EQ(mkfifo(keymapFile().c_str(), 0600), 0);
    open();
    const QString told = QStringLiteral("Advertencia|No se pudo leer «keymap.bin»");
    EXPECT_EQ(prompts.count(told), 1);
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    save();
    click(kCancel.x, kCancel.y);
    EXPECT_EQ(prompts.count(told), 1);
    EXPECT_EQ(prompts.warnings.size(), 1u); // the refused writes say nothing more
    EXPECT_TRUE(std::filesystem::is_fifo(keymapFile()));
}

TEST_F(NothingLostTest, FailedDataFileWritesAreReportedAndTheStateIsKept) {
    open();
    // A folder in the file's place: every write of it fails.
    std::filesystem::remove(keymapFile());
    std::filesystem::create_directory(keymapFile());
    const QString told = QStringLiteral("Advertencia|No se pudo guardar «keymap.bin»");
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    const SettingsImage edited = config().image;
    save();
    EXPECT_EQ(prompts.count(told), 1);
    EXPECT_EQ(config().image, edited);
    EXPECT_EQ(config().deviceSnapshot, edited); // the keyboard took it
    click(kGameModeSwitch.x, kGameModeSwitch.y);
    click(kCancel.x, kCancel.y);
    EXPECT_EQ(prompts.count(told), 2);
    EXPECT_EQ(config().image, edited);
}

TEST_F(NothingLostTest, AutostartCheckWritesTheEntryAndShowsWhatTheDesktopWillDo) {
    const std::filesystem::path config = data() / "config";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.string()));
    CBrisoldeDlg& w = open();
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_NE(w.trayMenu(), nullptr);
    QAction* check = w.trayMenu()->autostartAction();
    const std::filesystem::path entry = config / "autostart" / "io.github.zorvanta.Orvo.desktop";
    ASSERT_TRUE(check->isEnabled());
    EXPECT_FALSE(check->isChecked());
    check->trigger();
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(IsAutostartEnabled(entry));
    check->trigger();
    EXPECT_FALSE(std::filesystem::exists(entry));

    // A file where the autostart folder should be: the entry cannot be written.
    std::filesystem::remove_all(config / "autostart");
    std::ofstream(config / "autostart").put('x');
    check->trigger();
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(prompts.count(QStringLiteral("Advertencia|No se pudo cambiar el inicio")), 1);
}

} // namespace
} // namespace orvo::test

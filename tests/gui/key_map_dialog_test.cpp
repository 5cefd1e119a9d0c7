// The key assignment dialog driven at its own coordinates inside the running program, against
// the simulated keyboard: what "Guardar" stores, what the main window's Save then sends, and
// the host-side action of a key the keyboard reports.

#include "main_window_fixture.h"

#include "app/host_action_launcher.h"
#include "app/prompts.h"
#include "controls/draw_label.h"
#include "controls/vivid_tree.h"
#include "keymap/c_key_map.h"
#include "keymap/key_map_texts.h"
#include "model/key_tables.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <sstream>

namespace orvo::test {
namespace {

// Key indexes and their slots in the key map.
constexpr std::size_t kKeyA = 63;
constexpr std::size_t kSlotA = 8;
constexpr std::size_t kKeyC = 81;
constexpr std::size_t kSlotC = 19;

// The dialog's buttons, inside their rectangles.
constexpr Point kMacroPage{120, 40};
constexpr Point kBasicPage{200, 40};
constexpr Point kAdvancedPage{290, 40};
constexpr Point kKeysPage{40, 40};
constexpr Point kDisableBox{24, 255};
constexpr Point kCerrar{230, 257};
constexpr Point kGuardar{285, 257};
// The browse picture of "Avanzado" row r.
Point BrowseOfRow(int row) {
    return {295, 79 + 40 * row + 12};
}

// Offsets in "keymap.bin": the settings image, then one 772-byte record per key index.
constexpr std::size_t kRecordsAt = 10068;
constexpr std::size_t kRecordSize = 772;

// Every file picker picks `file`; messages are kept.
struct FakePrompts : Prompts {
    std::optional<QString> file;
    std::vector<QString> said;
    bool confirm(const QString&, const QString&) override { return true; }
    void warn(const QString& caption, const QString& text) override {
        said.push_back(caption + u'|' + text);
    }
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
        return file;
    }
};

struct FakeLauncher : HostActionLauncher {
    std::vector<QStringList> programs; // file, folder
    std::vector<QString> opened;
    bool startProgram(const QString& file, const QString& folder) override {
        programs.push_back({file, folder});
        return true;
    }
    bool openWithDesktop(const QString& path) override {
        opened.push_back(path);
        return true;
    }
};

// One line of the simulated keyboard's trace.
struct Transfer {
    std::string op;
    std::vector<int> bytes;
};
std::vector<Transfer> Transfers(const std::vector<std::string>& lines) {
    std::vector<Transfer> out;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string ms;
        Transfer t;
        in >> ms >> t.op;
        for (std::string hex; in >> hex;)
            t.bytes.push_back(std::stoi(hex, nullptr, 16));
        out.push_back(std::move(t));
    }
    return out;
}
// The packets written after each announce of `command` (feature report byte 1), keyed by the
// announce's byte 3 (the table's number).
std::map<int, std::vector<std::vector<int>>> TablesSent(const std::vector<Transfer>& transfers,
                                                        int command) {
    std::map<int, std::vector<std::vector<int>>> tables;
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        const Transfer& t = transfers[i];
        if (t.op != "set" || t.bytes.size() != 9 || t.bytes[1] != command)
            continue;
        auto& packets = tables[t.bytes[3]];
        for (std::size_t j = i + 1; j < transfers.size() && transfers[j].op == "write"; ++j)
            packets.push_back(transfers[j].bytes);
    }
    return tables;
}

class KeyMapDialogTest : public MainWindowTest {
protected:
    KeyMapDialogTest() { usePrompts(prompts); }

    CKeyMap& dialog() { return app().keyMap(); }
    // A click on key k of the picture opens the dialog for it.
    CKeyMap& openFor(std::size_t key) {
        const Point p = KeyPoint(key);
        click(p.x, p.y);
        EXPECT_TRUE(dialog().isVisible()) << "key " << key;
        // Focus changes inside it reach its controls once it is the active window.
        ProcessEventsUntil([&] { return QApplication::activeWindow() == &dialog(); });
        EXPECT_EQ(QApplication::activeWindow(), &dialog());
        return dialog();
    }
    void dialogMouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                     Qt::MouseButton button) {
        QMouseEvent event(type, at, to->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &event);
    }
    void clickDialog(Point p) {
        const QPoint at(p.x, p.y);
        dialogMouse(&dialog(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        dialogMouse(&dialog(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        dialogMouse(&dialog(), QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
    }
    // A click inside a control, which takes the focus as it does from the user.
    void clickControl(QWidget* control, QPoint at) {
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
    }
    // A key stroke where the keyboard focus is.
    void type(int qtKey) {
        QWidget* to = dialog().focusWidget() ? dialog().focusWidget() : &dialog();
        const QString text = qtKey >= Qt::Key_Space && qtKey <= Qt::Key_AsciiTilde
                                 ? QString(QChar(qtKey)).toLower()
                                 : QString();
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(to, &release);
    }
    std::vector<Transfer> save() {
        const std::size_t before = traceLinesNow();
        click(kSave.x, kSave.y);
        return Transfers(traceSince(before));
    }
    std::vector<std::uint8_t> record(std::size_t key) {
        const auto file = FileBytes(keymapFile());
        const auto at = static_cast<long>(kRecordsAt + kRecordSize * key);
        if (file.size() < static_cast<std::size_t>(at) + kRecordSize)
            return {};
        return {file.begin() + at, file.begin() + at + static_cast<long>(kRecordSize)};
    }
    // Key-map entry of a slot in the key map the Save wrote (8 packets of 64 bytes).
    static std::vector<int> SentEntry(const std::vector<Transfer>& sent, std::size_t slot) {
        const auto tables = TablesSent(sent, 0x0D);
        if (tables.size() != 1 || tables.begin()->second.size() != 8)
            return {};
        const auto& packet = tables.begin()->second[4 * slot / 64];
        const auto at = static_cast<long>(1 + 4 * slot % 64);
        return {packet.begin() + at, packet.begin() + at + 4};
    }

    FakePrompts prompts;
};

TEST_F(KeyMapDialogTest, AKeyTypedAndSavedReachesTheKeyboardAndTheFile) {
    start();
    CKeyMap& d = openFor(kKeyA);
    EXPECT_TRUE(d.hookInstalled());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Selected key:A "));
    type(Qt::Key_Return); // neither Enter nor Escape ends the dialog while it has the hook
    type(Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    type(Qt::Key_B);
    EXPECT_EQ(d.singleKeyEdit()->text(), QStringLiteral("B "));
    // The window coming back to the front gives the edit its focus back, and keeps the key.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(d.singleKeyEdit(), &back);
    clickDialog(kGuardar);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.hookInstalled());
    EXPECT_EQ(config().customisedKeys[kKeyA], 1);

    const auto r = record(kKeyA);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r[1], 0);    // single key
    EXPECT_EQ(r[2], 0x42); // B
    EXPECT_EQ(r[3], 0);
    EXPECT_EQ(r[257], 1); // one key captured

    const auto sent = save();
    EXPECT_EQ(SentEntry(sent, kSlotA), (std::vector<int>{0, 0, 0x05, 0}));
    EXPECT_TRUE(TablesSent(sent, 0x11).empty()); // no macro blocks
}

TEST_F(KeyMapDialogTest, AChosenMacroIsWrittenWithItsBlocks) {
    start();
    MacroStore& macros = config().macros;
    macros[0].setName(u"Macro_001");
    macros[0].repeatCount = 1;
    macros[1].setName(u"Macro_002");
    macros[1].repeatCount = 2;
    macros[1].deviceEvents[0] = 0x81;
    macros[1].deviceEvents[1] = 0x04;

    CKeyMap& d = openFor(kKeyA);
    clickDialog(kMacroPage);
    ASSERT_TRUE(d.macroList()->isVisible());
    ASSERT_EQ(d.macroList()->count(), 2);
    EXPECT_EQ(d.macroList()->item(1)->text(), QStringLiteral("Macro_002"));
    QListWidget* list = d.macroList();
    clickControl(list->viewport(), list->visualItemRect(list->item(1)).center());
    clickDialog(kGuardar);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    const auto r = record(kKeyA);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(std::vector<int>(r.begin() + 1, r.begin() + 6), (std::vector<int>{2, 4, 1, 1, 0}));

    const auto sent = save();
    EXPECT_EQ(SentEntry(sent, kSlotA), (std::vector<int>{4, 1, 1, 0}));
    const auto blocks = TablesSent(sent, 0x11);
    ASSERT_EQ(blocks.size(), 2u); // both named macros
    ASSERT_EQ(blocks.at(1).size(), 3u);
    // Repeat count big-endian, then the events.
    EXPECT_EQ(std::vector<int>(blocks.at(1)[0].begin() + 1, blocks.at(1)[0].begin() + 5),
              (std::vector<int>{0, 2, 0x81, 0x04}));
}

TEST_F(KeyMapDialogTest, AFunctionIsChosenInTheTreeAndShownThereAgain) {
    start();
    CKeyMap& d = openFor(kKeyA);
    clickDialog(kBasicPage);
    VividTree* tree = d.functionTree();
    QTreeWidgetItem* multimedia = tree->topLevelItem(2);
    clickControl(tree->viewport(), tree->visualItemRect(multimedia).center());
    clickDialog(kGuardar); // a group is no function
    EXPECT_EQ(prompts.said,
              std::vector<QString>{QStringLiteral("Advertencia|Seleccione Sub-item")});
    EXPECT_TRUE(d.isVisible());
    multimedia->setExpanded(true);
    clickControl(tree->viewport(), tree->visualItemRect(multimedia->child(6)).center());
    clickDialog(kGuardar);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(SentEntry(save(), kSlotA), (std::vector<int>{3, 0, 0xEA, 0}));

    openFor(kKeyA);
    EXPECT_TRUE(tree->isVisible());
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Vol-"));
    EXPECT_TRUE(multimedia->isExpanded());
    EXPECT_EQ(tree->selectedItems().size(), 1);
}

TEST_F(KeyMapDialogTest, DisablingAKeyClearsItsMaskBitOnly) {
    start();
    const auto mask = config().image[field::keyEnableMask];
    const std::vector<std::uint8_t> before(mask.begin(), mask.end());
    CKeyMap& d = openFor(kKeyA);
    clickDialog(kDisableBox);
    EXPECT_TRUE(d.state().disableChecked);
    clickDialog(kGuardar);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(config().customisedKeys[kKeyA], 1);

    const auto masks = TablesSent(save(), 0x0E);
    ASSERT_EQ(masks.size(), 1u);
    ASSERT_EQ(masks.begin()->second.size(), 1u);
    const auto& packet = masks.begin()->second[0];
    std::vector<int> expected(before.begin(), before.end());
    expected[kSlotA / 6] &= ~(1 << (kSlotA % 6));
    EXPECT_EQ(std::vector<int>(packet.begin() + 1, packet.begin() + 22), expected);
}

TEST_F(KeyMapDialogTest, AReportedHostActionKeyStartsItsProgramOncePerReport) {
    FakeLauncher launcher;
    start();
    app().setHostActionLauncher(launcher);
    // A program whose folder and name a shell would split or read as an option.
    const std::filesystem::path folder = data() / "tools; rm 'x' \"y\"";
    const std::filesystem::path program = folder / "-run me.sh";
    std::filesystem::create_directories(folder);
    std::ofstream(program) << "#!/bin/sh\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    prompts.file = QString::fromStdString(program.string());

    CKeyMap& d = openFor(kKeyC);
    clickDialog(kAdvancedPage);
    clickDialog(BrowseOfRow(1)); // "en marcha"
    EXPECT_EQ(d.state().pendingKind, 5);
    clickDialog(kGuardar);
    ASSERT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(SentEntry(save(), kSlotC), (std::vector<int>{0x0A, 0, 0x43, 0}));

    // A page change that is cancelled leaves the stored action as it was.
    openFor(kKeyC);
    clickDialog(kKeysPage);
    clickDialog(kCerrar);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(config().keyActions[kKeyC].kind(), 5);

    const auto report = [&](const char* line) {
        std::ofstream(simulator() / kSimulatorInputFile, std::ios::app) << line << "\n";
    };
    const QStringList expected{QString::fromStdString(program.string()),
                               QString::fromStdString(folder.string())};
    report("02 43");
    ProcessEventsUntil([&] { return !launcher.programs.empty(); });
    report("02 41"); // A: no host action
    report("02 43");
    ProcessEventsUntil([&] { return launcher.programs.size() >= 2; });
    EXPECT_EQ(launcher.programs, (std::vector<QStringList>{expected, expected}));
    EXPECT_TRUE(launcher.opened.empty());
}

// What each kind of stored path starts (the program case above), and that a path naming
// nothing, or nothing definite, starts nothing.
TEST_F(KeyMapDialogTest, HostActionsOpenTheirPathOnlyWhileItNamesSomething) {
    const auto song = data() / "música" / "canción \"uno\".mp3";
    const auto folder = data() / "Carpeta #1";
    std::filesystem::create_directories(song.parent_path());
    std::filesystem::create_directories(folder);
    std::ofstream(song) << "id3";
    const auto q = [](const std::filesystem::path& p) {
        return QString::fromStdString(p.string());
    };
    struct Row {
        std::uint8_t kind;
        std::string path;
        HostActionOutcome outcome;
        std::vector<QString> opened;
    };
    const Row rows[] = {
        {4, song.string(), HostActionOutcome::Started, {q(song)}},
        {6, song.string(), HostActionOutcome::Started, {q(song)}},
        {7, folder.string(), HostActionOutcome::Started, {q(folder)}},
        {7, (data() / "gone").string(), HostActionOutcome::Vanished, {}},
        {5, "bin/sh", HostActionOutcome::Vanished, {}}, // relative: nothing definite
        {3, song.string(), HostActionOutcome::None, {}},
    };
    for (const Row& row : rows) {
        KeyActionTable table;
        table[kKeyC].setKeyCode(0x43);
        table[kKeyC].setKind(row.kind);
        table[kKeyC].setPath(QString::fromStdString(row.path).toStdU16String());
        FakeLauncher launcher;
        EXPECT_EQ(RunHostActionFor(table, 0x43, launcher), row.outcome) << row.path;
        EXPECT_EQ(launcher.opened, row.opened) << row.path;
        EXPECT_TRUE(launcher.programs.empty()) << row.path;
    }
}

// The four pages, for the README and a look by eye: a key with a program assigned, so the
// last page shows its path.
TEST_F(KeyMapDialogTest, ScreenshotsOfTheFourPages) {
    start();
    config().macros[0].setName(u"Macro_001");
    config().macros[1].setName(u"Copiar y pegar");
    const std::filesystem::path program = data() / "Programas" / "editor.sh";
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << "#!/bin/sh\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    prompts.file = QString::fromStdString(program.string());

    CKeyMap& d = openFor(kKeyA);
    const auto shoot = [&](const char* name) {
        const QImage picture = d.composeNow();
        ASSERT_EQ(picture.size(), QSize(336, 276));
        SavePicture(picture, name);
    };
    clickControl(d.combinationEdit(), {20, 5});
    type(Qt::Key_Control);
    type(Qt::Key_C);
    EXPECT_EQ(d.combinationEdit()->text(), QStringLiteral("LCtrl + C "));
    shoot("keymap-page-keys.png");
    clickDialog(kMacroPage);
    QListWidget* list = d.macroList();
    clickControl(list->viewport(), list->visualItemRect(list->item(1)).center());
    shoot("keymap-page-macro.png");
    clickDialog(kBasicPage);
    VividTree* tree = d.functionTree();
    tree->topLevelItem(2)->setExpanded(true); // "Multimedia"
    clickControl(tree->viewport(), tree->visualItemRect(tree->topLevelItem(2)->child(6)).center());
    shoot("keymap-page-basic.png");
    clickDialog(kAdvancedPage);
    clickDialog(BrowseOfRow(1));
    shoot("keymap-page-advanced.png");
    clickDialog(kCerrar);
}

// Every text of the dialog ends before what follows it: the next text, a control, a button's
// edge. Texts are drawn narrowed when they would pass it, down to 85 % of their width.
TEST(KeyMapTexts, EachTextFitsWhereItIsDrawn) {
    constexpr int kNarrowestStretch = kNarrowestLabelStretch;
    std::vector<KeyMapText> texts;
    for (const PageTab& tab : kPageTabs)
        texts.push_back(tab.text);
    texts.insert(texts.end(), kKeysPageLabels.begin(), kKeysPageLabels.end());
    // The path field is drawn over the end of "Carpeta abierta", as it always was: that label
    // is as long as the field's place leaves room for in no font of its height.
    for (std::size_t row = 0; row + 1 < kAdvancedRowCount; ++row)
        texts.push_back(
            {AdvancedRowTable[row].label, kRowLabelAt, kRowTextHeight, kRowLabelRightLimit});
    texts.push_back(kDisableLabel);
    texts.insert(texts.end(), kFooterLabels.begin(), kFooterLabels.end());
    // The caption with the longest key name.
    std::u16string caption;
    for (std::size_t code = 0; code < kKeyNameCount; ++code) {
        const std::u16string name = u"Selected key:" + std::u16string(KeyNameOf(code));
        const auto width = [](const std::u16string& t) {
            return QFontMetrics(LabelFont(kCaptionHeight))
                .horizontalAdvance(QString::fromStdU16String(t));
        };
        if (width(name) > width(caption))
            caption = name;
    }
    texts.push_back({caption, kCaptionAt, kCaptionHeight, kCaptionRightLimit});

    for (const KeyMapText& t : texts) {
        const QString text =
            QString::fromUtf16(t.text.data(), static_cast<qsizetype>(t.text.size()));
        const QFontMetrics metrics(LabelFont(t.height));
        EXPECT_LE(metrics.height(), t.height) << text.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(text) * kNarrowestStretch / 100, t.rightLimit - t.at.x)
            << text.toStdString();
    }
}

} // namespace
} // namespace orvo::test

// The profile manager inside the running program, against the simulated keyboard, driven at
// its window coordinates: where it opens, its painted commands and context menu with their
// messages, a rename in place, and a profile opened into the main window and sent by Save.

#include "main_window_fixture.h"

#include "app/prompts.h"
#include "controls/bit_slider.h"
#include "controls/draw_label.h"
#include "controls/transparent_list_box.h"
#include "device/session.h"
#include "model/profile_dialog_layout.h"
#include "profiles/c_configure_dlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>

#include <sstream>

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

constexpr Point kProfileButton{50, 610};

// Every message box and question as "caption|text" (questions are answered OK); file pickers
// answer `pick`.
struct ProfilePrompts : Prompts {
    std::vector<QString> notes;
    std::optional<QString> pick;
    std::vector<QString> pickers; // "folder|filter" of each picker shown

    bool confirm(const QString& caption, const QString& text) override {
        warn(caption, text);
        return true;
    }
    void warn(const QString& caption, const QString& text) override {
        notes.push_back(caption + u'|' + text);
    }
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString& folder,
                                    const QString& filter) override {
        pickers.push_back(folder + u'|' + filter);
        return pick;
    }
    std::optional<QString> saveFile(const QString& title, const QString& folder,
                                    const QString& filter) override {
        return openFile(title, folder, filter);
    }
};

QString Note(std::u16string_view text) {
    return QStringLiteral("Perfil|") + QString::fromUtf16(text.data(), qsizetype(text.size()));
}

class ProfileManagerTest : public MainWindowTest {
protected:
    ProfileManagerTest() { usePrompts(prompts); }

    // Clicks "Perfil" in the main window; the dialog that opened.
    CConfigureDlg* openManager() {
        click(kProfileButton.x, kProfileButton.y);
        auto* dialog = window().findChild<CConfigureDlg*>();
        return dialog && dialog->isVisible() ? dialog : nullptr;
    }
    CConfigureDlg& dialog() { return *window().findChild<CConfigureDlg*>(); }
    void clickDialog(Point at) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(at.x, at.y), dialog().mapToGlobal(QPointF(at.x, at.y)),
                              Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&dialog(), &event);
        }
    }
    void menu(const QString& item) {
        for (QAction* action : dialog().contextMenu()->actions())
            if (action->text() == item)
                return action->trigger();
        ADD_FAILURE() << "no menu item " << item.toStdString();
    }
    void select(const QString& row) {
        CTransparentListBox& list = *dialog().list();
        list.clearSelection();
        list.setCurrentRow(-1);
        for (int i = 0; i < list.count(); ++i)
            if (list.item(i)->text() == row)
                list.setCurrentRow(i);
    }
    std::vector<QString> rows() {
        std::vector<QString> out;
        for (int i = 0; i < dialog().list()->count(); ++i)
            out.push_back(dialog().list()->item(i)->text());
        return out;
    }
    fs::path folder() const { return data() / kProfileFolderName; }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void chooseEffect(int row) {
        click(kEffectSelector.x, kEffectSelector.y);
        click(100, 136 + 20 * row + 5);
    }

    ProfilePrompts prompts;
};

TEST_F(ProfileManagerTest, NuevoTwiceMakesTwoEmptyProfilesOverTheMainWindowsCorner) {
    CBrisoldeDlg& w = start();
    ASSERT_TRUE(fs::is_directory(folder())); // made at start-up
    CConfigureDlg* dlg = openManager();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), dlg);
    EXPECT_EQ(dlg->frameGeometry().topLeft(), w.frameGeometry().topLeft() - QPoint(1, 1));
    EXPECT_EQ(dlg->list()->geometry(), QRect(0, 31, 260, 528));

    // Both corners of the "+Nuevo" spot.
    clickDialog({33, 566});
    clickDialog({61, 577});
    EXPECT_EQ(files(), (std::vector<std::string>{"Profile_1.bin", "Profile_2.bin"}));
    for (const char* name : {"Profile_1.bin", "Profile_2.bin"})
        EXPECT_EQ(FileBytes(folder() / name), std::vector<std::uint8_t>(10068, 0)) << name;
    EXPECT_EQ(rows(),
              (std::vector<QString>{QStringLiteral("Profile_1"), QStringLiteral("Profile_2")}));
    EXPECT_TRUE(prompts.notes.empty());

    // Enter does not close it; the close button does, and the window is refreshed from the
    // image without asking the keyboard anything.
    QTest::keyClick(dlg, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    config().image.byte(field::lightingSpeed) = 7;
    const std::size_t before = traceLinesNow();
    clickDialog({262, 24});
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(FileBytes(keymapFile()), SerialiseProfile(config().image, config().keyActions));
    EXPECT_EQ(w.sliders().byId(kSpeedSlider)->value(), 7);
    EXPECT_TRUE(traceSince(before).empty());
}

TEST_F(ProfileManagerTest, EachCommandTellsWhatItNeeds) {
    start();
    ASSERT_NE(openManager(), nullptr);
    // The right button over the list opens the menu at the pointer.
    QWidget* viewport = dialog().list()->viewport();
    QContextMenuEvent rightPress(QContextMenuEvent::Mouse, QPoint(30, 300),
                                 viewport->mapToGlobal(QPoint(30, 300)));
    QCoreApplication::sendEvent(viewport, &rightPress);
    QMenu& contextMenu = *dialog().contextMenu();
    ASSERT_TRUE(contextMenu.isVisible());
    EXPECT_EQ(contextMenu.pos(), viewport->mapToGlobal(QPoint(30, 300)));
    std::vector<QString> items;
    for (QAction* action : contextMenu.actions())
        items.push_back(action->text());
    EXPECT_EQ(items, (std::vector<QString>{QStringLiteral("Nuevo"), QStringLiteral("Copiar"),
                                           QStringLiteral("Guardar"), QStringLiteral("Abrir"),
                                           QStringLiteral("Eliminar")}));
    contextMenu.hide();

    for (int i = 0; i < 2; ++i)
        menu(QStringLiteral("Nuevo"));
    struct Row {
        std::function<void()> command;
        QString selected; // empty: none
        std::vector<QString> notes;
        std::vector<std::string> files;
    };
    const std::vector<std::string> both{"Profile_1.bin", "Profile_2.bin"};
    const Row rows[] = {
        {[&] { menu(QStringLiteral("Copiar")); }, {}, {Note(kNoProfileToCopyText)}, both},
        {[&] { menu(QStringLiteral("Guardar")); }, {}, {Note(kNoProfileToSaveText)}, both},
        {[&] { menu(QStringLiteral("Abrir")); }, {}, {Note(kNoProfileToOpenText)}, both},
        {[&] { menu(QStringLiteral("Eliminar")); }, {}, {Note(kNoProfileToDeleteText)}, both},
        {[&] {
             clickDialog({195, 566});
         },
         {},
         {Note(kNoProfileToDeleteText)},
         both},
        {[&] {
             clickDialog({235, 577});
         },
         QStringLiteral("Profile_2"),
         {Note(kConfirmDeleteProfileText)},
         {"Profile_1.bin"}},
        {[&] { menu(QStringLiteral("Eliminar")); },
         QStringLiteral("Profile_1"),
         {Note(kLastProfileText)},
         {"Profile_1.bin"}},
        {[&] { menu(QStringLiteral("Copiar")); },
         QStringLiteral("Profile_1"),
         {},
         {"Copy of Profile_1.bin", "Profile_1.bin"}},
    };
    for (const Row& row : rows) {
        select(row.selected);
        prompts.notes.clear();
        row.command();
        EXPECT_EQ(prompts.notes, row.notes);
        EXPECT_EQ(files(), row.files);
    }
}

TEST_F(ProfileManagerTest, ADoubleClickRenamesTheFileAndRefusesNamesOutsideTheFolder) {
    start();
    ASSERT_NE(openManager(), nullptr);
    menu(QStringLiteral("Nuevo"));
    menu(QStringLiteral("Nuevo"));
    CTransparentListBox& list = *dialog().list();
    const auto rename = [&](const QString& from, const QString& to) {
        select(from);
        const QPoint at = list.visualItemRect(list.currentItem()).center();
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, list.viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &dbl);
        ASSERT_NE(list.editor(), nullptr);
        list.editor()->clear();
        QTest::keyClicks(list.editor(), to);
        QTest::keyClick(list.editor(), Qt::Key_Return);
    };

    rename(QStringLiteral("Profile_1"), QStringLiteral("Juego"));
    EXPECT_EQ(files(), (std::vector<std::string>{"Juego.bin", "Profile_2.bin"}));
    EXPECT_EQ(rows(), (std::vector<QString>{QStringLiteral("Juego"), QStringLiteral("Profile_2")}));
    EXPECT_EQ(list.currentItem()->text(), QStringLiteral("Juego"));
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_TRUE(prompts.notes.empty());

    // A name that would leave the folder is refused with a message; the row stays.
    rename(QStringLiteral("Juego"), QStringLiteral("../x"));
    EXPECT_EQ(prompts.notes, std::vector<QString>{Note(kBadProfileNameText)});
    EXPECT_EQ(files(), (std::vector<std::string>{"Juego.bin", "Profile_2.bin"}));
    EXPECT_FALSE(fs::exists(data() / "x.bin"));
    EXPECT_EQ(rows(), (std::vector<QString>{QStringLiteral("Juego"), QStringLiteral("Profile_2")}));
}

TEST_F(ProfileManagerTest, AnOpenedProfileShowsAtOnceAndSaveSendsIt) {
    CBrisoldeDlg& w = start();
    chooseEffect(2); // "Modo onda", effect 3
    ASSERT_EQ(config().image.byte(field::lightingEffect), 3);
    const QImage wave = w.composeNow();

    // Kept as a profile: "Guardar" with the file picker cancelled writes the selected one.
    ASSERT_NE(openManager(), nullptr);
    menu(QStringLiteral("Nuevo"));
    select(QStringLiteral("Profile_1"));
    menu(QStringLiteral("Guardar"));
    const QString folderText = QString::fromStdString(folder().string());
    EXPECT_EQ(prompts.pickers,
              std::vector<QString>{folderText + QStringLiteral("|bin Files(*.bin)")});
    const auto saved = FileBytes(folder() / "Profile_1.bin");
    ASSERT_EQ(saved.size(), 206928u);
    EXPECT_EQ(saved[0x1D1A], 3);
    clickDialog({255, 18});

    // Back to fixed lighting, sent to the keyboard.
    chooseEffect(0);
    click(kSave.x, kSave.y);
    ASSERT_EQ(config().deviceSnapshot.byte(field::lightingEffect), 1);

    ASSERT_NE(openManager(), nullptr);
    select(QStringLiteral("Profile_1"));
    prompts.pick = QString::fromStdString((folder() / "Profile_1.bin").string());
    menu(QStringLiteral("Abrir"));
    EXPECT_EQ(prompts.pickers.back(), folderText + QStringLiteral("|bin Files(*.bin)"));
    clickDialog({255, 18});
    EXPECT_EQ(config().image.byte(field::lightingEffect), 3);
    EXPECT_EQ(w.composedImage(), wave);

    const std::size_t before = traceLinesNow();
    click(kSave.x, kSave.y);
    bool sent = false;
    for (const std::string& line : traceSince(before)) {
        // A lighting report (command 0x08) carrying effect 3.
        std::istringstream in(line);
        std::string ms, op, id, command, sub, effect;
        in >> ms >> op >> id >> command >> sub >> effect;
        sent = sent || (op == "set" && command == "08" && effect == "03");
    }
    EXPECT_TRUE(sent);
}

// The profile manager with three profiles, the second selected, for the README.
TEST_F(ProfileManagerTest, ScreenshotWithThreeProfiles) {
    start();
    CConfigureDlg* dlg = openManager();
    ASSERT_NE(dlg, nullptr);
    for (int i = 0; i < 3; ++i)
        clickDialog({40, 570});
    select(QStringLiteral("Profile_2"));
    QCoreApplication::processEvents();
    const QImage picture = dlg->grab().toImage();
    EXPECT_EQ(picture.size(), dlg->size());
    SavePicture(picture, "profile_manager.png");
}

TEST(ProfileDialogTexts, EachFitsInsideItsPill) {
    for (const ProfileDialogText& t : {kNewProfileText, kDeleteProfileText}) {
        const QFontMetrics metrics(LabelFont(t.height));
        const QString text = QString::fromUtf16(t.text.data(), qsizetype(t.text.size()));
        EXPECT_LE(metrics.ascent() + metrics.descent(), t.height) << text.toStdString();
        EXPECT_GE(t.at.x, t.pill.left);
        EXPECT_GE(t.at.y, t.pill.top);
        // Where the text ends: its advance, or its ink where a glyph overhangs.
        const int extent =
            std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
        EXPECT_LE(t.at.x + extent, t.pill.right) << text.toStdString();
        EXPECT_LE(t.at.y + t.height, t.pill.bottom) << text.toStdString();
    }
}

} // namespace
} // namespace orvo::test

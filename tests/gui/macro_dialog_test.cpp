// The macro manager on its own, driven at its coordinates: its layout and texts, hover and
// tick boxes, the keys that must not end it, the event menu, recording with the delay option
// under a test clock (with the screenshot), in-place edits, and its messages.

#include "macro_test_support.h"
#include "main_window_fixture.h"

#include "controls/image_store.h"
#include "controls/transparent_list_box.h"
#include "macro/c_macro_record_dlg.h"
#include "macro/keyboard_hook.h"
#include "model/key_tables.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace orvo::test {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::u16string>;

QString BinDir() {
    return qEnvironmentVariable("ORVO_BIN_DIR");
}

class MacroDialogTest : public ::testing::Test {
protected:
    MacroDialogTest()
        : m_images(BinDir() + QStringLiteral("/png/")),
          m_dialog(m_images, m_prompts, m_hook, [this] { return m_now; }) {}

    // Opens on a store holding the given macro names (no events).
    void open(std::initializer_list<std::u16string_view> names = {}) {
        MacroStore store;
        std::size_t slot = 0;
        for (const std::u16string_view name : names)
            store[slot++].setName(name);
        m_dialog.openOn(store);
        QCoreApplication::processEvents();
    }
    void click(int x, int y) { ClickAt(m_dialog, x, y); }
    void stroke(int key, std::chrono::milliseconds held) {
        KeyInto(m_dialog, key);
        m_now += held;
        KeyInto(m_dialog, key, true);
    }
    Lines lines() const {
        Lines out;
        for (int i = 0; i < m_dialog.eventList()->count(); ++i)
            out.push_back(m_dialog.eventList()->item(i)->text().toStdU16String());
        return out;
    }
    static std::u16string KeyLine(std::uint8_t key, const char16_t* direction) {
        return std::u16string(KeyNameOf(key)) + direction;
    }
    void doubleClickRow(CTransparentListBox& list, int row) {
        list.setCurrentRow(row);
        const QPoint at = list.visualItemRect(list.item(row)).center();
        SendMouse(*list.viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton,
                  Qt::LeftButton);
    }
    void editRow(CTransparentListBox& list, int row, const QString& typed) {
        doubleClickRow(list, row);
        ASSERT_NE(list.editor(), nullptr);
        list.editor()->clear();
        QTest::keyClicks(list.editor(), typed);
        QTest::keyClick(list.editor(), Qt::Key_Return);
    }

    ImageStore m_images;
    MacroPrompts m_prompts;
    KeyboardHook m_hook;
    std::chrono::steady_clock::time_point m_now{};
    CMacroRecordDlg m_dialog;
};

TEST_F(MacroDialogTest, ControlsSitWhereTheyBelong) {
    open();
    EXPECT_EQ(m_dialog.size(), QImage(m_images.path(kMacroBackgroundImage.toString())).size());
    EXPECT_EQ(m_dialog.windowTitle(), QStringLiteral("Gestión de macros"));
    EXPECT_EQ(m_dialog.macroList()->geometry(), QRect(20, 88, 112, 240));
    EXPECT_EQ(m_dialog.eventList()->geometry(), QRect(163, 88, 100, 240));
    EXPECT_EQ(m_dialog.repeatEdit()->geometry(), QRect(295, 318, 84, 18));
    EXPECT_EQ(m_dialog.macroList()->editMode(), CTransparentListBox::kNames);
    EXPECT_EQ(m_dialog.eventList()->editMode(), CTransparentListBox::kDelays);
    EXPECT_EQ(m_dialog.repeatEdit()->maxLength(), 3);
    EXPECT_FALSE(m_dialog.repeatEdit()->isEnabled()); // empty store: loop off
    for (const CTransparentListBox* list : {m_dialog.macroList(), m_dialog.eventList()}) {
        const QFontMetrics metrics(list->textFont());
        EXPECT_LE(metrics.ascent() + metrics.descent(), 16);
        EXPECT_EQ(list->textFont().family(), QStringLiteral("Arial"));
    }
}

// Every text stays inside the area it labels: the title before the close box, the headings
// inside their columns, the options left of their tick boxes, the button texts inside their
// buttons; "Para de grabar" as well as "Empezar a grabar".
TEST(MacroDialogTexts, FitWhereTheyGo) {
    struct Placed {
        QString text;
        int x, y, height;
        QRect area; // both edges inside
    };
    const QRect record(290, 100, 90, 25), delayText(284, 140, 84, 60);
    const Placed texts[] = {
        {QStringLiteral("Gestión de macros"), 6, 9, 16, QRect(0, 0, 370, 34)},
        {QStringLiteral("Macro(s)"), 22, 60, 15, QRect(18, 40, 140, 46)},
        {QStringLiteral("Entrada de"), 160, 60, 15, QRect(158, 40, 126, 46)},
        {QStringLiteral("Opciones"), 288, 60, 15, QRect(284, 40, 106, 46)},
        {QStringLiteral("Empezar a grabar"), 292, 103, 13, record},
        {QStringLiteral("Para de grabar"), 292, 103, 13, record},
        {QStringLiteral("Retrasar"), 290, 153, 15, delayText},
        {QStringLiteral("Entre"), 290, 168, 15, delayText},
        {QStringLiteral("Teclas"), 290, 183, 15, delayText},
        {QStringLiteral("Loop"), 325, 300, 15, QRect(310, 295, 80, 22)},
        {QStringLiteral("Nuevo"), 35, 372, 13, QRect(20, 368, 58, 25)},
        {QStringLiteral("Borrar"), 95, 372, 13, QRect(80, 368, 58, 25)},
        {QStringLiteral("OK"), 270, 372, 13, QRect(250, 368, 58, 25)},
        {QStringLiteral("Cancelar"), 314, 372, 13, QRect(310, 368, 58, 25)},
    };
    for (const Placed& t : texts) {
        const QFontMetrics metrics(LabelFont(t.height));
        const QRect ink(t.x, t.y, metrics.horizontalAdvance(t.text),
                        metrics.ascent() + metrics.descent());
        EXPECT_TRUE(t.area.contains(ink))
            << t.text.toStdString() << " needs " << ink.right() << "," << ink.bottom();
    }
}

TEST_F(MacroDialogTest, HoverTickBoxesAndKeysThatMustNotEndIt) {
    open({u"Macro_001"});
    // Whether the picture shows at `at`, as far as its first `width` columns (the texts on the
    // buttons lie further right).
    const auto pictureAt = [this](QPoint at, const char16_t* name, int width = 15) {
        const QImage picture =
            m_images.loadForCopy(kMacroPictureFolder.toString() + QString::fromUtf16(name));
        const QRect strip(QPoint(0, 0), QSize(width, picture.height()));
        return !picture.isNull() &&
               m_dialog.compose().copy(strip.translated(at)) == picture.copy(strip);
    };
    // Moving from a button to a tick box keeps the light; off every spot clears it.
    HoverAt(m_dialog, 300, 110);
    EXPECT_EQ(m_dialog.litButton(), 0);
    EXPECT_FALSE(pictureAt({250, 368}, u"button-new-over.png"));
    HoverAt(m_dialog, 375, 175);
    EXPECT_EQ(m_dialog.litButton(), 0);
    HoverAt(m_dialog, 260, 380);
    EXPECT_EQ(m_dialog.litButton(), 5);
    EXPECT_TRUE(pictureAt({250, 368}, u"button-new-over.png"));
    HoverAt(m_dialog, 200, 30);
    EXPECT_EQ(m_dialog.litButton(), -1);

    // The tick boxes show their options; only the loop option enables the repeat count.
    click(375, 175);
    EXPECT_TRUE(m_dialog.editor().delayOption());
    EXPECT_TRUE(pictureAt({368, 168}, u"PaneMakingTick.png"));
    EXPECT_FALSE(m_dialog.repeatEdit()->isEnabled());
    click(300, 305);
    EXPECT_TRUE(pictureAt({295, 300}, u"PaneMakingTick.png"));
    ASSERT_TRUE(m_dialog.repeatEdit()->isEnabled());
    // Typed over the whole text; an empty text or 0 becomes 1 at once.
    const struct {
        QString typed, shown;
    } repeats[] = {{QStringLiteral("5"), QStringLiteral("5")},
                   {QStringLiteral("0"), QStringLiteral("1")},
                   {QStringLiteral("\b"), QStringLiteral("1")},
                   {QStringLiteral("7x"), QStringLiteral("7")},
                   {QStringLiteral("1234"), QStringLiteral("123")}};
    for (const auto& r : repeats) {
        m_dialog.repeatEdit()->selectAll();
        if (r.typed == u'\b')
            QTest::keyClick(m_dialog.repeatEdit(), Qt::Key_Backspace);
        else
            QTest::keyClicks(m_dialog.repeatEdit(), r.typed);
        EXPECT_EQ(m_dialog.repeatEdit()->text(), r.shown) << r.typed.toStdString();
    }
    EXPECT_EQ(m_dialog.editor().workingCopy()[0].repeatCount, 123);
    click(300, 305);
    EXPECT_FALSE(m_dialog.repeatEdit()->isEnabled());
    EXPECT_EQ(m_dialog.repeatEdit()->text(), QStringLiteral("1"));

    // Enter and Escape, in the dialog or in the repeat count, never end it.
    for (QWidget* target :
         {static_cast<QWidget*>(&m_dialog), static_cast<QWidget*>(m_dialog.repeatEdit())}) {
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Enter);
    }
    EXPECT_TRUE(m_dialog.isVisible());
}

// The event menu, whole, and one of its commands chosen with the mouse.
TEST_F(MacroDialogTest, EventMenu) {
    open({u"Macro_001"});
    struct Item {
        QString path; // pop-ups and caption, joined by '/'
        int command;  // 0 for a pop-up
    };
    const std::vector<Item> expected = {
        {QStringLiteral("Grabar antes"), 32790},
        {QStringLiteral("Grabar después"), 32791},
        {QStringLiteral("Insentar función del mouse"), 0},
        {QStringLiteral("Insentar función del mouse/Click izquierdo"), 0},
        {QStringLiteral("Insentar función del mouse/Click izquierdo/Abajo"), 32800},
        {QStringLiteral("Insentar función del mouse/Click izquierdo/Arriba"), 32801},
        {QStringLiteral("Insentar función del mouse/Click izquierdo/Click"), 32802},
        {QStringLiteral("Insentar función del mouse/Botón derecho del ratón"), 0},
        {QStringLiteral("Insentar función del mouse/Botón derecho del ratón/Abajo"), 32804},
        {QStringLiteral("Insentar función del mouse/Botón derecho del ratón/Arriba"), 32806},
        {QStringLiteral("Insentar función del mouse/Botón derecho del ratón/Click"), 32807},
        {QStringLiteral("Insentar función del mouse/Clic central"), 0},
        {QStringLiteral("Insentar función del mouse/Clic central/Abajo"), 32811},
        {QStringLiteral("Insentar función del mouse/Clic central/Arriba"), 32812},
        {QStringLiteral("Insentar función del mouse/Clic central/Click"), 32813},
        {QStringLiteral("Insert Delay"), 32793},
        {QStringLiteral("Delete"), 32815},
    };
    std::vector<Item> found;
    const std::function<void(const QMenu&, const QString&)> walk = [&](const QMenu& menu,
                                                                       const QString& prefix) {
        for (QAction* action : menu.actions()) {
            const QString path = prefix + action->text();
            found.push_back({path, action->menu() ? 0 : action->data().toInt()});
            if (action->menu())
                walk(*action->menu(), path + u'/');
        }
    };
    walk(*m_dialog.eventMenu(), QString());
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].path, expected[i].path) << i;
        EXPECT_EQ(found[i].command, expected[i].command) << i;
    }

    // Record A, then the right button on its release line opens the menu there; "Click
    // izquierdo" -> "Click" appends a left click.
    click(335, 112);
    stroke(Qt::Key_A, 10ms);
    click(335, 112);
    CTransparentListBox& events = *m_dialog.eventList();
    const QPoint line = events.visualItemRect(events.item(1)).center();
    SendMouse(*events.viewport(), QEvent::MouseButtonPress, line, Qt::RightButton, Qt::RightButton);
    QMenu& menu = *m_dialog.eventMenu();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(events.currentRow(), 1);
    QMenu* menuNow = &menu;
    for (const int index : {2, 0, 2}) { // "Insentar función..." / "Click izquierdo" / "Click"
        QAction* action = menuNow->actions().at(index);
        ClickAt(*menuNow, menuNow->actionGeometry(action).center().x(),
                menuNow->actionGeometry(action).center().y());
        if (action->menu()) {
            menuNow = action->menu();
            ProcessEventsUntil([&] { return menuNow->isVisible(); }, 2000); // Qt's popup delay
            ASSERT_TRUE(menuNow->isVisible());
        }
    }
    EXPECT_EQ(lines(),
              (Lines{KeyLine(0x41, u" dn"), KeyLine(0x41, u" up"), u"MsLB dn", u"MsLB up"}));
    const EventStream& device = m_dialog.editor().workingCopy()[0].deviceEvents;
    EXPECT_EQ(std::vector<int>(device.begin(), device.begin() + 10),
              (std::vector<int>{0x01, 0x04, 0x81, 0x04, 0x01, 0xF0, 0x81, 0xF0, 0, 0}));
}

// With the delay option on, a stroke held 300 ms gets a delay line; the delay is edited in
// place. The picture of the dialog goes to build/macro_manager.png.
TEST_F(MacroDialogTest, RecordingWithDelaysAndEditingThem) {
    open({u"Macro_001"});
    click(375, 175); // delay between keys
    click(335, 112);
    EXPECT_EQ(m_hook.window(), &m_dialog);
    stroke(Qt::Key_A, 300ms);
    m_now += 40ms;
    KeyInto(m_dialog, Qt::Key_B);
    m_now += 2min;
    KeyInto(m_dialog, Qt::Key_B); // held: the repeat is dropped
    KeyInto(m_dialog, Qt::Key_B, true);
    click(335, 112);
    EXPECT_FALSE(m_hook.isInstalled());
    EXPECT_EQ(lines(), (Lines{KeyLine(0x41, u" dn"), u"300 ms", KeyLine(0x41, u" up"), u"40 ms",
                              KeyLine(0x42, u" dn"), u"60000 ms", KeyLine(0x42, u" up")}));
    const auto stream = [this] {
        const EventStream& s = m_dialog.editor().workingCopy()[0].deviceEvents;
        return std::vector<int>(s.begin(), s.begin() + 16);
    };
    EXPECT_EQ(stream(), (std::vector<int>{0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C, 0x28, 0x05, 0xFF,
                                          0x05, 0xEA, 0x60, 0, 0, 0, 0}));

    HoverAt(m_dialog, 200, 30); // nothing lit
    SavePicture(m_dialog.grab().toImage(), "macro_manager.png");

    // 300 ms edited to 126: the long event becomes a short one; the line follows.
    editRow(*m_dialog.eventList(), 1, QStringLiteral("126"));
    EXPECT_EQ(lines()[1], u"126 ms");
    EXPECT_EQ(stream(), (std::vector<int>{0x01, 0x04, 0xFE, 0x04, 0x28, 0x05, 0xFF, 0x05, 0xEA,
                                          0x60, 0, 0, 0, 0, 0, 0}));
}

TEST_F(MacroDialogTest, NamesAndMessages) {
    open();
    // Record without a macro, delete without a macro.
    click(335, 112);
    click(100, 380);
    EXPECT_EQ(m_prompts.asked,
              (std::vector<QString>{
                  QStringLiteral("Gestión de macros|Seleccione un archivo Macro para grabar"),
                  QStringLiteral("Gestión de macros|¿Desea eliminar la macro seleccionada?"),
                  QStringLiteral("Gestión de macros|Seleccione un archivo macro para eliminarlo"),
              }));
    EXPECT_FALSE(m_hook.isInstalled());

    // Renames reach the macro at once; an empty name is refused and the old one stays.
    click(48, 380);
    click(48, 380);
    CTransparentListBox& names = *m_dialog.macroList();
    editRow(names, 0, QStringLiteral("Salto"));
    EXPECT_EQ(m_dialog.editor().workingCopy()[0].name(), u"Salto");
    m_prompts.asked.clear();
    editRow(names, 1, QString());
    EXPECT_EQ(names.item(1)->text(), QStringLiteral("Macro_002"));
    EXPECT_EQ(m_dialog.editor().workingCopy()[1].name(), u"Macro_002");
    EXPECT_EQ(m_prompts.asked,
              (std::vector<QString>{
                  QStringLiteral("Gestión de macros|El nombre de la macro no puede estar vacío")}));

    // Deleting the first macro after OK to the question moves the second up.
    names.setCurrentRow(0);
    click(100, 380);
    ASSERT_EQ(names.count(), 1);
    EXPECT_EQ(names.item(0)->text(), QStringLiteral("Macro_002"));
    EXPECT_EQ(m_dialog.editor().workingCopy()[0].name(), u"Macro_002");
    EXPECT_TRUE(m_dialog.editor().workingCopy()[1].isFree());

    // A name typed and left open when OK is clicked is kept.
    doubleClickRow(names, 0);
    ASSERT_NE(names.editor(), nullptr);
    names.editor()->setText(QStringLiteral("Combo"));
    click(278, 380);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.acceptedStore()[0].name(), u"Combo");
}

} // namespace
} // namespace orvo::test

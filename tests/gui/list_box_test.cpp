#include "controls/image_store.h"
#include "controls/skin_resources.h"
#include "controls/transparent_list_box.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace orvo {
namespace {

using Texts = std::vector<std::u16string>;

// A parent that paints itself magenta, so the list's picture of it can be recognised.
class Backdrop : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::magenta); }
};

class ListBoxTest : public ::testing::Test {
protected:
    ListBoxTest() : m_images(qEnvironmentVariable("ORVO_BIN_DIR") + QStringLiteral("/png/")) {
        m_parent.resize(400, 400);
        m_list = new CTransparentListBox(&m_images, &m_parent);
        m_list->setGeometry(163, 88, 100, 240);
        m_list->SetTextStyle(16, QStringLiteral("Arial"), 0xFFFFFF, 0xFFFF00, true, 0, 2);
        QObject::connect(m_list, &CTransparentListBox::listEditBegin, m_list,
                         [this] { m_log.push_back(u"begin"); });
        QObject::connect(m_list, &CTransparentListBox::listEditEnd, m_list, [this](int a, int b) {
            m_log.push_back(QStringLiteral("end %1 %2 scroll %3")
                                .arg(a)
                                .arg(b)
                                .arg(m_list->verticalScrollBar()->value())
                                .toStdU16String());
        });
        QObject::connect(
            m_list, &CTransparentListBox::listItemChanged, m_list,
            [this](int row, const QString& old) {
                m_log.push_back(QStringLiteral("changed %1 %2").arg(row).arg(old).toStdU16String());
            });
        m_parent.show();
    }

    void fill(int mode, const Texts& rows) {
        m_list->setEditMode(mode);
        m_list->clear();
        for (const std::u16string& r : rows)
            m_list->addString(QString::fromStdU16String(r));
        QCoreApplication::processEvents(); // lays the rows out
    }
    void doubleClick(int row) {
        m_list->setCurrentRow(row);
        const QPoint at = m_list->visualItemRect(m_list->item(row)).center();
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, m_list->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_list->viewport(), &dbl);
    }
    // Opens the editor on a row, replaces its text and ends with a key.
    void edit(int row, const QString& typed, Qt::Key end = Qt::Key_Return) {
        doubleClick(row);
        ASSERT_NE(m_list->editor(), nullptr);
        m_list->editor()->clear();
        QTest::keyClicks(m_list->editor(), typed);
        QTest::keyClick(m_list->editor(), end);
    }
    QImage shot() {
        return m_list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    ImageStore m_images;
    Backdrop m_parent;
    CTransparentListBox* m_list;
    Texts m_log;
};

TEST_F(ListBoxTest, DelayEdits) {
    struct Row {
        QString typed;
        Texts log;
        std::u16string line;
    };
    const Row rows[] = {
        {QStringLiteral("1"), {u"begin", u"end 1 2 scroll 0", u"changed 1 300 ms"}, u"2 ms"},
        {QStringLiteral("99999"),
         {u"begin", u"end 1 60000 scroll 0", u"changed 1 300 ms"},
         u"60000 ms"},
        {QString(), {u"begin", u"end 1 2 scroll 0", u"changed 1 300 ms"}, u"2 ms"},
        {QStringLiteral("3x0a0"), {u"begin", u"end 1 300 scroll 0"}, u"300 ms"}, // digits only
    };
    for (const Row& r : rows) {
        fill(CTransparentListBox::kDelays, {u"A  dn", u"300 ms", u"A  up"});
        m_log.clear();
        edit(1, r.typed);
        EXPECT_EQ(m_log, r.log) << r.typed.toStdString();
        EXPECT_EQ(m_list->item(1)->text().toStdU16String(), r.line);
        EXPECT_EQ(m_list->editor(), nullptr);
    }
    // Escape reports nothing and keeps the text; key lines open no editor.
    m_log.clear();
    edit(1, QStringLiteral("5"), Qt::Key_Escape);
    doubleClick(0);
    doubleClick(2);
    EXPECT_EQ(m_log, Texts{u"begin"});
    EXPECT_EQ(m_list->item(1)->text().toStdU16String(), u"300 ms");
    EXPECT_EQ(m_list->editor(), nullptr);
}

TEST_F(ListBoxTest, NameEdits) {
    fill(CTransparentListBox::kNames, {u"Macro_001", u"Macro_002"});
    edit(1, QStringLiteral("Macro_002"));
    EXPECT_EQ(m_log, Texts{u"begin"}); // unchanged: nothing reported
    m_log.clear();
    edit(0, QStringLiteral("Intro"));
    EXPECT_EQ(m_log, (Texts{u"begin", u"changed 0 Macro_001", u"end 0 0 scroll 0"}));

    // A sorted list moves the renamed row to its place; leaving the editor confirms.
    m_list->setSorted(true);
    fill(CTransparentListBox::kProfiles, {u"a", u"b", u"c"});
    m_log.clear();
    doubleClick(0);
    m_list->editor()->setText(QStringLiteral("d"));
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(m_list->editor(), &out);
    EXPECT_EQ(m_log, (Texts{u"begin", u"changed 2 a", u"end 0 2 scroll 0"}));
    EXPECT_EQ(m_list->currentRow(), 2);
}

TEST_F(ListBoxTest, ScrollingConfirmsFirst) {
    Texts rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back(QStringLiteral("%1 ms").arg(i + 2).toStdU16String());
    fill(CTransparentListBox::kDelays, rows);
    ASSERT_GT(m_list->verticalScrollBar()->maximum(), 0);
    doubleClick(0);
    m_list->editor()->setText(QStringLiteral("7"));
    m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_log, (Texts{u"begin", u"end 0 7 scroll 0", u"changed 0 2 ms"}));
    EXPECT_EQ(m_list->verticalScrollBar()->value(), 1);

    m_log.clear();
    doubleClick(3);
    const QPointF at(10, 10);
    QWheelEvent wheel(at, m_list->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_list->viewport(), &wheel);
    EXPECT_EQ(m_log, (Texts{u"begin", u"end 3 5 scroll 1"}));
    EXPECT_EQ(m_list->editor(), nullptr);
}

TEST_F(ListBoxTest, Painting) {
    // The font's cell height is the given height: the next pixel size would not fit.
    const QFontMetrics metrics(m_list->textFont());
    EXPECT_LE(metrics.ascent() + metrics.descent(), 16);
    QFont larger = m_list->textFont();
    larger.setPixelSize(larger.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(larger).ascent() + QFontMetrics(larger).descent(), 16);
    EXPECT_EQ(m_list->rowHeight(), metrics.height());

    // A press line shows the press icon and the key name alone, 30 pixels in.
    const auto look = CTransparentListBox::LookOf(QStringLiteral("A  dn"), 1);
    EXPECT_EQ(look.icon, CTransparentListBox::Icon::Press);
    EXPECT_EQ(look.text.toStdU16String(), u"A  ");
    fill(CTransparentListBox::kDelays, {u"A  dn"});
    QImage image = shot();
    const QImage icon = m_images.loadForCopy(kPressIconImage.toString());
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(image.copy(QRect(QPoint(0, 0), icon.size())),
              icon.convertToFormat(QImage::Format_RGB32));
    const auto whiteIn = [&](int from, int to) {
        for (int y = 0; y < m_list->rowHeight(); ++y)
            for (int x = from; x < to; ++x)
                if (image.pixel(x, y) == qRgb(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_FALSE(whiteIn(icon.width(), CTransparentListBox::kDelayTextIndent));
    EXPECT_TRUE(whiteIn(CTransparentListBox::kDelayTextIndent, 60));

    // Names lie over the parent's own pixels; profiles get the bar and the icon at +240,+2.
    fill(CTransparentListBox::kNames, {u"x"});
    EXPECT_EQ(shot().pixel(90, 200), QColor(Qt::magenta).rgb());
    m_list->setGeometry(0, 31, 260, 528);
    fill(CTransparentListBox::kProfiles, {u"i", u"j"});
    m_list->setCurrentRow(1);
    image = shot();
    const int top = m_list->rowHeight();
    EXPECT_EQ(image.pixel(230, top + 1), qRgb(0x0B, 0x91, 0xC3));
    EXPECT_EQ(image.pixel(230, 1), qRgb(0, 0, 0));
    const QImage profile = m_images.loadForCopy(kProfileIconImage.toString());
    ASSERT_FALSE(profile.isNull());
    EXPECT_EQ(image.copy(QRect(QPoint(240, 2), QSize(profile.width(), top - 2))),
              profile.convertToFormat(QImage::Format_RGB32).copy(0, 0, profile.width(), top - 2));
}

} // namespace
} // namespace orvo

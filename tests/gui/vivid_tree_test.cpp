#include "controls/vivid_tree.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvo {
namespace {

// Colours as painted: 0xRRGGBB.
constexpr QRgb kBackground = 0x1E1E1E;
constexpr QRgb kBar = 0x00A9E0; // the tree's colour value 0xE0A900 has red in its low byte
constexpr QRgb kCollapsedGlyph = 0xFF0000;
constexpr QRgb kExpandedGlyph = 0x00FF00;

QImage Filled(QRgb colour) {
    QImage glyph(9, 9, QImage::Format_RGB32);
    glyph.fill(colour);
    return glyph;
}

class VividTreeTest : public ::testing::Test {
protected:
    VividTreeTest() {
        m_tree.resize(220, 160);
        m_tree.setBackgroundMode(VividTree::Background::Solid);
        m_tree.setGlyphs(Filled(kCollapsedGlyph), Filled(kExpandedGlyph));
        m_group = new QTreeWidgetItem(&m_tree, {QStringLiteral("Multimedia")});
        new QTreeWidgetItem(m_group, {QStringLiteral("Vol-")});
        m_leaf = new QTreeWidgetItem(&m_tree, {QStringLiteral("Mi PC")});
        m_tree.setCurrentItem(m_leaf);
        m_tree.show(); // lays the viewport out
    }

    QImage paint() { return m_tree.viewport()->grab().toImage(); }
    static QRgb at(const QImage& image, QPoint p) { return image.pixel(p) & 0xFFFFFF; }
    // The pixel at the right end of an item's row, where only the bar can be.
    QPoint rowEnd(QTreeWidgetItem* item) const {
        return {m_tree.viewport()->width() - 2, m_tree.visualItemRect(item).center().y()};
    }

    VividTree m_tree;
    QTreeWidgetItem* m_group = nullptr;
    QTreeWidgetItem* m_leaf = nullptr;
};

TEST_F(VividTreeTest, DarkBackgroundWithWhiteTextMovedRight) {
    const QImage image = paint();
    EXPECT_EQ(at(image, {m_tree.viewport()->width() - 1, m_tree.viewport()->height() - 1}),
              kBackground);
    const QRect row = m_tree.visualItemRect(m_leaf);
    int whiteFrom = -1;
    for (int x = 0; x < image.width() && whiteFrom < 0; ++x) {
        for (int y = row.top(); y <= row.bottom(); ++y) {
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) > 200 &&
                qBlue(image.pixel(x, y)) > 200)
                whiteFrom = x;
        }
    }
    ASSERT_GE(whiteFrom, 0) << "no white text";
    EXPECT_GE(whiteFrom, row.left() + kVividTextShift);
    EXPECT_EQ(m_tree.itemTextRect(m_leaf).left(), row.left() + kVividTextShift);
}

TEST_F(VividTreeTest, BarOnlyWithFocusOrWhenTheSelectionShowsAlways) {
    EXPECT_EQ(at(paint(), rowEnd(m_leaf)), kBackground);

    m_tree.setShowSelectionAlways(true);
    EXPECT_EQ(at(paint(), rowEnd(m_leaf)), kBar);
    EXPECT_EQ(at(paint(), rowEnd(m_group)), kBackground);

    m_tree.setShowSelectionAlways(false);
    m_tree.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_tree));
    m_tree.setFocus();
    ASSERT_TRUE(m_tree.hasFocus());
    EXPECT_EQ(at(paint(), rowEnd(m_leaf)), kBar);
}

TEST_F(VividTreeTest, GlyphsShowAndToggleTheGroup) {
    const QRect glyph = m_tree.glyphRect(m_group);
    ASSERT_FALSE(glyph.isEmpty());
    EXPECT_TRUE(m_tree.glyphRect(m_leaf).isEmpty());
    EXPECT_EQ(glyph.left(), m_tree.itemTextRect(m_group).left() - 9 - 2);
    EXPECT_EQ(at(paint(), glyph.center()), kCollapsedGlyph);

    QTest::mouseClick(m_tree.viewport(), Qt::LeftButton, {}, glyph.center());
    EXPECT_TRUE(m_group->isExpanded());
    EXPECT_EQ(at(paint(), m_tree.glyphRect(m_group).center()), kExpandedGlyph);
    EXPECT_EQ(m_tree.currentItem(), m_leaf); // the click toggled and selected nothing
}

// The text is drawn one pixel inside its row and clipped there: in every style, with or
// without icons, a row holds the whole cell of the tree's font (descenders included).
TEST_F(VividTreeTest, RowsHoldTheirTextWhole) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    m_tree.setFont(font);
    const int cell = QFontMetrics(font).ascent() + QFontMetrics(font).descent();
    for (const QString& styleName : QStyleFactory::keys()) {
        for (const QSize icons : {QSize(), QSize(16, 16)}) {
            SCOPED_TRACE(styleName.toStdString() + " icons " + std::to_string(icons.height()));
            std::unique_ptr<QStyle> style(QStyleFactory::create(styleName));
            m_tree.setStyle(style.get());
            m_tree.setIconSize(icons);
            m_tree.doItemsLayout();
            for (const QTreeWidgetItem* item : {static_cast<const QTreeWidgetItem*>(m_group),
                                                static_cast<const QTreeWidgetItem*>(m_leaf)})
                EXPECT_GE(m_tree.itemTextRect(item).adjusted(0, 1, 0, -1).height(), cell);
            m_tree.setStyle(nullptr);
        }
    }
}

} // namespace
} // namespace orvo

#include "colour/cx_color_spectrum_ctrl.h"

#include "colour_test_support.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Drag;
using test::Press;
using test::Release;

constexpr QSize kSize{160, 140}; // as the colour dialog places it

class SpectrumTest : public testing::Test {
protected:
    void SetUp() override {
        ctrl.resize(kSize);
        ctrl.setColour(MakeColorRef(255, 0, 0));
    }
    SpectrumGeometry geometry() const { return {kSize.width(), kSize.height()}; }
    QRgb pixel(int x, int y) { return ctrl.frame().pixel(x, y); }

    CXColorSpectrumCtrl ctrl;
    QSignalSpy changes{&ctrl, &CXColorSpectrumCtrl::selChange};
    QSignalSpy endOks{&ctrl, &CXColorSpectrumCtrl::selEndOk};
};

TEST_F(SpectrumTest, SpectrumIsPaintedFromTheTopRowDown) {
    const HalfOpenRect field = geometry().spectrum();
    EXPECT_EQ(pixel(0, 5), qRgb(151, 151, 151)); // above the field
    EXPECT_EQ(pixel(0, field.top), qRgb(255, 0, 0));
    // The bottom row of the field is the grey a click there picks; the rows below are painted.
    EXPECT_EQ(pixel(60, field.bottom - 1), qRgb(127, 127, 127));
    EXPECT_EQ(pixel(60, kSize.height() - 1), qRgb(127, 127, 127));
    EXPECT_EQ(pixel(field.right, 60), qRgb(151, 151, 151)); // the gap before the bar
}

TEST_F(SpectrumTest, CrosshairAndArrowFollowTheFocus) {
    // Red: crosshair at (0, 10), whose left and upper arms fall outside the field.
    const QRgb text = ctrl.palette().color(QPalette::WindowText).rgb();
    const QRgb window = ctrl.palette().color(QPalette::Window).rgb();
    const QRgb shadow = ctrl.palette().color(QPalette::Dark).rgb();
    const Point c = ctrl.crosshair();
    const int arrowX = kSize.width() - kArrowAreaFromRight;
    const int tipY = geometry().arrowTopRow(ctrl.arrow()) + kArrowTipRow;
    EXPECT_EQ(pixel(c.x + 9, c.y), window);
    EXPECT_EQ(pixel(arrowX + 4, tipY), shadow);

    Press(&ctrl, {c.x + 20, c.y + 20});
    EXPECT_TRUE(ctrl.spectrumHasFocus());
    EXPECT_FALSE(ctrl.barHasFocus());
    const Point moved = ctrl.crosshair();
    EXPECT_EQ(pixel(moved.x + 9, moved.y), text);
    EXPECT_NE(pixel(moved.x, moved.y), text); // the centre stays open

    QTest::keyClick(&ctrl, Qt::Key_Tab);
    EXPECT_FALSE(ctrl.spectrumHasFocus());
    EXPECT_TRUE(ctrl.barHasFocus());
    EXPECT_EQ(pixel(moved.x + 9, moved.y), window);
    EXPECT_EQ(pixel(arrowX + 4, geometry().arrowTopRow(ctrl.arrow()) + kArrowTipRow), text);

    QTest::keyClick(&ctrl, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(ctrl.spectrumHasFocus());
    EXPECT_EQ(changes.count(), 1); // only the press reported; focus moves report nothing
}

TEST_F(SpectrumTest, PressAndDragPickWithThePrimaryButtonOnly) {
    const HalfOpenRect field = geometry().spectrum();
    Press(&ctrl, {40, 50}, Qt::RightButton);
    EXPECT_EQ(changes.count(), 0);

    Press(&ctrl, {40, 50});
    ASSERT_EQ(changes.count(), 1);
    const Point at{40, 50};
    EXPECT_EQ(ctrl.crosshair(), at);
    EXPECT_EQ(changes.at(0).at(0).value<std::uint32_t>(), ctrl.colour());

    Drag(&ctrl, {80, field.top});
    EXPECT_EQ(ctrl.saturation(), kSaturationMax);
    EXPECT_EQ(ctrl.crosshair(), (Point{80, field.top}));
    Drag(&ctrl, {150, 60}); // outside the field: ignored while dragging the spectrum
    EXPECT_EQ(ctrl.crosshair(), (Point{80, field.top}));
    EXPECT_EQ(changes.count(), 2);

    // A move with the button up ends the drag, even without a release event.
    Drag(&ctrl, {90, 70}, Qt::NoButton);
    Drag(&ctrl, {100, 80});
    EXPECT_EQ(ctrl.crosshair(), (Point{80, field.top}));
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(SpectrumTest, BarPicksLuminosityAndMovesFocusFlag) {
    const HalfOpenRect bar = geometry().bar();
    Press(&ctrl, {bar.left + 3, kSpectrumTop});
    EXPECT_TRUE(ctrl.barHasFocus());
    EXPECT_EQ(ctrl.luminosity(), kLuminosityMax);
    EXPECT_EQ(ctrl.colour(), MakeColorRef(255, 255, 255));
    Drag(&ctrl, {bar.left + 3, geometry().spectrum().bottom - 1});
    EXPECT_EQ(ctrl.luminosity(), 0);
    EXPECT_EQ(ctrl.colour(), 0u);
    Release(&ctrl, {bar.left + 3, 100});
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(SpectrumTest, KeyboardChangesTheFocusedPart) {
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool bar;
        int hue, saturation, luminosity;
        ColorRef colour;
    };
    // Each row starts from red (0, 240, 120).
    const Row rows[] = {
        {Qt::Key_End, Qt::NoModifier, true, 0, 240, 0, MakeColorRef(0, 0, 0)},
        {Qt::Key_Home, Qt::NoModifier, true, 0, 240, 240, MakeColorRef(255, 255, 255)},
        {Qt::Key_Down, Qt::ShiftModifier, true, 0, 240, 110, kNoColour},
        {Qt::Key_Right, Qt::NoModifier, true, 0, 240, 120, kNoColour}, // nothing in the bar
        {Qt::Key_Right, Qt::NoModifier, false, 5, 240, 120, kNoColour},
        {Qt::Key_Right, Qt::ControlModifier, false, 1, 240, 120, kNoColour},
        {Qt::Key_Down, Qt::ShiftModifier, false, 0, 230, 120, kNoColour},
        {Qt::Key_End, Qt::NoModifier, false, 239, 240, 120, kNoColour},
        {Qt::Key_PageDown, Qt::NoModifier, false, 0, 0, 120, MakeColorRef(127, 127, 127)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << (row.bar ? " bar" : " field"));
        ctrl.setColour(MakeColorRef(255, 0, 0));
        Press(&ctrl, row.bar ? QPoint(geometry().bar().left, 70) : QPoint(0, 10));
        Release(&ctrl, {0, 0});
        ctrl.setColour(MakeColorRef(255, 0, 0));
        changes.clear();
        QTest::keyClick(&ctrl, row.key, row.mods);
        EXPECT_EQ(ctrl.hue(), row.hue);
        EXPECT_EQ(ctrl.saturation(), row.saturation);
        EXPECT_EQ(ctrl.luminosity(), row.luminosity);
        const bool changed = row.hue != 0 || row.saturation != 240 || row.luminosity != 120;
        ASSERT_EQ(changes.count(), changed ? 1 : 0);
        if (row.colour != kNoColour) {
            EXPECT_EQ(ctrl.colour(), row.colour);
            EXPECT_EQ(changes.at(0).at(0).value<std::uint32_t>(), row.colour);
        }
    }
}

TEST_F(SpectrumTest, DoubleClickConfirmsInsideTheControlOnly) {
    test::SendMouse(&ctrl, QEvent::MouseButtonDblClick, {kSize.width() - 1, 60}, Qt::LeftButton,
                    Qt::LeftButton);
    EXPECT_EQ(endOks.count(), 0); // the arrow's column is neither field nor bar
    test::SendMouse(&ctrl, QEvent::MouseButtonDblClick, {30, 60}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(endOks.count(), 1);
    EXPECT_EQ(endOks.at(0).at(0).value<std::uint32_t>(), MakeColorRef(255, 0, 0));
}

TEST_F(SpectrumTest, NoColourDrawsNoBarAndReportsNothing) {
    const int barX = geometry().bar().left + 2;
    EXPECT_NE(pixel(barX, 70), qRgb(151, 151, 151));
    ctrl.setColour(kNoColour);
    EXPECT_EQ(pixel(barX, 70), qRgb(151, 151, 151));
    test::SendMouse(&ctrl, QEvent::MouseButtonDblClick, {30, 60}, Qt::LeftButton, Qt::LeftButton);
    QTest::keyClick(&ctrl, Qt::Key_Tab);
    EXPECT_EQ(endOks.count(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(ctrl.lastReportedColour(), kNoColour);
}

TEST_F(SpectrumTest, TooltipTextsByMode) {
    struct Row {
        int mode;
        const char* text;
    };
    const Row rows[] = {
        {0, ""}, {1, "RGB(255,0,0)"}, {2, "#FF0000"}, {3, "0000FF"}, {4, "HSL(0,240,120)"},
    };
    for (const Row& row : rows) {
        CXColorSpectrumCtrl tip(nullptr, MakeColorRef(0, 0, 255), row.mode);
        tip.resize(kSize);
        tip.frame();
        EXPECT_EQ(tip.tooltipTextAt({0, kSpectrumTop}), QString::fromUtf8(row.text));
        EXPECT_TRUE(tip.tooltipTextAt({kSize.width() - 5, 60}).isEmpty()); // arrow column
    }
    // Over the bar the text follows the bar's colour: blue at its top is white.
    CXColorSpectrumCtrl tip(nullptr, MakeColorRef(0, 0, 255), 2);
    tip.resize(kSize);
    tip.frame();
    EXPECT_EQ(tip.tooltipTextAt({geometry().bar().left, kSpectrumTop}), QStringLiteral("#FFFFFF"));
}

} // namespace
} // namespace orvo

#include "colour/c_custom_color_dialog.h"
#include "colour/cx_color_spectrum_ctrl.h"

#include "colour_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Click;

QPoint CellPoint(int cell, int dx = 0, int dy = 0) {
    return {PaletteCellLeft(cell) + dx, PaletteCellTop(cell) + dy};
}

QPushButton* Button(CCustomColorDialog& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

class ColourDialogTest : public testing::Test {
protected:
    QRgb shown(int x, int y) { return dialog.grab().toImage().pixel(x, y); }
    QStringList fields() const {
        QStringList out;
        for (int f = 0; f < CCustomColorDialog::kFieldCount; ++f) {
            out << dialog.fieldText(static_cast<CCustomColorDialog::Field>(f));
        }
        return out;
    }

    CCustomColorDialog dialog{test::SkinFolder()};
};

TEST_F(ColourDialogTest, OpeningMarksTheFirstCellOfTheColour) {
    struct Row {
        ColorRef colour;
        int cell;
    };
    const Row rows[] = {
        {MakeColorRef(255, 255, 255), 47}, // not a cell of rows 6 and 7
        {MakeColorRef(128, 128, 255), 14}, // also cell 21
        {MakeColorRef(64, 0, 64), 38},     // also cell 46
        {MakeColorRef(128, 255, 255), -1}, // cell 4 is 128,255,254
        {MakeColorRef(1, 2, 3), -1},
    };
    for (const Row& row : rows) {
        dialog.setPickedColour(row.colour);
        EXPECT_EQ(dialog.selectedCell(), row.cell) << std::hex << row.colour;
    }
}

TEST_F(ColourDialogTest, FieldsShowRgbAndTheSpectrumsHsl) {
    dialog.setPickedColour(MakeColorRef(0, 0, 255));
    EXPECT_EQ(fields(),
              (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("255"),
                           QStringLiteral("160"), QStringLiteral("240"), QStringLiteral("120")}));
}

TEST_F(ColourDialogTest, PaletteClicksPickTheCellColour) {
    struct Row {
        QPoint at;
        int cell;
        ColorRef colour;
    };
    const Row rows[] = {
        {CellPoint(4), 4, MakeColorRef(128, 255, 254)},
        {CellPoint(45, kPaletteHitWidth, kPaletteHitHeight), 45, MakeColorRef(129, 192, 192)},
        {CellPoint(6, 5, 5), 6, MakeColorRef(254, 128, 192)},
        {CellPoint(48, 3, 3), 48, MakeColorRef(255, 255, 255)}, // rows 6 and 7 are white
        {CellPoint(63, 3, 3), 63, MakeColorRef(255, 255, 255)},
    };
    for (const Row& row : rows) {
        dialog.setPickedColour(MakeColorRef(1, 2, 3));
        Click(&dialog, row.at);
        EXPECT_EQ(dialog.selectedCell(), row.cell);
        EXPECT_EQ(dialog.pickedColour(), row.colour);
        EXPECT_EQ(dialog.spectrum()->colour(), row.colour);
        EXPECT_EQ(dialog.fieldText(CCustomColorDialog::FieldRed),
                  QString::number(ToRgb(row.colour).r));
    }
    // Between cells nothing changes.
    Click(&dialog, CellPoint(0, kPaletteHitWidth + 2, 0));
    EXPECT_EQ(dialog.selectedCell(), 63);
}

TEST_F(ColourDialogTest, SpectrumPickKeepsTheMarkerAndUpdatesSwatchAndFields) {
    dialog.setPickedColour(MakeColorRef(0, 0, 255));
    ASSERT_EQ(dialog.selectedCell(), 28);
    const QPoint marker = CellPoint(28) + QPoint(kCellMarkerTopLeft.x, kCellMarkerTopLeft.y);
    EXPECT_EQ(shown(marker.x(), marker.y()), qRgb(0, 0, 0));
    EXPECT_EQ(shown(kColourSwatch.left + 5, kColourSwatch.top + 5), qRgb(0, 0, 255));

    CXColorSpectrumCtrl* spectrum = dialog.spectrum();
    test::Press(spectrum, {0, kSpectrumTop}); // full-saturation red
    test::Release(spectrum, {0, kSpectrumTop});
    EXPECT_EQ(dialog.pickedColour(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(dialog.selectedCell(), 28);
    EXPECT_EQ(shown(marker.x(), marker.y()), qRgb(0, 0, 0));
    EXPECT_EQ(shown(kColourSwatch.left + 5, kColourSwatch.top + 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown(kColourSwatch.right - 1, kColourSwatch.bottom - 1), qRgb(255, 0, 0));
    EXPECT_EQ(fields(),
              (QStringList{QStringLiteral("255"), QStringLiteral("0"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("240"), QStringLiteral("120")}));
}

TEST_F(ColourDialogTest, CancelAndCloseBoxRejectButKeepTheLatestPick) {
    dialog.setPickedColour(MakeColorRef(0, 255, 0));
    QTimer::singleShot(0, &dialog, [this] {
        Click(&dialog, CellPoint(8, 2, 2)); // red
        Button(dialog, QStringLiteral("Cancel"))->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.pickedColour(), MakeColorRef(255, 0, 0));

    QTimer::singleShot(0, &dialog, [this] { Click(&dialog, {kColourDialogCloseBox.right, 8}); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);

    QTimer::singleShot(0, &dialog, [this] { Button(dialog, QStringLiteral("OK"))->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

TEST_F(ColourDialogTest, FieldsAreReadOnly) {
    dialog.setPickedColour(MakeColorRef(10, 20, 30));
    QLineEdit* red = nullptr;
    for (QLineEdit* e : dialog.findChildren<QLineEdit*>()) {
        if (e->geometry().topLeft() == QPoint(kRgbFieldX, kFieldRowY[0])) {
            red = e;
        }
    }
    ASSERT_NE(red, nullptr);
    QTest::keyClicks(red, QStringLiteral("99"));
    EXPECT_EQ(red->text(), QStringLiteral("10"));
    EXPECT_EQ(dialog.pickedColour(), MakeColorRef(10, 20, 30));
}

TEST_F(ColourDialogTest, DraggingFromAFreeSpotMovesTheWindow) {
    dialog.move(100, 100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    const QPoint free(150, 20);
    test::Press(&dialog, free);
    test::Drag(&dialog, free + QPoint(30, 12));
    test::Release(&dialog, free + QPoint(30, 12));
    // Where the window manager takes the move over, the window moves on its own.
    if (dialog.windowHandle()->startSystemMove()) {
        GTEST_SKIP() << "the platform moves the window itself";
    }
    EXPECT_EQ(dialog.pos(), start + QPoint(30, 12));
    EXPECT_EQ(dialog.selectedCell(), FirstPaletteCellOf(kSpectrumInitialColour));
}

TEST_F(ColourDialogTest, FocusFlagsFollowTheKeyboardFocus) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CXColorSpectrumCtrl* spectrum = dialog.spectrum();
    ASSERT_TRUE(spectrum->hasFocus());
    EXPECT_TRUE(spectrum->spectrumHasFocus());

    QTest::keyClick(spectrum, Qt::Key_Tab); // inside the control: on to the bar
    EXPECT_TRUE(spectrum->hasFocus());
    EXPECT_TRUE(spectrum->barHasFocus());
    QTest::keyClick(spectrum, Qt::Key_Tab); // out of the control: both flags clear
    EXPECT_FALSE(spectrum->hasFocus());
    EXPECT_FALSE(spectrum->spectrumHasFocus());
    EXPECT_FALSE(spectrum->barHasFocus());

    // Coming back with Shift+Tab lands on the bar.
    QWidget* before = QApplication::focusWidget();
    ASSERT_NE(before, nullptr);
    QTest::keyClick(before, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(spectrum->hasFocus());
    EXPECT_TRUE(spectrum->barHasFocus());
    EXPECT_FALSE(spectrum->spectrumHasFocus());
}

TEST_F(ColourDialogTest, MissingBackgroundLeavesAUsableDialog) {
    CCustomColorDialog bare(QDir::tempPath() + QStringLiteral("/orvo-colour-no-skin/"));
    EXPECT_EQ(bare.size(), kColourDialogFallbackSize);
    EXPECT_TRUE(QRect(QPoint(), bare.size()).contains(kColourCancelRect));
    EXPECT_TRUE(QRect(QPoint(), bare.size()).contains(kColourSpectrumRect));
}

// Renders the dialog for the README.
TEST_F(ColourDialogTest, Screenshot) {
    dialog.setPickedColour(MakeColorRef(255, 128, 64));
    const QString bin = qEnvironmentVariable("ORVO_BIN_DIR");
    const QString path = (bin.isEmpty() ? QDir::tempPath() : bin + QStringLiteral("/..")) +
                         QStringLiteral("/colour_dialog.png");
    EXPECT_TRUE(dialog.grab().save(path));
}

} // namespace
} // namespace orvo

#include "app/main_sliders.h"
#include "app/slider_drawing.h"
#include "controls/bit_slider.h"
#include "controls/draw_label.h"
#include "controls/image_store.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace orvo {
namespace {

QImage Blank() {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// The smallest rectangle holding every pixel that is not black.
QRect Ink(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::black))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST(DrawFrameTest, CoversBothCornersAndNothingInside) {
    struct Row {
        int x, y, w, h;
    };
    const Row rows[] = {{5, 6, 10, 8}, {20, 20, -10, -5}, {3, 3, 0, 4}};
    for (const Row& row : rows) {
        QImage image = Blank();
        QPainter painter(&image);
        DrawFrame(painter, row.x, row.y, row.w, row.h);
        painter.end();
        const int left = std::min(row.x, row.x + row.w), right = std::max(row.x, row.x + row.w);
        const int top = std::min(row.y, row.y + row.h), bottom = std::max(row.y, row.y + row.h);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool onFrame = (x == left || x == right) && y >= top && y <= bottom;
                const bool onEdge = (y == top || y == bottom) && x >= left && x <= right;
                const QColor expected = onFrame || onEdge ? kFrameColour : QColor(Qt::black);
                ASSERT_EQ(image.pixelColor(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(DrawLabelTest, TextStartsAtItsTopLeftCornerAndKeepsTheBackground) {
    QImage image = Blank();
    QPainter painter(&image);
    DrawLabel(painter, QStringLiteral("Perfil"), 10, 12, 16);
    painter.end();
    const QRect ink = Ink(image);
    ASSERT_FALSE(ink.isNull()) << "nothing drawn";
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.left(), 12);
    EXPECT_GE(ink.top(), 12);
    EXPECT_LE(ink.bottom(), 12 + 16);                     // within the text's height
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black)); // transparent background
}

// A text's height is its font's cell, ascent plus descent: the largest pixel size whose cell
// still fits, never the height itself as the letter size.
TEST(LabelFontTest, TakesTheLargestPixelSizeWhoseCellFitsTheHeight) {
    for (int height : {9, 13, 14, 15, 16, 18}) {
        const QFont font = LabelFont(height);
        const QFontMetrics metrics(font);
        EXPECT_LE(metrics.ascent() + metrics.descent(), height) << height;
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        const QFontMetrics largerMetrics(larger);
        EXPECT_GT(largerMetrics.ascent() + largerMetrics.descent(), height) << height;
        EXPECT_EQ(font.weight(), QFont::Light) << height;
    }
}

TEST(DrawLabelTest, NarrowsOnlyATextThatWouldPassItsRightLimit) {
    const QString text = QStringLiteral("Actualización del firmware");
    const auto draw = [&](int rightLimit) {
        QImage image(300, 30, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        DrawLabel(painter, text, 5, 5, 15, kLabelColour, rightLimit);
        painter.end();
        return image;
    };
    const QImage free = draw(kNoRightLimit);
    const int freeRight = Ink(free).right();
    const int width = freeRight - 5;
    ASSERT_GT(width, 100);

    // A limit the text does not reach changes nothing.
    EXPECT_EQ(draw(freeRight + 3), free);

    // A limit a few pixels short: the text ends before it, narrowed by less than 15 %.
    const QImage narrowed = draw(freeRight - 4);
    EXPECT_LT(Ink(narrowed).right(), freeRight - 4);
    EXPECT_GT(Ink(narrowed).right() - 5, width * 85 / 100);
    EXPECT_EQ(Ink(narrowed).top(), Ink(free).top()); // only the width changes

    // A limit beyond reach: narrowed to 85 % and no further.
    const QRect tightest = Ink(draw(5 + width / 2));
    EXPECT_GE(tightest.right() - 5, width * 85 / 100 - 2);
    EXPECT_LE(tightest.right() - 5, width * 85 / 100 + 2);
}

TEST(SliderThumbPointTest, ShiftsTheThumbsThatNeedIt) {
    ImageStore images(qEnvironmentVariable("ORVO_BIN_DIR") + QStringLiteral("/png/"));
    struct Row {
        int id;
        int position;
        int extraX;
    };
    const Row rows[] = {
        {kSpeedSlider, 0, 0},        {kSpeedSlider, 4, 0},        {kPalmSpeedSlider, 2, 1},
        {kResponseTimeSlider, 0, 3}, {kResponseTimeSlider, 5, 1}, {kReportRateSlider, 0, 2},
        {kReportRateSlider, 2, 0},
    };
    for (const Row& row : rows) {
        CBitSlider slider(&images);
        const auto spec = kSliderPlaces[*SliderIndex(row.id)];
        slider.setup(row.id, QPoint(spec.position.x, spec.position.y), spec.maximum, 1);
        slider.setValue(row.position);
        slider.grab(); // a paint updates the thumb offset
        const QPoint point = SliderThumbPoint(slider);
        EXPECT_EQ(point.x(), slider.thumbOffset().x() + row.extraX)
            << row.id << "@" << row.position;
        EXPECT_EQ(point.y(), slider.thumbOffset().y() + 1);
    }
}

} // namespace
} // namespace orvo

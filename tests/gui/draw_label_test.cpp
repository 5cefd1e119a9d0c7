#include "app/main_sliders.h"
#include "app/slider_drawing.h"
#include "controls/bit_slider.h"
#include "controls/draw_label.h"
#include "controls/image_store.h"

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
    int minX = image.width(), minY = image.height(), maxY = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != QColor(Qt::black)) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    ASSERT_GE(maxY, 0) << "nothing drawn";
    EXPECT_GE(minX, 10);
    EXPECT_LE(minX, 12);
    EXPECT_GE(minY, 12);
    EXPECT_LE(maxY, 12 + 16);                             // within the text's height
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black)); // transparent background
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

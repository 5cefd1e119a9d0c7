#include "controls/bitmap_strip.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvo {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

class DrawPngTest : public ::testing::Test {
protected:
    QString folder() const { return m_dir.path() + u'/'; }

    void writePng(const QString& name, const QImage& image) const {
        ASSERT_TRUE(image.save(folder() + name, "PNG"));
    }

    static QImage Canvas() {
        QImage canvas(8, 4, QImage::Format_RGB32);
        canvas.fill(kWhite);
        return canvas;
    }

    QTemporaryDir m_dir;
};

TEST_F(DrawPngTest, CopiesPixelsWithoutBlending) {
    QImage source(3, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(255, 255, 255, 0)); // transparent white
    source.setPixel(1, 0, qRgba(200, 10, 20, 255));
    source.setPixel(2, 0, qRgba(200, 100, 0, 128));
    writePng(QStringLiteral("a.png"), source);
    const ImageStore images(folder());

    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        DrawPng(painter, images, QStringLiteral("a.png"), 2, 1);
    }
    const struct {
        int x;
        QRgb expected;
    } rows[] = {
        {2, qRgb(0, 0, 0)},     // transparent comes out black, not the canvas below
        {3, qRgb(200, 10, 20)}, // opaque unchanged
        {4, qRgb(100, 50, 0)},  // half transparent: its premultiplied value
        {1, kWhite},            // outside the image nothing changes
        {5, kWhite},
    };
    for (const auto& row : rows)
        EXPECT_EQ(canvas.pixel(row.x, 1), row.expected) << "x " << row.x;
    EXPECT_EQ(canvas.pixel(2, 0), kWhite);
}

TEST_F(DrawPngTest, MissingOrBrokenFileDrawsNothing) {
    QFile broken(folder() + QStringLiteral("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\nnot really");
    broken.close();
    const ImageStore images(folder());
    for (bool caching : {false, true}) {
        ImageStore store(folder());
        store.setCaching(caching);
        for (const QString& name : {QStringLiteral("missing.png"), QStringLiteral("broken.png")}) {
            EXPECT_TRUE(store.image(name).isNull()) << name.toStdString();
            QImage canvas = Canvas();
            {
                QPainter painter(&canvas);
                DrawPng(painter, store, name, 0, 0);
                DrawPngPart(painter, store, name, QRect(0, 0, 4, 4), QPoint(0, 0));
            }
            EXPECT_EQ(canvas, Canvas()) << name.toStdString();
        }
    }
}

TEST_F(DrawPngTest, PartialCopyIsClippedToTheImage) {
    QImage source(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.setPixel(x, y, qRgb(10 * x, 10 * y, 99));
    writePng(QStringLiteral("grid.png"), source);
    const ImageStore images(folder());

    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        // The source starts one column left of the image: that column is skipped and the
        // rest lands where it would have been.
        DrawPngPart(painter, images, QStringLiteral("grid.png"), QRect(-1, 2, 3, 5), QPoint(4, 0));
    }
    EXPECT_EQ(canvas.pixel(4, 0), kWhite);
    EXPECT_EQ(canvas.pixel(5, 0), qRgb(0, 20, 99));
    EXPECT_EQ(canvas.pixel(6, 1), qRgb(10, 30, 99));
    EXPECT_EQ(canvas.pixel(7, 0), kWhite);
    EXPECT_EQ(canvas.pixel(5, 2), kWhite);
}

TEST_F(DrawPngTest, CachedLoadsMatchFreshLoadsAndFollowFileChanges) {
    QImage first(5, 3, QImage::Format_ARGB32);
    first.fill(qRgba(30, 60, 90, 0));
    first.setPixel(1, 1, qRgba(250, 5, 5, 255));
    writePng(QStringLiteral("c.png"), first);

    ImageStore cached(folder());
    cached.setCaching(true);
    const ImageStore fresh(folder());
    EXPECT_EQ(cached.image(QStringLiteral("c.png")), fresh.image(QStringLiteral("c.png")));
    EXPECT_EQ(cached.loadForCopy(QStringLiteral("c.png")),
              fresh.loadForCopy(QStringLiteral("c.png")));
    // Asked twice from the cache: still the same pixels.
    EXPECT_EQ(cached.loadForCopy(QStringLiteral("c.png")),
              fresh.loadForCopy(QStringLiteral("c.png")));

    QImage second(6, 3, QImage::Format_RGB32);
    second.fill(qRgb(1, 2, 3));
    writePng(QStringLiteral("c.png"), second);
    EXPECT_EQ(cached.loadForCopy(QStringLiteral("c.png")).size(), QSize(6, 3));
    EXPECT_EQ(cached.loadForCopy(QStringLiteral("c.png")).pixel(0, 0), qRgb(1, 2, 3));

    ASSERT_TRUE(QFile::remove(folder() + QStringLiteral("c.png")));
    EXPECT_TRUE(cached.image(QStringLiteral("c.png")).isNull());
}

TEST(BitmapStripTest, FramesFollowTheLayout) {
    const struct {
        QSize image;
        QSize frame;
        int count;
        bool vertical;
        int index;
        QRect expected;
    } rows[] = {
        {{45, 14}, {15, 14}, 3, false, 2, {30, 0, 15, 14}},
        {{15, 42}, {15, 14}, 3, true, 1, {0, 14, 15, 14}},
        {{221, 16}, {0, 0}, 1, false, 0, {0, 0, 221, 16}},
        {{45, 14}, {15, 14}, 3, false, 7, {30, 0, 15, 14}}, // past the end: the last frame
        {{44, 14}, {15, 14}, 2, false, 1, {15, 0, 15, 14}}, // a partial frame is not one
    };
    for (const auto& row : rows) {
        QImage image(row.image, QImage::Format_RGB32);
        image.fill(Qt::red);
        const BitmapStrip strip(image, row.frame.width(), row.frame.height());
        EXPECT_EQ(strip.frameCount(), row.count);
        EXPECT_EQ(strip.vertical(), row.vertical);
        EXPECT_EQ(strip.frameRect(row.index), row.expected);
    }
    const BitmapStrip empty(QImage(), 15, 14);
    EXPECT_EQ(empty.frameCount(), 0);
    EXPECT_TRUE(empty.frameRect(0).isNull());
}

} // namespace
} // namespace orvo

#include "controls/image_store.h"
#include "controls/skinned_window.h"

#include <QApplication>
#include <QBitmap>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace orvo {
namespace {

// A window that counts the presses and releases that reach it.
struct Window : QWidget {
    int presses = 0;
    int releases = 0;
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

// A mouse event at a point of the screen.
void Send(QWidget& w, QEvent::Type type, QPoint screen, Qt::MouseButtons held,
          Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, QPointF(w.mapFromGlobal(screen)), QPointF(screen), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

class SkinnedWindowTest : public testing::Test {
protected:
    SkinnedWindowTest() : images(dir.path() + QStringLiteral("/")) {
        // A 40 x 20 background, and a shape whose left half is pure white except one pixel
        // that is almost white.
        QImage background(40, 20, QImage::Format_RGB32);
        background.fill(Qt::darkGray);
        background.save(dir.filePath(QStringLiteral("back.png")));
        QImage shape(40, 20, QImage::Format_RGB32);
        shape.fill(Qt::black);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                shape.setPixel(x, y, qRgb(255, 255, 255));
        shape.setPixel(5, 5, qRgb(255, 255, 254));
        shape.save(dir.filePath(QStringLiteral("shape.png")));
    }

    QTemporaryDir dir;
    ImageStore images;
    Window window;
};

TEST_F(SkinnedWindowTest, TheShapeCutsAwayExactlyThePureWhitePixels) {
    SkinnedWindow skin(window, images, u"back.png", u"shape.png");
    EXPECT_EQ(window.size(), QSize(40, 20));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    const QRegion mask = window.mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(19, 19)));
    EXPECT_TRUE(mask.contains(QPoint(5, 5)));
    EXPECT_TRUE(mask.contains(QPoint(20, 0)));
    EXPECT_TRUE(mask.contains(QPoint(39, 19)));

    Window plain;
    SkinnedWindow rectangular(plain, images, u"back.png");
    EXPECT_TRUE(plain.mask().isEmpty());
    Window bare;
    SkinnedWindow missing(bare, images, u"none.png", {}, QSize(30, 12));
    EXPECT_EQ(bare.size(), QSize(30, 12));
}

TEST_F(SkinnedWindowTest, OnlyPressesOnFreeSpotsDragAndTheEndOfADragIsNoClick) {
    SkinnedWindow skin(window, images, u"back.png");
    skin.setFreeSpots([](QPoint p) { return p.x() >= 20; });
    window.move(100, 100);
    window.show();
    if (window.windowHandle()->startSystemMove())
        GTEST_SKIP() << "the platform moves the window itself";
    const int far = QApplication::startDragDistance() + 5;
    struct Row {
        QPoint press;
        int distance;
        bool moves;
    };
    const Row rows[] = {
        {{30, 5}, far, true},  // a free spot dragged far enough
        {{30, 5}, 1, false},   // a free spot barely moved: still a click
        {{10, 5}, far, false}, // not a free spot: the window handles the drag itself
    };
    for (const Row& row : rows) {
        const QPoint start = window.pos();
        window.presses = window.releases = 0;
        const QPoint press = start + row.press;
        const QPoint to = press + QPoint(row.distance, 0);
        Send(window, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        Send(window, QEvent::MouseMove, to, Qt::LeftButton);
        Send(window, QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(window.pos(), row.moves ? start + QPoint(row.distance, 0) : start)
            << row.press.x() << "+" << row.distance;
        EXPECT_EQ(window.presses, 1);
        EXPECT_EQ(window.releases, row.moves ? 0 : 1);
    }
}

TEST_F(SkinnedWindowTest, AMoveTheWindowStartsFollowsThePointerFromThePressPoint) {
    SkinnedWindow skin(window, images, u"back.png");
    window.move(200, 50);
    window.show();
    if (window.windowHandle()->startSystemMove())
        GTEST_SKIP() << "the platform moves the window itself";
    const QPoint start = window.pos();
    Send(window, QEvent::MouseButtonPress, start + QPoint(10, 4), Qt::LeftButton, Qt::LeftButton);
    Send(window, QEvent::MouseMove, start + QPoint(12, 9), Qt::LeftButton);
    skin.startMove(QPoint(10, 4));
    EXPECT_EQ(window.pos(), start + QPoint(2, 5));
    Send(window, QEvent::MouseMove, start + QPoint(13, 9), Qt::LeftButton);
    EXPECT_EQ(window.pos(), start + QPoint(3, 5));
    Send(window, QEvent::MouseButtonRelease, start + QPoint(13, 9), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.releases, 0);
    // The move has ended: the pointer no longer carries the window.
    Send(window, QEvent::MouseMove, start + QPoint(30, 30), Qt::NoButton);
    EXPECT_EQ(window.pos(), start + QPoint(3, 5));
}

} // namespace
} // namespace orvo

#include "controls/bit_slider.h"
#include "controls/bit_wnd.h"
#include "controls/image_store.h"
#include "controls/skin_resources.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace orvo {
namespace {

class BitSliderTest : public ::testing::Test {
protected:
    BitSliderTest()
        : m_images(qEnvironmentVariable("ORVO_BIN_DIR") + QStringLiteral("/png/")),
          m_slider(&m_images) {
        QObject::connect(&m_slider, &CBitSlider::sliderChanged, &m_slider,
                         [this](int id) { m_reports.push_back(id); });
    }

    void click(int x, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF at(x, 8);
        const QPointF global = m_slider.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(&m_slider, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(&m_slider, &release);
    }

    ImageStore m_images;
    CBitSlider m_slider;
    std::vector<int> m_reports;
};

TEST_F(BitSliderTest, SetupPlacesAndSizesTheSliderToItsTrack) {
    m_slider.setup(1018, QPoint(34, 465), 9, 1);
    EXPECT_EQ(m_slider.geometry(), QRect(QPoint(34, 465), kTrackSize));
    EXPECT_EQ(m_slider.minimum(), 0);
    EXPECT_EQ(m_slider.maximum(), 9);
    EXPECT_EQ(m_slider.singleStep(), 1);
    EXPECT_EQ(m_slider.pageStep(), 1);
    EXPECT_EQ(m_slider.value(), 1);
    EXPECT_EQ(m_slider.controlId(), 1018);
    EXPECT_FALSE(m_slider.filledTrack().isNull());
    EXPECT_FALSE(m_slider.emptyTrack().isNull());

    // Preparing again (as every redraw does) keeps the one hidden thumb holder.
    CBitWnd* const thumb = m_slider.thumbWindow();
    ASSERT_NE(thumb, nullptr);
    m_slider.setup(1018, QPoint(34, 465), 9, std::nullopt);
    EXPECT_EQ(m_slider.thumbWindow(), thumb);
    EXPECT_EQ(m_slider.value(), 1);
    EXPECT_TRUE(thumb->isHidden());
    EXPECT_EQ(thumb->size(), kThumbFrameSize);
    EXPECT_EQ(thumb->strip().frameCount(), kThumbStripFrames);
}

TEST_F(BitSliderTest, WithoutPicturesTheSliderStillTakesTheTrackSize) {
    const ImageStore none(QStringLiteral("/nonexistent/"));
    CBitSlider slider(&none);
    slider.setup(1007, QPoint(31, 204), 9, std::nullopt);
    EXPECT_EQ(slider.size(), kTrackSize);
    EXPECT_EQ(slider.thumbWindow()->size(), kThumbFrameSize);
}

TEST_F(BitSliderTest, ClickJumpsToTheRoundedValue) {
    const struct {
        int maximum;
        int d; // pixels right of the channel's left edge; -1 means the channel's right edge
        int expected;
    } rows[] = {
        {50, 0, 0},  {50, -1, 50}, {9, 0, 0},
        {9, -1, 9},  {3, -1, 3},   {3, 35, 1}, // exactly half a step (210 / 3 / 2): rounds up
        {3, 34, 0},                            // just under half a step
        {10, 11, 1},                           // 0.52 of a step
        {10, 10, 0},                           // 0.48 of a step
        {4, 400, 4},                           // beyond the end: the maximum
        {4, -6, 0},                            // left of the channel: the minimum
    };
    for (const auto& row : rows) {
        m_slider.setup(1017, QPoint(0, 0), row.maximum, 2);
        const QRect channel = m_slider.channelRect();
        ASSERT_EQ(channel.right() - channel.left(), 210);
        const int x = row.d == -1 ? channel.right() : channel.left() + row.d;
        click(x);
        EXPECT_EQ(m_slider.value(), row.expected) << "max " << row.maximum << " d " << row.d;
    }
}

TEST_F(BitSliderTest, WheelAndRightClickChangeNothingButKeysStillStep) {
    m_slider.setup(1010, QPoint(34, 520), 3, 1);
    const QPointF at(100, 8);
    QWheelEvent wheel(at, m_slider.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&m_slider, &wheel);
    EXPECT_EQ(m_slider.value(), 1);
    click(200, Qt::RightButton);
    EXPECT_EQ(m_slider.value(), 1);

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_slider, &right);
    EXPECT_EQ(m_slider.value(), 2);
}

TEST_F(BitSliderTest, ReportsOnEveryPaintAndMouseMove) {
    m_slider.setup(1037, QPoint(31, 415), 50, 0);
    m_reports.clear();
    QPaintEvent paint(m_slider.rect());
    QCoreApplication::sendEvent(&m_slider, &paint);
    for (int i = 0; i < 2; ++i) {
        // The same point twice: a report each time, the owner decides whether to redraw.
        const QPointF at(40, 8);
        QMouseEvent move(QEvent::MouseMove, at, m_slider.mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&m_slider, &move);
    }
    EXPECT_EQ(m_reports, (std::vector<int>{1037, 1037, 1037}));
    EXPECT_EQ(CBitSlider::kChangedMessage, 0x779u);
}

TEST_F(BitSliderTest, ThumbPictureTravelsTheWholeTrack) {
    for (int maximum : {3, 4, 9, 50}) {
        m_slider.setup(1007, QPoint(0, 0), maximum, 0);
        int previous = -1;
        for (int position = 0; position <= maximum; ++position) {
            m_slider.setValue(position);
            QPaintEvent paint(m_slider.rect());
            QCoreApplication::sendEvent(&m_slider, &paint);
            const QPoint offset = m_slider.thumbOffset();
            EXPECT_EQ(offset.x(), CBitSlider::ThumbOffsetAt(position, maximum));
            EXPECT_EQ(offset.y(), 0);
            EXPECT_GT(offset.x(), previous);
            previous = offset.x();
        }
        // From the track's first column to where the picture ends at its last.
        EXPECT_EQ(CBitSlider::ThumbOffsetAt(0, maximum), 0);
        EXPECT_EQ(CBitSlider::ThumbOffsetAt(maximum, maximum),
                  kTrackSize.width() - kThumbFrameSize.width());
    }
}

TEST_F(BitSliderTest, ThumbOffsetFollowsTheValueBeforeTheNextPaint) {
    // A window composes right after setting a slider from the keyboard's values; the thumb
    // must already be where the new value puts it, not where the last paint left it.
    m_slider.setup(1017, QPoint(0, 0), 50, 1);
    QPaintEvent paint(m_slider.rect());
    QCoreApplication::sendEvent(&m_slider, &paint);
    m_slider.setValue(50);
    EXPECT_EQ(m_slider.thumbOffset().x(), CBitSlider::ThumbOffsetAt(50, 50));
}

} // namespace
} // namespace orvo

namespace orvo {
namespace {

// Drives a bitmap button through hover, press and release and reads its frame and clicks.
TEST(BitWndTest, FramesFollowHoverPressAndToggle) {
    const struct {
        int frames;
        bool toggle;
        bool notifyOnPress;
        std::vector<int> expected; // frame after enter, press, release, leave
        int clicksAfterPress;
        bool toggledAtEnd;
    } rows[] = {
        {3, false, false, {1, 1, 1, 0}, 0, false},
        {1, false, false, {0, 0, 0, 0}, 0, false},
        {3, true, false, {1, 2, 2, 2}, 0, true}, // toggled stays on its pressed frame
        {2, true, true, {1, 0, 0, 2}, 1, true},  // a two-frame strip has no pressed frame
    };
    for (const auto& row : rows) {
        QImage image(15 * row.frames, 14, QImage::Format_RGB32);
        image.fill(Qt::gray);
        CBitWnd button;
        button.setControlId(42);
        button.setToggleMode(row.toggle);
        button.setNotifyOnPress(row.notifyOnPress);
        button.setStrip(BitmapStrip(image, 15, 14));
        EXPECT_EQ(button.size(), QSize(15, 14));
        std::vector<int> clicks;
        QObject::connect(&button, &CBitWnd::clicked, &button,
                         [&clicks](int id) { clicks.push_back(id); });

        std::vector<int> frames;
        const QPointF at(5, 5);
        QEnterEvent enter(at, at, at);
        QCoreApplication::sendEvent(&button, &enter);
        frames.push_back(button.currentFrame());
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &press);
        frames.push_back(button.currentFrame());
        EXPECT_EQ(static_cast<int>(clicks.size()), row.clicksAfterPress);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &release);
        frames.push_back(button.currentFrame());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        frames.push_back(button.currentFrame());

        EXPECT_EQ(frames, row.expected) << "frames " << row.frames << " toggle " << row.toggle;
        EXPECT_EQ(clicks, std::vector<int>{42});
        EXPECT_EQ(button.isToggled(), row.toggledAtEnd);
    }
}

} // namespace
} // namespace orvo

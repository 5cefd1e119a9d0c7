#pragma once
// A picture cut into equal frames, side by side or stacked (taller than wide means
// stacked). The bitmap button shows one frame of it; the slider keeps its tracks in
// one-frame strips.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;

namespace orvo {

class BitmapStrip {
public:
    BitmapStrip() = default;
    // A frame width or height of 0 takes the whole picture's width or height.
    BitmapStrip(QImage image, int frameWidth, int frameHeight);

    bool isNull() const { return m_image.isNull(); }
    const QImage& image() const { return m_image; }
    QSize frameSize() const { return m_frameSize; }
    bool vertical() const { return m_vertical; }
    int frameCount() const { return m_frameCount; }
    // Frame i inside the picture; an index past the last frame gives the last frame.
    QRect frameRect(int frame) const;

    // Copies one frame unblended to `at`; a null strip draws nothing.
    void drawFrame(QPainter& target, int frame, QPoint at) const;

private:
    QImage m_image;
    QSize m_frameSize;
    bool m_vertical = false;
    int m_frameCount = 0;
};

} // namespace orvo

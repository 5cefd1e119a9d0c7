#include "controls/bitmap_strip.h"

#include "controls/draw_png.h"
#include "controls/image_store.h"

#include <algorithm>
#include <utility>

namespace orvo {

BitmapStrip::BitmapStrip(QImage image, int frameWidth, int frameHeight)
    : m_image(OpaqueImage(image)) {
    if (m_image.isNull())
        return;
    const int width = m_image.width();
    const int height = m_image.height();
    m_frameSize = QSize(frameWidth > 0 ? std::min(frameWidth, width) : width,
                        frameHeight > 0 ? std::min(frameHeight, height) : height);
    m_vertical = height > width;
    m_frameCount = m_vertical ? height / m_frameSize.height() : width / m_frameSize.width();
}

QRect BitmapStrip::frameRect(int frame) const {
    if (m_frameCount == 0)
        return {};
    const int index = std::clamp(frame, 0, m_frameCount - 1);
    const QPoint origin = m_vertical ? QPoint(0, index * m_frameSize.height())
                                     : QPoint(index * m_frameSize.width(), 0);
    return QRect(origin, m_frameSize);
}

void BitmapStrip::drawFrame(QPainter& target, int frame, QPoint at) const {
    if (m_frameCount == 0)
        return;
    DrawImageOpaque(target, m_image, frameRect(frame), at);
}

} // namespace orvo

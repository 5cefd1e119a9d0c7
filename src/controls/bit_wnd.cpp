#include "controls/bit_wnd.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace orvo {

CBitWnd::CBitWnd(QWidget* parent) : QWidget(parent) {
    // The frame covers the whole button; there is nothing to erase underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBitWnd::setStrip(BitmapStrip strip, QSize fallback) {
    m_strip = std::move(strip);
    m_frame = 0;
    resize(m_strip.isNull() ? fallback : m_strip.frameSize());
    update();
}

void CBitWnd::showFrame(int frame) {
    m_frame = frame;
    update();
}

void CBitWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    m_strip.drawFrame(painter, m_frame, QPoint(0, 0));
}

void CBitWnd::enterEvent(QEnterEvent* /*event*/) {
    const int frames = m_strip.frameCount();
    showFrame(m_toggled ? 2 : (frames > 1 ? 1 : 0));
}

void CBitWnd::leaveEvent(QEvent* /*event*/) {
    const int frames = m_strip.frameCount();
    showFrame(frames <= 1 ? 0 : (m_toggled ? 2 : 0));
}

void CBitWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (m_toggleMode) {
        const bool wasToggled = m_toggled;
        m_toggled = !m_toggled;
        showFrame(!wasToggled && m_strip.frameCount() > 2 ? 2 : 0);
    }
    if (m_notifyOnPress)
        Q_EMIT clicked(m_controlId);
}

void CBitWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    if (!m_toggled)
        showFrame(m_strip.frameCount() > 1 ? 1 : 0);
    if (!m_notifyOnPress)
        Q_EMIT clicked(m_controlId);
}

} // namespace orvo

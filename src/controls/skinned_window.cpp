#include "controls/skinned_window.h"

#include "controls/image_store.h"

#include <QApplication>
#include <QBitmap>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace orvo {

namespace {
// Pixels of this colour in a shape picture lie outside the window.
constexpr QRgb kCutOutColour = qRgb(255, 255, 255);
} // namespace

SkinnedWindow::SkinnedWindow(QWidget& window, const ImageStore& images, QStringView background,
                             QStringView shape, QSize fallbackSize)
    : QObject(&window), m_window(window), m_images(images), m_background(background.toString()),
      m_shape(shape.toString()), m_fallbackSize(fallbackSize) {
    m_window.setWindowFlag(Qt::FramelessWindowHint);
    m_window.installEventFilter(this);
    applySkin();
}

void SkinnedWindow::setFreeSpots(std::function<bool(QPoint)> isFree) {
    m_isFree = std::move(isFree);
}

QSize SkinnedWindow::backgroundSize() const {
    // The header is enough: the picture itself is decoded when the window is painted.
    const QSize size = PngSize(m_images.path(m_background));
    return size.isValid() ? size : m_fallbackSize;
}

QImage SkinnedWindow::backgroundPicture() const {
    QImage picture = m_images.loadForCopy(m_background);
    picture.detach(); // the store may share its cached copy
    return picture;
}

QImage SkinnedWindow::shapePicture() const {
    if (m_shape.isEmpty())
        return {};
    const QImage picture = m_images.image(m_shape);
    if (picture.isNull())
        return {};
    return picture.convertToFormat(QImage::Format_RGB32)
        .createMaskFromColor(kCutOutColour, Qt::MaskInColor);
}

void SkinnedWindow::applySkin() {
    m_window.setFixedSize(backgroundSize());
    const QImage shape = shapePicture();
    if (shape.isNull())
        m_window.clearMask();
    else
        m_window.setMask(QBitmap::fromImage(shape));
}

void SkinnedWindow::startMove(QPoint pressPoint) {
    m_armed = false;
    beginMove(pressPoint);
}

void SkinnedWindow::beginMove(QPoint pressPoint) {
    if (QWindow* handle = m_window.windowHandle(); handle && handle->startSystemMove())
        return;
    m_following = true;
    m_grabPoint = pressPoint;
    m_window.move(m_lastGlobal - m_grabPoint);
}

bool SkinnedWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        applySkin();
        return false;
    case QEvent::MouseButtonPress:
        return mousePress(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseMove:
        return mouseMove(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonRelease:
        return mouseRelease(static_cast<const QMouseEvent&>(*event));
    default:
        return false;
    }
}

bool SkinnedWindow::mousePress(const QMouseEvent& event) {
    m_lastGlobal = event.globalPosition().toPoint();
    if (event.button() != Qt::LeftButton)
        return false;
    const QPoint p = event.position().toPoint();
    m_armed = m_isFree && m_isFree(p);
    m_pressGlobal = m_lastGlobal;
    m_pressPoint = p;
    return false; // the window still sees the press
}

bool SkinnedWindow::mouseMove(const QMouseEvent& event) {
    m_lastGlobal = event.globalPosition().toPoint();
    if (m_following) {
        m_window.move(m_lastGlobal - m_grabPoint);
        return true;
    }
    if (!m_armed || !(event.buttons() & Qt::LeftButton))
        return false;
    if ((m_lastGlobal - m_pressGlobal).manhattanLength() < QApplication::startDragDistance())
        return true; // not a drag yet, and not a move the window should act on either
    m_armed = false;
    beginMove(m_pressPoint);
    return true;
}

bool SkinnedWindow::mouseRelease(const QMouseEvent& event) {
    m_lastGlobal = event.globalPosition().toPoint();
    if (event.button() != Qt::LeftButton)
        return false;
    m_armed = false;
    if (!m_following)
        return false;
    // The end of a drag is no click.
    m_following = false;
    return true;
}

} // namespace orvo

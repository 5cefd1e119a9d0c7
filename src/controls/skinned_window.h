#pragma once
// The skin of a borderless window painted from pictures. Attached to the window (a QWidget or
// a QDialog), it takes the window's frame away, sizes the window to its background picture,
// cuts the window's shape out of a region picture (its pure-white pixels are cut away), and
// moves the window when the user drags it. A window only names its pictures and, when presses
// on some of its spots are clicks rather than drags, says which spots are free:
//
//     CKeyMap::CKeyMap(const ImageStore& images, QWidget* parent)
//         : QDialog(parent), m_skin(*this, images, u"Custom/Custom_BK.png", kKeymapShapeImage) {
//         m_skin.setFreeSpots([this](QPoint p) { return hitTest(p) < 0; });
//     }
//
// The window paints itself (background picture first, see backgroundPicture()). It still
// receives every press, and every release that did not end a drag.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringView>

#include <functional>

class QMouseEvent;
class QWidget;

namespace orvo {

class ImageStore;

class SkinnedWindow : public QObject {
    Q_OBJECT
public:
    // `background` and `shape` name pictures of `images`; no shape leaves the window
    // rectangular. A missing background leaves the window at `fallbackSize`.
    SkinnedWindow(QWidget& window, const ImageStore& images, QStringView background,
                  QStringView shape = {}, QSize fallbackSize = QSize(0, 0));

    // Presses at points this says are free drag the window once the pointer has moved a
    // little; presses elsewhere never do. Without it no press drags by itself.
    void setFreeSpots(std::function<bool(QPoint)> isFree);
    // Moves the window with the pointer from now until the button is released, as if its
    // title bar had been pressed at `pressPoint` (window coordinates). The window manager
    // moves it where it can.
    void startMove(QPoint pressPoint);

    // The background picture's size (read from the file's header), or the fallback size.
    QSize backgroundSize() const;
    // The background picture as it is copied onto a canvas (null when missing).
    QImage backgroundPicture() const;
    // The window's shape: every pixel of the shape picture that is not pure white, or null
    // when there is no shape picture.
    QImage shapePicture() const;

    // Sizes the window to its background and applies its shape again (the window does so
    // when it is shown; call it after the pictures changed).
    void applySkin();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mousePress(const QMouseEvent& event);
    bool mouseMove(const QMouseEvent& event);
    bool mouseRelease(const QMouseEvent& event);
    // Hands the move to the window manager, else follows the pointer itself.
    void beginMove(QPoint pressPoint);

    QWidget& m_window;
    const ImageStore& m_images;
    QString m_background;
    QString m_shape;
    QSize m_fallbackSize;
    std::function<bool(QPoint)> m_isFree;
    QPoint m_lastGlobal;  // the pointer's latest screen position
    QPoint m_pressGlobal; // where a free-spot press landed, on the screen
    QPoint m_pressPoint;  // the same point in window coordinates
    QPoint m_grabPoint;   // the window point that follows the pointer
    bool m_armed = false; // a free-spot press may become a drag
    bool m_following = false;
};

} // namespace orvo

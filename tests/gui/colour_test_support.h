#pragma once
// Helpers shared by the colour GUI tests: synthetic mouse events and the skin folder.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

namespace orvo::test {

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, mods);
    QCoreApplication::sendEvent(widget, &event);
}

inline void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonPress, p, b, b);
}
inline void Release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void Click(QWidget* w, QPoint p) {
    Press(w, p);
    Release(w, p);
}
inline void Drag(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

// The generated skin when it was built, else an empty folder (the dialog then falls back).
inline QString SkinFolder() {
    const QString bin = qEnvironmentVariable("ORVO_BIN_DIR");
    const QString png = bin + QStringLiteral("/png/");
    if (!bin.isEmpty() && QFileInfo::exists(png + QStringLiteral("Color_BK.png"))) {
        return png;
    }
    return QDir::tempPath() + QStringLiteral("/orvo-colour-no-skin/");
}

} // namespace orvo::test

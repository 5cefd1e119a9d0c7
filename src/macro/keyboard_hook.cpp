#include "macro/keyboard_hook.h"

#include "macro/virtual_key.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace orvo {

KeyboardHook::KeyboardHook(QObject* parent) : QObject(parent) {}

KeyboardHook::~KeyboardHook() {
    removehook();
}

bool KeyboardHook::installhook(QWidget* window, int mode) {
    QCoreApplication* app = QCoreApplication::instance();
    if (window == nullptr || app == nullptr ||
        (mode != kHookStrokes && mode != kHookPressAndRelease))
        return false;
    if (m_window == nullptr)
        app->installEventFilter(this);
    m_window = window;
    m_mode = mode;
    return true;
}

void KeyboardHook::removehook() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    m_window = nullptr;
}

bool KeyboardHook::isOurs(QObject* watched) const {
    if (m_window == nullptr || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    return widget == m_window || m_window->isAncestorOf(widget);
}

bool KeyboardHook::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    if (!isOurs(watched))
        return false;
    // Claiming the key keeps a shortcut from firing; the key press itself follows.
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool released = type == QEvent::KeyRelease;
    const bool repeat = key.isAutoRepeat();
    // An auto-repeat arrives on some platforms as a release and a press; the key stays down,
    // so only the press is a report, and only in the mode that wants repeats.
    if ((released && repeat) || (m_mode == kHookStrokes && (released || repeat)))
        return true;
    const std::uint8_t virtualKey = VirtualKeyOf(key);
    if (virtualKey == 0)
        return true;
    std::uint32_t flags = kHookRepeatCount;
    if (released)
        flags |= kHookKeyWasDown | kHookKeyReleased;
    else if (repeat)
        flags |= kHookKeyWasDown;
    Q_EMIT hookEvent(m_window, virtualKey, flags);
    return true;
}

} // namespace orvo

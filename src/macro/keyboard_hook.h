#pragma once
// The keyboard hook: while a window holds it, every key pressed or released in that window or
// one of its child widgets is reported to it as a Windows virtual-key code of the physical
// key, and kept from the widgets (typing into an edit, Enter and Escape ending a dialog, and
// shortcuts all stay out of the way). Keys typed into other windows, such as a message box
// over the holder, are neither reported nor kept, so those windows stay usable.
//
// The application owns one hook; the key assignment dialog and the macro manager install it
// in turn (they are modal and never open together).

#include <QObject>
#include <QPointer>

#include <cstdint>

class QWidget;

namespace orvo {

enum HookMode : int {
    kHookStrokes = 0,         // each stroke once, when the key goes down; repeats are dropped
    kHookPressAndRelease = 1, // presses (auto-repeat included) and releases
};

// Keystroke flags of a report, as the key messages of Windows carry them.
inline constexpr std::uint32_t kHookRepeatCount = 1;        // bits 0..15: one stroke
inline constexpr std::uint32_t kHookKeyWasDown = 1u << 30;  // a repeat or a release
inline constexpr std::uint32_t kHookKeyReleased = 1u << 31; // the key went up

class KeyboardHook : public QObject {
    Q_OBJECT
public:
    explicit KeyboardHook(QObject* parent = nullptr);
    ~KeyboardHook() override;

    // Reports go to `window` from now on, in `mode`; a second install moves the hook to the new
    // window. False without a window, an application object or a known mode.
    bool installhook(QWidget* window, int mode);
    // No reports arrive after this returns.
    void removehook();

    bool isInstalled() const { return m_window != nullptr; }
    QWidget* window() const { return m_window; }
    int mode() const { return m_mode; }

Q_SIGNALS:
    // A key of `window`, the window that installed the hook; receivers compare it with
    // themselves. virtualKey is the key-table index 1..255.
    void hookEvent(QWidget* window, int virtualKey, quint32 flags);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOurs(QObject* watched) const;

    QPointer<QWidget> m_window;
    int m_mode = kHookStrokes;
};

} // namespace orvo

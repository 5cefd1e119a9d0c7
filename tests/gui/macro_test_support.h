#pragma once
// Driving the macro manager as a user would: clicks at its coordinates, key strokes into it
// (the keyboard hook takes them), and answers to its questions.

#include "app/prompts.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <vector>

namespace orvo::test {

// Answers every question with `answer` and remembers what was asked and told.
struct MacroPrompts : Prompts {
    bool answer = true;
    std::vector<QString> asked; // "caption|text", questions and notes alike

    bool confirm(const QString& caption, const QString& text) override {
        asked.push_back(caption + u'|' + text);
        return answer;
    }
    void warn(const QString& caption, const QString& text) override {
        asked.push_back(caption + u'|' + text);
    }
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
};

inline void SendMouse(QWidget& to, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent event(type, at, to.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&to, &event);
}

inline void ClickAt(QWidget& to, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(to, QEvent::MouseButtonPress, {x, y}, button, button);
    SendMouse(to, QEvent::MouseButtonRelease, {x, y}, button, Qt::NoButton);
}

inline void HoverAt(QWidget& to, int x, int y) {
    SendMouse(to, QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::NoButton);
}

// A key going down or up in the widget that has the focus in `window`.
inline void KeyInto(QWidget& window, int key, bool release = false) {
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    QKeyEvent event(release ? QEvent::KeyRelease : QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace orvo::test

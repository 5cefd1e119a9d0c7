#pragma once
// A cursor shown over the whole program for as long as the object lives: the wait cursor
// while the keyboard works, the arrow over a question asked meanwhile.

#include <QApplication>

namespace orvo {

class OverrideCursor {
public:
    explicit OverrideCursor(Qt::CursorShape shape) { QApplication::setOverrideCursor(shape); }
    ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

} // namespace orvo

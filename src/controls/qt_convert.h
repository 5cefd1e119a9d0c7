#pragma once
// Between the core's plain points, rectangles and UTF-16 texts and Qt's.

#include "model/window_layout.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>

#include <string_view>

namespace orvo {

inline QPoint ToQPoint(Point p) {
    return {p.x, p.y};
}

// The pixel a (possibly fractional) pointer position falls on.
inline Point ToPoint(const QPointF& p) {
    return {qRound(p.x()), qRound(p.y())};
}

// Both corners of an inclusive rectangle lie inside it, as in a QRect.
inline QRect ToQRect(const InclusiveRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace orvo

#pragma once
// Text and frame drawing shared by every painted window.

#include "model/window_layout.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringView>

class QPainter;

namespace orvo {

// Texts are drawn in "Arial" (Liberation Sans where Arial is missing), weight 300.
inline constexpr auto kLabelFontFamily = u"Arial";
inline constexpr int kLabelFontWeight = 300;
inline constexpr QColor kLabelColour{255, 255, 255};
// Selection, band and hover frames.
inline constexpr QColor kFrameColour{6, 169, 226};

// A text may be narrowed to this width (percent) to end before its right limit, no further.
inline constexpr int kNarrowestLabelStretch = 85;
// A text without a right limit.
inline constexpr int kNoRightLimit = 0;
// Room left between a text and a picture or frame that follows it on its row.
inline constexpr int kLabelGap = 2;

// A font's cell height: ascent plus descent.
int CellHeight(const QFont& font);

// The font of a text `height` pixels high. The height is the font's cell, ascent plus
// descent, as the skin's texts were laid out: the largest pixel size whose cell fits it.
QFont LabelFont(int height);

// LabelFont(height), narrowed only as far as `text`, starting at x, needs to end before the
// column `rightLimit` (never below kNarrowestLabelStretch; kNoRightLimit: not narrowed).
QFont FittedLabelFont(const QString& text, int x, int height, int rightLimit);

// Draws `text` with its top-left corner at (x, y), `height` pixels high, on a transparent
// background; with a right limit, narrowed to end before that column (FittedLabelFont).
void DrawLabel(QPainter& canvas, const QString& text, int x, int y, int height,
               QColor colour = kLabelColour, int rightLimit = kNoRightLimit);

// A text of a window: where it goes, how high it is and the first column it must not reach
// (the next text, control or the panel's edge).
struct PlacedText {
    QStringView text;
    Point at;
    int height;
    int rightLimit = kNoRightLimit;
};
void DrawLabel(QPainter& canvas, const PlacedText& text, QColor colour = kLabelColour);

// For tests that check where texts go: every DrawLabel call, as it was made.
struct DrawnLabel {
    QString text;
    Point at;
    int height;
    int rightLimit;
};
using LabelObserver = void (*)(const DrawnLabel& label);
// Each DrawLabel call is reported to `observer` (nullptr: none) from the drawing thread.
void SetLabelObserver(LabelObserver observer);

// A one-pixel frame around the rectangle from (x, y) to (x + width, y + height), both corners
// included.
void DrawFrame(QPainter& canvas, int x, int y, int width, int height);

} // namespace orvo

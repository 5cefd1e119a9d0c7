#pragma once
// Text and frame drawing shared by every painted window.

#include <QColor>
#include <QString>

class QPainter;

namespace orvo {

// Texts are drawn in "Arial" (Liberation Sans where Arial is missing), weight 300.
inline constexpr auto kLabelFontFamily = u"Arial";
inline constexpr int kLabelFontWeight = 300;
inline constexpr QColor kLabelColour{255, 255, 255};
// Selection, band and hover frames.
inline constexpr QColor kFrameColour{6, 169, 226};

// Draws `text` with its top-left corner at (x, y), `height` pixels high, on a transparent
// background.
void DrawLabel(QPainter& canvas, const QString& text, int x, int y, int height,
               QColor colour = kLabelColour);

// A one-pixel frame around the rectangle from (x, y) to (x + width, y + height), both corners
// included.
void DrawFrame(QPainter& canvas, int x, int y, int width, int height);

} // namespace orvo

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

// The font of a text `height` pixels high.
QFont LabelFont(int height);

// Draws `text` with its top-left corner at (x, y), `height` pixels high, on a transparent
// background.
void DrawLabel(QPainter& canvas, const QString& text, int x, int y, int height,
               QColor colour = kLabelColour);

// A text of a window: where it goes and how high it is.
struct PlacedText {
    QStringView text;
    Point at;
    int height;
};
void DrawLabel(QPainter& canvas, const PlacedText& text);

// A one-pixel frame around the rectangle from (x, y) to (x + width, y + height), both corners
// included.
void DrawFrame(QPainter& canvas, int x, int y, int width, int height);

} // namespace orvo

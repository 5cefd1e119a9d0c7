#include "controls/draw_label.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace orvo {

QFont LabelFont(int height) {
    QFont font(QString::fromUtf16(kLabelFontFamily));
    font.setPixelSize(height);
    font.setWeight(static_cast<QFont::Weight>(kLabelFontWeight));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void DrawLabel(QPainter& canvas, const QString& text, int x, int y, int height, QColor colour) {
    canvas.save();
    canvas.setFont(LabelFont(height));
    canvas.setPen(colour);
    canvas.setBackgroundMode(Qt::TransparentMode);
    // A rectangle far larger than any label keeps the text unclipped and top-left aligned.
    canvas.drawText(QRect(x, y, 4096, 4 * height + 16), Qt::AlignLeft | Qt::AlignTop, text);
    canvas.restore();
}

void DrawLabel(QPainter& canvas, const PlacedText& text) {
    DrawLabel(canvas, text.text.toString(), text.at.x, text.at.y, text.height);
}

void DrawFrame(QPainter& canvas, int x, int y, int width, int height) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(kFrameColour, 0)); // cosmetic: exactly one pixel wide
    canvas.setBrush(Qt::NoBrush);
    // With a one-pixel pen the outline of a w x h rectangle covers w + 1 columns.
    canvas.drawRect(
        QRect(std::min(x, x + width), std::min(y, y + height), std::abs(width), std::abs(height)));
    canvas.restore();
}

} // namespace orvo

#include "controls/draw_label.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>

namespace orvo {

namespace {

QFont FontOfPixelSize(int pixelSize) {
    QFont font(QString::fromUtf16(kLabelFontFamily));
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(static_cast<QFont::Weight>(kLabelFontWeight));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The pixel size whose cell fits `height`, found once per height. Texts are also drawn from
// the font prefetch thread, hence the lock.
int PixelSizeForCell(int height) {
    static std::mutex mutex;
    static std::map<int, int> known;
    std::lock_guard lock(mutex);
    if (const auto it = known.find(height); it != known.end())
        return it->second;
    int size = std::max(1, height);
    while (size > 1 && CellHeight(FontOfPixelSize(size)) > height)
        --size;
    known.emplace(height, size);
    return size;
}

// Where the text ends, from its start: its advance, or further where a glyph's ink
// overhangs it.
int TextExtent(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
}

std::atomic<LabelObserver> g_labelObserver{nullptr};

} // namespace

int CellHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

void SetLabelObserver(LabelObserver observer) {
    g_labelObserver = observer;
}

QFont LabelFont(int height) {
    return FontOfPixelSize(PixelSizeForCell(height));
}

QFont FittedLabelFont(const QString& text, int x, int height, int rightLimit) {
    QFont font = LabelFont(height);
    if (rightLimit == kNoRightLimit || x + TextExtent(font, text) <= rightLimit)
        return font;
    // One percent at a time: the first width that fits is the widest that does.
    for (int stretch = 99; stretch >= kNarrowestLabelStretch; --stretch) {
        font.setStretch(stretch);
        if (x + TextExtent(font, text) <= rightLimit)
            break;
    }
    return font;
}

void DrawLabel(QPainter& canvas, const QString& text, int x, int y, int height, QColor colour,
               int rightLimit) {
    if (const LabelObserver observer = g_labelObserver)
        observer({text, {x, y}, height, rightLimit});
    canvas.save();
    canvas.setFont(FittedLabelFont(text, x, height, rightLimit));
    canvas.setPen(colour);
    canvas.setBackgroundMode(Qt::TransparentMode);
    // A rectangle far larger than any label keeps the text unclipped and top-left aligned.
    canvas.drawText(QRect(x, y, 4096, 4 * height + 16), Qt::AlignLeft | Qt::AlignTop, text);
    canvas.restore();
}

void DrawLabel(QPainter& canvas, const PlacedText& text, QColor colour) {
    DrawLabel(canvas, text.text.toString(), text.at.x, text.at.y, text.height, colour,
              text.rightLimit);
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

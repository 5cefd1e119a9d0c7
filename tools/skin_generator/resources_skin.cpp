// Small pictures that stand in for bitmap resources: list and tree icons, the list's
// background and the application icon.

#include "controls/skin_resources.h"
#include "tools/skin_generator/skin_painter.h"

namespace orvo::skin {

namespace {

// The profile list fills a selected row with this colour before its icon.
const QColor kProfileSelection{11, 145, 195};

QImage Icon(const QColor& background) {
    return NewImage(kListIconSize, background);
}

QImage KeyArrow(bool press) {
    QImage icon = Icon(kListBackground);
    QPainter p(&icon);
    QPainterPath arrow;
    if (press) {
        arrow.moveTo(8, 2.5);
        arrow.lineTo(8, 10);
        arrow.moveTo(4.5, 6.5);
        arrow.lineTo(8, 10);
        arrow.lineTo(11.5, 6.5);
    } else {
        arrow.moveTo(8, 10);
        arrow.lineTo(8, 2.5);
        arrow.moveTo(4.5, 6);
        arrow.lineTo(8, 2.5);
        arrow.lineTo(11.5, 6);
    }
    const QColor ink = press ? kAccent : QColor(160, 166, 176);
    Stroke(p, arrow, ink, 1.6);
    p.fillRect(QRect(3, 13, 10, 1), ink);
    return icon;
}

QImage Clock() {
    QImage icon = Icon(kListBackground);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 170, 60), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    QPainterPath hands;
    hands.moveTo(8, 4.5);
    hands.lineTo(8, 8);
    hands.lineTo(10.5, 9.5);
    Stroke(p, hands, QColor(230, 170, 60), 1.3);
    return icon;
}

QImage ProfileIcon(bool selected) {
    QImage icon = Icon(selected ? kProfileSelection : QColor(Qt::black));
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(4, 2.5);
    sheet.lineTo(9.5, 2.5);
    sheet.lineTo(12.5, 5.5);
    sheet.lineTo(12.5, 13.5);
    sheet.lineTo(4, 13.5);
    sheet.closeSubpath();
    p.setPen(QPen(selected ? QColor(Qt::white) : kAccent, 1.1));
    p.setBrush(selected ? QColor(40, 170, 215) : QColor(8, 40, 56));
    p.drawPath(sheet);
    p.fillRect(QRect(6, 8, 5, 1), selected ? QColor(Qt::white) : kTextDim);
    p.fillRect(QRect(6, 10, 5, 1), selected ? QColor(Qt::white) : kTextDim);
    return icon;
}

QImage TreeGlyph(bool expanded) {
    QImage glyph = NewImage(kTreeGlyphSize, kTreeBackground);
    QPainter p(&glyph);
    p.setPen(QColor(120, 126, 136));
    p.drawRect(0, 0, kTreeGlyphSize.width() - 1, kTreeGlyphSize.height() - 1);
    p.fillRect(QRect(2, 4, 5, 1), Qt::white);
    if (!expanded)
        p.fillRect(QRect(4, 2, 1, 5), Qt::white);
    return glyph;
}

} // namespace

void PaintResources(SkinWriter& out) {
    out.write(kMainFolder, kPressIconImage, KeyArrow(true));
    out.write(kMainFolder, kReleaseIconImage, KeyArrow(false));
    out.write(kMainFolder, kDelayIconImage, Clock());
    out.write(kMainFolder, kListBackgroundImage, NewImage(kListBackgroundSize, kListBackground));
    out.write(kMainFolder, kProfileIconImage, ProfileIcon(false));
    out.write(kMainFolder, kProfileSelectedIconImage, ProfileIcon(true));
    out.write(kMainFolder, kTreeCollapsedImage, TreeGlyph(false));
    out.write(kMainFolder, kTreeExpandedImage, TreeGlyph(true));

    QImage icon = NewImage(kAppIconSize, QColor(12, 13, 15));
    {
        QPainter p(&icon);
        DrawEmblem(p, QPointF(8, 8), 7.5);
    }
    out.write(kMainFolder, kAppIconImage, icon);
}

} // namespace orvo::skin

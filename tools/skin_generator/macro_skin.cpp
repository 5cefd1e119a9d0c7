// The macro manager ("png/MacroManagement/") and its shape.

#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "model/macro_buttons.h"
#include "tools/skin_generator/skin_painter.h"

namespace orvo::skin {

namespace {

constexpr int kRadius = 8;
constexpr int kTitleHeight = 34;

void Well(QPainter& p, const QRect& area, const QColor& inside) {
    p.fillRect(area, inside);
    p.setPen(kPanelEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0, 0, -1, -1));
}

QImage Background() {
    QImage dialog = DialogFrame(kMacroDialogSize, kRadius, kTitleHeight);
    QPainter p(&dialog);
    CloseCross(p, QRectF(370.5, 8.5, 7, 7), kTextDim);
    // Column headings sit at y 60; a rule under each.
    FadingLine(p, 18, 134, 78, kAccentDark);
    FadingLine(p, 160, 266, 78, kAccentDark);
    FadingLine(p, 284, 386, 78, kAccentDark);
    // The macro list shows this background through; the event list draws its own picture.
    Well(p, QRect(18, 86, 116, 244), kListBackground);
    Well(p, QRect(161, 86, 104, 244), kListBackground);
    RoundedBox(p, QRectF(284, 86, 102, 260), 5, QColor(27, 29, 34), QColor(20, 22, 26), kPanelEdge);
    FadingLine(p, 290, 380, 140, kPanelEdge);
    FadingLine(p, 290, 380, 290, kPanelEdge);
    Well(p, QRect(294, 317, 86, 20), Qt::black);
    FadingLine(p, 10, 380, 358, kPanelEdge);
    return dialog;
}

enum class Look { Normal, Over, Leave };

QImage Button(const QImage& dialog, const QRect& area, Look look, bool record) {
    QImage button = Crop(dialog, area);
    QPainter p(&button);
    const QRectF box(QPointF(0, 0), area.size());
    if (look == Look::Over)
        RoundedBox(p, box, 4, QColor(64, 69, 78), QColor(40, 43, 49), kAccent);
    else
        RoundedBox(p, box, 4, QColor(50, 54, 61),
                   look == Look::Leave ? QColor(27, 29, 34) : QColor(31, 33, 38),
                   QColor(72, 77, 86));
    if (record) {
        // A red line under the text, which fills the button's width.
        p.fillRect(QRect(6, area.height() - 5, area.width() - 12, 2),
                   look == Look::Over ? QColor(255, 80, 80) : QColor(210, 50, 50));
    }
    return button;
}

QImage TickBox(const QImage& dialog, bool ticked) {
    QImage box = Crop(dialog, ToQRect(kMacroButtonTable[kMacroDelayBox].rect));
    QPainter p(&box);
    RoundedBox(p, QRectF(0, 0, 15, 15), 3, ticked ? QColor(28, 186, 240) : QColor(12, 13, 15),
               ticked ? kAccentDark : QColor(12, 13, 15),
               ticked ? QColor(120, 220, 255) : QColor(100, 106, 116));
    if (ticked) {
        QPainterPath tick;
        tick.moveTo(3.5, 7.5);
        tick.lineTo(6.5, 10.5);
        tick.lineTo(11.5, 4.5);
        Stroke(p, tick, Qt::white, 1.7);
    }
    return box;
}

} // namespace

void PaintMacroDialog(SkinWriter& out) {
    const QImage dialog = Background();
    out.write(kMacroFolder, u"MacroManagement.png", dialog);
    out.write(kMainFolder, kMacroShapeImage, DialogShape(kMacroDialogSize, kRadius));

    // Each picture is the size of its button's rectangle (both edges inside).
    const QRect record = ToQRect(kMacroButtonTable[kMacroRecordButton].rect);
    out.write(kMacroFolder, u"Record-normal.png", Button(dialog, record, Look::Normal, true));
    out.write(kMacroFolder, u"Record-over.png", Button(dialog, record, Look::Over, true));
    out.write(kMacroFolder, u"Record-leave.png", Button(dialog, record, Look::Leave, true));
    out.write(kMacroFolder, u"Pane.png", TickBox(dialog, false));
    out.write(kMacroFolder, u"PaneMakingTick.png", TickBox(dialog, true));
    const QRect button = ToQRect(kMacroButtonTable[kMacroNewButton].rect);
    out.write(kMacroFolder, u"button-new-normal.png", Button(dialog, button, Look::Normal, false));
    out.write(kMacroFolder, u"button-new-over.png", Button(dialog, button, Look::Over, false));
    out.write(kMacroFolder, u"button-new-leave.png", Button(dialog, button, Look::Leave, false));
}

} // namespace orvo::skin

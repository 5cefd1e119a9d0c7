// The colour dialog's background ("png/Color_BK.png") with its palette cells.

#include "model/colour_palette.h"
#include "tools/skin_generator/skin_painter.h"

namespace orvo::skin {

namespace {

constexpr int kTitleHeight = 22;
constexpr QSize kCellSize{12, 11}; // the dialog's marker frames this area
// Rows 6 and 7 (eight white cells each) lie under the colour swatch and the number fields,
// which the dialog draws on top, so only rows 0 to 5 are painted.
constexpr int kPaintedRows = 6;
constexpr QRect kPaletteWell{7, 35, 160, 102};
constexpr QRect kValuesWell{7, 144, 160, 58};
constexpr QRect kSpectrumFrame{170, 26, 162, 142};

} // namespace

void PaintColourDialog(SkinWriter& out) {
    QImage dialog = DialogFrame(kColourDialogSize, 0, kTitleHeight);
    QPainter p(&dialog);
    DrawEmblem(p, QPointF(13, 11), 6);
    QFont brand = SkinFont(9, true);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(brand);
    p.setPen(kTextDim);
    p.drawText(QPointF(24, 15), QStringLiteral("ZORVANTA ORVO"));
    CloseCross(p, QRectF(322.5, 8.5, 5, 5), kText);

    for (const QRect& well : {kPaletteWell, kValuesWell, kSpectrumFrame}) {
        p.fillRect(well, QColor(12, 13, 15));
        p.setPen(kPanelEdge);
        p.drawRect(well.adjusted(0, 0, -1, -1));
    }
    for (int cell = 0; cell < kPaintedRows * kPaletteColumns; ++cell) {
        const Rgb& c = kPaletteColours[static_cast<std::size_t>(cell)];
        const QRect box(QPoint(PaletteCellLeft(cell), PaletteCellTop(cell)), kCellSize);
        p.fillRect(box, QColor(c.r, c.g, c.b));
    }
    p.end();
    out.write(kMainFolder, u"Color_BK.png", dialog);
}

} // namespace orvo::skin

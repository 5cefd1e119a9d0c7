#pragma once
// Drawing helpers and the colour scheme shared by the skin generator's window families,
// and the writer that saves each picture after checking it against the catalogue.

#include "model/window_layout.h"
#include "tools/skin_generator/skin_catalogue.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include <functional>
#include <set>

namespace orvo::skin {

// The dark theme.
inline const QColor kWindowTop{22, 24, 28};
inline const QColor kWindowBottom{9, 10, 12};
inline const QColor kPanel{23, 25, 29}; // flat: slider tracks and thumbs are cut from it
inline const QColor kPanelEdge{44, 48, 55};
inline const QColor kRaised{40, 43, 49};
inline const QColor kRaisedLow{29, 31, 36};
inline const QColor kAccent{6, 169, 226};
inline const QColor kAccentDark{6, 143, 194};
inline const QColor kText{222, 226, 232};
inline const QColor kTextDim{128, 135, 146};
inline const QColor kListBackground{16, 17, 20};
inline const QColor kTreeBackground{30, 30, 30}; // the tree's solid background colour

// Liberation Sans at a pixel size; loaded from fonts-liberation, else the default font.
QFont SkinFont(int pixelSize, bool bold = false);

QImage NewImage(QSize size, const QColor& fill = Qt::black);
QImage Crop(const QImage& from, const QRect& area);

// A rounded box with a top-to-bottom gradient and a one-pixel edge.
void RoundedBox(QPainter& p, const QRectF& box, qreal radius, const QColor& top,
                const QColor& bottom, const QColor& edge);
// A one-pixel line that fades out towards both ends.
void FadingLine(QPainter& p, int x1, int x2, int y, const QColor& colour);
void CentredText(QPainter& p, const QRect& box, const QString& text, const QFont& font,
                 const QColor& colour);
// A glyph drawn with a round pen: the painter's path in box-relative unit coordinates.
void Stroke(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width);

// The brand's hexagon badge with its "Z" stroke.
void DrawEmblem(QPainter& p, QPointF centre, qreal radius);
// A dialog's body: rounded (radius > 0) or square, with a title band `titleHeight` high.
QImage DialogFrame(QSize size, int radius, int titleHeight);
// The window shape of a rounded dialog: pure white outside the rounded body, black inside.
QImage DialogShape(QSize size, int radius);
// A small close cross.
void CloseCross(QPainter& p, const QRectF& box, const QColor& colour);

// Saves pictures under the image folder, refusing any that is not in the catalogue or
// whose size differs from it, and reports the catalogue entries never written.
class SkinWriter {
public:
    explicit SkinWriter(QString root);
    void write(QStringView folder, QStringView name, const QImage& image);
    // Both pictures of a main-window region: `paint` draws one for the region's place, the
    // other one (hovered or disabled) when `alt` is set.
    void writeRegion(MainRegion region, const std::function<QImage(QPoint at, bool alt)>& paint);
    // Prints every problem; true when every catalogue picture was written correctly.
    bool finish() const;

private:
    QString m_root;
    std::set<QString> m_written;
    int m_errors = 0;
};

// One function per window family; each writes its pictures.
void PaintMainWindow(SkinWriter& out, QImage& window);
void PaintLeftPanel(SkinWriter& out, QImage& window);
// The left panel's body and edge, painted into the window's background (the edge lies left of
// the panel's picture).
void PaintLeftPanelBody(QImage& window);
void PaintResources(SkinWriter& out);
void PaintKeymapDialog(SkinWriter& out);
void PaintMacroDialog(SkinWriter& out);
void PaintProfileDialog(SkinWriter& out);
void PaintColourDialog(SkinWriter& out);

} // namespace orvo::skin

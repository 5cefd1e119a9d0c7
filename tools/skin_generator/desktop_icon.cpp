#include "tools/skin_generator/desktop_icon.h"

#include "tools/skin_generator/skin_painter.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QSaveFile>

#include <array>
#include <cstdio>
#include <vector>

namespace orvo::skin {

namespace {

// The emblem on a square canvas of kCanvas units; pictures scale it to their size.
constexpr qreal kCanvas = 256;
constexpr qreal kRadius = 116; // the hexagon's corner radius, leaving room for its outline
constexpr std::array kPngSizes = {48, 128, 256};

// The same shapes DrawEmblem paints into the skin: a pointed-top hexagon with a dark blue
// glow and an accent edge, and a "Z" stroked with a round pen across its middle.
struct Shape {
    QPolygonF points;
    bool closed = false;
    bool glowFill = false;
    QColor stroke;
    qreal width = 0;
};
const QColor kGlowTop(6, 80, 110);
const QColor kGlowBottom(8, 26, 36);

std::vector<Shape> EmblemShapes() {
    const QPointF c(kCanvas / 2, kCanvas / 2);
    const qreal r = kRadius;
    const qreal z = r * 0.4;
    Shape badge{QPolygonF({c + QPointF(0, -r), c + QPointF(r * 0.866, -r / 2),
                           c + QPointF(r * 0.866, r / 2), c + QPointF(0, r),
                           c + QPointF(-r * 0.866, r / 2), c + QPointF(-r * 0.866, -r / 2)}),
                true, true, kAccent, r * 0.08};
    Shape zed{
        QPolygonF({c + QPointF(-z, -z), c + QPointF(z, -z), c + QPointF(-z, z), c + QPointF(z, z)}),
        false, false, kText, r * 0.15};
    return {badge, zed};
}

QImage PaintPng(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    QLinearGradient glow(0, kCanvas / 2 - kRadius, 0, kCanvas / 2 + kRadius);
    glow.setColorAt(0, kGlowTop);
    glow.setColorAt(1, kGlowBottom);
    for (const Shape& s : EmblemShapes()) {
        p.setPen(QPen(s.stroke, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(s.glowFill ? QBrush(glow) : QBrush(Qt::NoBrush));
        if (s.closed)
            p.drawPolygon(s.points);
        else
            p.drawPolyline(s.points);
    }
    return picture;
}

QString Number(qreal value) {
    return QString::number(value, 'f', 2);
}

QString SvgPath(const Shape& s) {
    QString d;
    for (qsizetype i = 0; i < s.points.size(); ++i)
        d += (i == 0 ? u'M' : u'L') + Number(s.points[i].x()) + u' ' + Number(s.points[i].y()) +
             u' ';
    if (s.closed)
        d += u'Z';
    return QStringLiteral("  <path d=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                          "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
        .arg(d.trimmed(), s.glowFill ? QStringLiteral("url(#glow)") : QStringLiteral("none"),
             s.stroke.name(), Number(s.width));
}

QString Svg() {
    const QString size = QString::number(kCanvas);
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                       "viewBox=\"0 0 %1 %1\">\n"
                       "  <defs>\n"
                       "    <linearGradient id=\"glow\" gradientUnits=\"userSpaceOnUse\" "
                       "x1=\"0\" y1=\"%2\" x2=\"0\" y2=\"%3\">\n"
                       "      <stop offset=\"0\" stop-color=\"%4\"/>\n"
                       "      <stop offset=\"1\" stop-color=\"%5\"/>\n"
                       "    </linearGradient>\n"
                       "  </defs>\n")
            .arg(size, Number(kCanvas / 2 - kRadius), Number(kCanvas / 2 + kRadius),
                 kGlowTop.name(), kGlowBottom.name());
    for (const Shape& s : EmblemShapes())
        svg += SvgPath(s);
    return svg + QStringLiteral("</svg>\n");
}

bool Fail(const QString& what) {
    std::fprintf(stderr, "desktop icon: %s\n", qPrintable(what));
    return false;
}

} // namespace

bool WriteDesktopIcons(const QString& folder, const QString& name) {
    bool ok = true;
    for (const int size : kPngSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = dir + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !PaintPng(size).save(file, "PNG"))
            ok = Fail(QStringLiteral("cannot write ") + file);
    }
    const QString dir = folder + QStringLiteral("/scalable/apps");
    QSaveFile svg(dir + u'/' + name + QStringLiteral(".svg"));
    if (!QDir().mkpath(dir) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(Svg().toUtf8()) < 0 || !svg.commit())
        ok = Fail(QStringLiteral("cannot write ") + svg.fileName());
    return ok;
}

} // namespace orvo::skin

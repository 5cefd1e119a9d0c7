#include "controls/draw_png.h"

#include "controls/image_store.h"
#include "controls/qt_convert.h"

#include <QImage>
#include <QPainter>

namespace orvo {

namespace {

void CopyOpaque(QPainter& target, const QImage& opaque, const QRect& source, QPoint at) {
    const QRect part = source.intersected(opaque.rect());
    if (part.isEmpty())
        return;
    const QPoint shifted = at + (part.topLeft() - source.topLeft());
    target.save();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(shifted, opaque, part);
    target.restore();
}

} // namespace

void DrawPng(QPainter& target, const ImageStore& images, const QString& name, int x, int y) {
    const QImage opaque = images.loadForCopy(name);
    CopyOpaque(target, opaque, opaque.rect(), QPoint(x, y));
}

void DrawPng(QPainter& target, const ImageStore& images, std::u16string_view name, Point at) {
    DrawPng(target, images, ToQString(name), at.x, at.y);
}

void DrawPng(QPainter& target, const ImageStore& images, const PlacedPicture& picture) {
    DrawPng(target, images, picture.name, picture.at);
}

void DrawPngPart(QPainter& target, const ImageStore& images, const QString& name,
                 const QRect& source, QPoint at) {
    CopyOpaque(target, images.loadForCopy(name), source, at);
}

void DrawImageOpaque(QPainter& target, const QImage& image, const QRect& source, QPoint at) {
    CopyOpaque(target, OpaqueImage(image), source, at);
}

} // namespace orvo

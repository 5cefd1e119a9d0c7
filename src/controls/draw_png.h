#pragma once
// Drawing skin images onto a canvas the way every painted window does: unscaled, top-left
// at the given point, and without alpha blending (a transparent pixel comes out black).
// A missing or broken image draws nothing, so the layers below stay visible.

#include "model/window_layout.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <string_view>

class QImage;
class QPainter;

namespace orvo {

class ImageStore;

void DrawPng(QPainter& target, const ImageStore& images, const QString& name, int x, int y);
void DrawPng(QPainter& target, const ImageStore& images, std::u16string_view name, Point at);
void DrawPng(QPainter& target, const ImageStore& images, const PlacedPicture& picture);

// Copies the part `source` of the image (clipped to the image) to `at` on the canvas.
void DrawPngPart(QPainter& target, const ImageStore& images, const QString& name,
                 const QRect& source, QPoint at);

// The same copy from an image already loaded (any format; made opaque first).
void DrawImageOpaque(QPainter& target, const QImage& image, const QRect& source, QPoint at);

} // namespace orvo

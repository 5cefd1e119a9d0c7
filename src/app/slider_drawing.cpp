#include "app/slider_drawing.h"

#include "app/main_sliders.h"
#include "controls/bit_slider.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/skin_resources.h"

#include <QPainter>

namespace orvo {

QPoint SliderThumbPoint(const CBitSlider& slider) {
    QPoint p = slider.thumbOffset();
    const int id = slider.controlId();
    if (id == kResponseTimeSlider || id == kPalmSpeedSlider)
        p.rx() += 1;
    // At position 0 these two thumbs would hide the start of their scale pictures.
    if ((id == kReportRateSlider || id == kResponseTimeSlider) && slider.value() == 0)
        p.rx() += 2;
    p.ry() += 1;
    return p;
}

QRect PaintSlider(QPainter& canvas, const ImageStore& images, const CBitSlider& slider) {
    const QRect place = slider.geometry();
    const QPoint thumb = SliderThumbPoint(slider);
    const int split = std::clamp(thumb.x(), 0, place.width());
    const QString filled = kTrackFilledImage.toString();
    const QString empty = kTrackEmptyImage.toString();
    if (split > 0)
        DrawPngPart(canvas, images, filled, QRect(0, 0, split, place.height()), place.topLeft());
    if (split < place.width())
        DrawPngPart(canvas, images, empty, QRect(split, 0, place.width() - split, place.height()),
                    place.topLeft() + QPoint(split, 0));
    DrawPngPart(canvas, images, kThumbImage.toString(), QRect(QPoint(0, 0), kThumbFrameSize),
                place.topLeft() + thumb);
    return SliderPaintArea(slider);
}

void PaintSlider(QPainter& canvas, const ImageStore& images, const MainSliders& sliders,
                 int controlId) {
    if (const CBitSlider* slider = sliders.byId(controlId))
        PaintSlider(canvas, images, *slider);
}

QRect SliderPaintArea(const CBitSlider& slider) {
    // The thumb may reach a few pixels past the track's end.
    return slider.geometry().adjusted(0, 0, kThumbFrameSize.width() + 3, 0);
}

} // namespace orvo

#pragma once
// Painting a bitmap slider's place on the main window's canvas: the blue filled track up to
// the thumb, the grey empty track after it, and the thumb picture.

#include <QRect>

class QPainter;

namespace orvo {

class CBitSlider;
class ImageStore;
struct MainSliders;

// Where the thumb picture goes, relative to the slider, for the slider's current position.
QPoint SliderThumbPoint(const CBitSlider& slider);

// The window area a slider's painting can cover: its track and a thumb reaching past it.
QRect SliderPaintArea(const CBitSlider& slider);

// Paints the slider at its place in the window; returns the window rectangle it covered.
QRect PaintSlider(QPainter& canvas, const ImageStore& images, const CBitSlider& slider);
// The same for one of the main window's sliders by its control ID.
void PaintSlider(QPainter& canvas, const ImageStore& images, const MainSliders& sliders,
                 int controlId);

} // namespace orvo

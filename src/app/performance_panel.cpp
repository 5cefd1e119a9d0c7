#include "app/performance_panel.h"

#include "app/slider_drawing.h"
#include "controls/bit_slider.h"
#include "controls/draw_png.h"
#include "model/config_state.h"
#include "model/lighting_rules.h"

#include <QPainter>

namespace orvo {

using namespace performance_ui;

PerformancePanel::PerformancePanel(const ImageStore& images, ConfigState& config,
                                   MainSliders& sliders)
    : m_images(images), m_config(config), m_sliders(sliders) {}

void PerformancePanel::draw(QPainter& canvas) {
    const auto drawSwitch = [&](MainRegion region, std::uint8_t value) {
        // Any value but 0 shows as on, as the keyboard may report other values.
        const RegionPlace& place = RegionPlaceOf(region);
        DrawPng(canvas, m_images, value != 0 ? place.picture : place.altPicture, place.drawAt);
    };
    DrawLabel(canvas, kGameModeText);
    drawSwitch(kGameModeRegion, m_config.image.byte(field::gameMode));
    DrawLabel(canvas, kWinLockText);
    drawSwitch(kWinLockRegion, m_config.image.byte(field::winLock));

    DrawLabel(canvas, kResponseTimeText);
    prepareSlider(kResponseTimeSlider);
    showSlider(kResponseTimeSlider, canvas);
    DrawLabel(canvas, kReportRateText);
    prepareSlider(kReportRateSlider);
    DrawPng(canvas, m_images, kResponseTimeScale);
    DrawPng(canvas, m_images, kReportRateScale);
    showSlider(kReportRateSlider, canvas);
}

void PerformancePanel::prepareSlider(int controlId) {
    CBitSlider* slider = m_sliders.byId(controlId);
    const auto index = SliderIndex(controlId);
    if (slider == nullptr || !index)
        return;
    const Point at = kSliderPlaces[*index].position;
    slider->move(at.x, at.y);
    slider->prepareThumb();
}

void PerformancePanel::showSlider(int controlId, QPainter& canvas) {
    CBitSlider* slider = m_sliders.byId(controlId);
    if (slider == nullptr)
        return;
    PaintSlider(canvas, m_images, *slider);
    slider->setControlId(controlId);
    slider->show();
}

bool PerformancePanel::click(int region) {
    // Only edits the image; Save sends the change (and folds the lock into the key mask).
    return ToggleSwitchRegion(m_config.image, region);
}

} // namespace orvo

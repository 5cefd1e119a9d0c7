#include "app/performance_panel.h"

#include "app/brisolde_dlg.h"
#include "app/draw_label.h"
#include "app/lighting_panel.h"
#include "controls/bit_slider.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "model/config_state.h"
#include "model/lighting_rules.h"

#include <QPainter>

namespace orvo {

using namespace performance_ui;

namespace {

void Draw(QPainter& canvas, const Text& t) {
    DrawLabel(canvas, t.text.toString(), t.at.x, t.at.y, t.height);
}

} // namespace

PerformancePanel::PerformancePanel(CBrisoldeDlg& window, MainWindowState& state,
                                   ConfigState& config, MainSliders& sliders)
    : m_window(window), m_state(state), m_config(config), m_sliders(sliders) {}

void PerformancePanel::draw(QPainter& canvas) {
    const ImageStore& images = m_window.images();
    const auto drawSwitch = [&](std::uint8_t value, Point at) {
        // Any value but 0 shows as on, as the keyboard may report other values.
        const QStringView name = value != 0 ? lighting_ui::kSwitchOn : lighting_ui::kSwitchOff;
        DrawPng(canvas, images, name.toString(), at.x, at.y);
    };
    Draw(canvas, kGameModeText);
    drawSwitch(m_config.image.byte(field::gameMode), kGameModeSwitchAt);
    Draw(canvas, kWinLockText);
    drawSwitch(m_config.image.byte(field::winLock), kWinLockSwitchAt);

    Draw(canvas, kResponseTimeText);
    prepareSlider(kResponseTimeSlider);
    showSlider(kResponseTimeSlider, canvas);
    Draw(canvas, kReportRateText);
    prepareSlider(kReportRateSlider);
    DrawPng(canvas, images, kResponseTimeScale.toString(), kResponseTimeScaleAt.x,
            kResponseTimeScaleAt.y);
    DrawPng(canvas, images, kReportRateScale.toString(), kReportRateScaleAt.x,
            kReportRateScaleAt.y);
    showSlider(kReportRateSlider, canvas);
}

void PerformancePanel::prepareSlider(int controlId) {
    CBitSlider* slider = m_sliders.byId(controlId);
    const auto index = SliderIndex(controlId);
    if (slider == nullptr || !index)
        return;
    const Point at = kSliderSpecs[*index].position;
    slider->move(at.x, at.y);
    slider->prepareThumb();
}

void PerformancePanel::showSlider(int controlId, QPainter& canvas) {
    CBitSlider* slider = m_sliders.byId(controlId);
    if (slider == nullptr)
        return;
    m_window.DrawSlider(controlId, canvas);
    slider->setControlId(controlId);
    slider->show();
}

bool PerformancePanel::click(int region) {
    // Only edits the image; Save sends the change (and folds the lock into the key mask).
    return ToggleSwitchRegion(m_config.image, region);
}

} // namespace orvo

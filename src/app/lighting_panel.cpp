#include "app/lighting_panel.h"

namespace orvo {

LightingPanel::LightingPanel(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                             MainSliders& sliders)
    : m_window(window), m_state(state), m_config(config), m_sliders(sliders),
      m_performance(window, state, config, sliders) {}

void LightingPanel::draw(QPainter& canvas) {
    static_cast<void>(canvas);
}

bool LightingPanel::click(int region, Point p) {
    static_cast<void>(p);
    if (region == 16 || region == 17)
        return m_performance.click(region);
    return false;
}

void LightingPanel::clickEffectList(Point p) {
    static_cast<void>(p);
}

void LightingPanel::clickPalmList(Point p) {
    static_cast<void>(p);
}

void LightingPanel::colourSelectedKeys() {}

} // namespace orvo

#include "app/performance_panel.h"

namespace orvo {

PerformancePanel::PerformancePanel(CBrisoldeDlg& window, MainWindowState& state,
                                   ConfigState& config, MainSliders& sliders)
    : m_window(window), m_state(state), m_config(config), m_sliders(sliders) {}

void PerformancePanel::draw(QPainter& canvas) {
    static_cast<void>(canvas);
}

bool PerformancePanel::click(int region) {
    static_cast<void>(region);
    return false;
}

} // namespace orvo

#pragma once
// The lower block of the left column: the game-mode and Windows-key lock switches and the
// response-time and report-rate sliders. Drawn and clicked through the lighting panel.

#include "app/main_sliders.h"
#include "app/main_window_state.h"

class QPainter;

namespace orvo {

class CBrisoldeDlg;
struct ConfigState;

class PerformancePanel {
public:
    PerformancePanel(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                     MainSliders& sliders);

    void draw(QPainter& canvas);
    // Regions 16 (game mode) and 17 (Windows-key lock); false for any other region.
    bool click(int region);

private:
    CBrisoldeDlg& m_window;
    MainWindowState& m_state;
    ConfigState& m_config;
    MainSliders& m_sliders;
};

} // namespace orvo

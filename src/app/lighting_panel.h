#pragma once
// The lighting panel in the main window's left column: effect, speed, brightness, colour
// slots, direction, the Keymap / DIY switches, the palm-rest lighting and the two drop-down
// lists. It draws into the window's composition and takes the clicks the dispatcher routes
// to it; it keeps no state beyond the window's own.

#include "app/main_sliders.h"
#include "app/main_window_state.h"
#include "app/performance_panel.h"
#include "model/window_layout.h"

class QPainter;

namespace orvo {

class CBrisoldeDlg;
struct ConfigState;

class LightingPanel {
public:
    LightingPanel(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                  MainSliders& sliders);

    // Step 5 of the composition: draws the panel, the macro button and the performance
    // block, and positions, shows or hides the sliders.
    void draw(QPainter& canvas);

    // A click on one of the regions 3..15, 16, 17, 23, 35, 36 or 37; false when the region is
    // not the panel's.
    bool click(int region, Point p);
    // A click while a drop-down list is open; the dispatcher closes the list afterwards.
    void clickEffectList(Point p);
    void clickPalmList(Point p);

    // A key click in DIY mode that colours the selected keys (keySelected). The caller
    // clears the selection afterwards, whatever happened here.
    void colourSelectedKeys();

    PerformancePanel& performance() { return m_performance; }

private:
    CBrisoldeDlg& m_window;
    MainWindowState& m_state;
    ConfigState& m_config;
    MainSliders& m_sliders;
    PerformancePanel m_performance;
};

} // namespace orvo

#pragma once
// The lower block of the left column: the game-mode and Windows-key lock switches and the
// response-time and report-rate sliders. Drawn and clicked through the lighting panel.

#include "app/main_sliders.h"
#include "app/main_window_state.h"

#include <QStringView>

class QPainter;

namespace orvo {

class CBrisoldeDlg;
struct ConfigState;

namespace performance_ui {
struct Text {
    QStringView text;
    Point at;
    int height;
};
inline constexpr Text kGameModeText{u"MODO JUEGO", {17, 570}, 16};
inline constexpr Point kGameModeSwitchAt{110, 568};
inline constexpr Text kWinLockText{u"MODO WIN LOCK", {135, 570}, 16};
inline constexpr Point kWinLockSwitchAt{248, 568};
inline constexpr Text kResponseTimeText{u"Botón tiempo de respuesta", {34, 448}, 15};
inline constexpr Text kReportRateText{u"índice USB", {33, 505}, 15};
// Scale pictures under the two sliders.
inline constexpr QStringView kResponseTimeScale = u"responsetime_txt.png";
inline constexpr Point kResponseTimeScaleAt{32, 480};
inline constexpr QStringView kReportRateScale = u"reportRate_txt.png";
inline constexpr Point kReportRateScaleAt{29, 532};
} // namespace performance_ui

class PerformancePanel {
public:
    PerformancePanel(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                     MainSliders& sliders);

    void draw(QPainter& canvas);
    // Regions 16 (game mode) and 17 (Windows-key lock); false for any other region.
    bool click(int region);

private:
    void prepareSlider(int controlId);
    void showSlider(int controlId, QPainter& canvas);

    CBrisoldeDlg& m_window;
    MainWindowState& m_state;
    ConfigState& m_config;
    MainSliders& m_sliders;
};

} // namespace orvo

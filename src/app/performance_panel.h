#pragma once
// The lower block of the left column: the game-mode and Windows-key lock switches and the
// response-time and report-rate sliders. Drawn and clicked through the lighting panel.

#include "app/main_sliders.h"
#include "controls/draw_label.h"

class QPainter;

namespace orvo {

class ImageStore;
struct ConfigState;

namespace performance_ui {
// Each switch's text ends before its switch.
inline const PlacedText kGameModeText{
    u"MODO JUEGO", {17, 570}, 16, RegionPlaceOf(kGameModeRegion).drawAt.x - kLabelGap};
inline const PlacedText kWinLockText{
    u"MODO WIN LOCK", {135, 570}, 16, RegionPlaceOf(kWinLockRegion).drawAt.x - kLabelGap};
inline constexpr PlacedText kResponseTimeText{
    u"Botón tiempo de respuesta", {34, 448}, 15, kLeftPanelArea.right};
inline constexpr PlacedText kReportRateText{u"índice USB", {33, 505}, 15, kLeftPanelArea.right};
} // namespace performance_ui

class PerformancePanel {
public:
    PerformancePanel(const ImageStore& images, ConfigState& config, MainSliders& sliders);

    void draw(QPainter& canvas);
    // The game-mode and Windows-key lock regions; false for any other region.
    bool click(int region);

private:
    void prepareSlider(int controlId);
    void showSlider(int controlId, QPainter& canvas);

    const ImageStore& m_images;
    ConfigState& m_config;
    MainSliders& m_sliders;
};

} // namespace orvo

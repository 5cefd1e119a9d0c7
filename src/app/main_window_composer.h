#pragma once
// Composes the main window's whole picture off-screen, layer by layer: the background, the
// title-bar buttons, the keyboard picture with its highlights or DIY colours, the bottom
// buttons, the left panel and the help menu. Composing reads the state and the image and
// changes neither.

#include "app/main_window_state.h"
#include "controls/draw_label.h"

#include <QImage>

#include <array>

class QPainter;

namespace orvo {

class ImageStore;
class LightingPanel;
struct ConfigState;

inline constexpr PlacedText kProfileLabel{u"Perfil", {42, 603}, 16};
inline constexpr std::array<PlacedText, 3> kHelpMenuTexts{{
    {u"Reiniciar ajustes", {850, 25}, 15},
    {u"Actualización del firmware", {850, 50}, 15},
    {u"Versión 1.1", {850, 75}, 15},
}};
inline constexpr int kKeyLabelHeight = 9;

class MainWindowComposer {
public:
    MainWindowComposer(const ImageStore& images, const MainWindowState& state,
                       const ConfigState& config, LightingPanel& lighting);

    // The whole picture, drawn over `background` (the picture of "main.png"; empty when it
    // is missing, and then so is the result).
    QImage compose(QImage background);

private:
    void drawRegion(QPainter& canvas, MainRegion region, bool alt = false);
    void drawKeyboardOverlay(QPainter& canvas);
    void drawHighlights(QPainter& canvas);
    void drawDiyKeys(QPainter& canvas, std::size_t table);

    const ImageStore& m_images;
    const MainWindowState& m_state;
    const ConfigState& m_config;
    LightingPanel& m_lighting;
};

} // namespace orvo

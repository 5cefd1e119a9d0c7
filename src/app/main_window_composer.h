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

// On the profile manager's button.
inline const PlacedText kProfileLabel{
    u"Perfil", {42, 603}, 16, RegionPlaceOf(kProfilesRegion).hit.right};
// The help menu's items end inside the menu's frame.
inline constexpr int kHelpTextRight = kHelpMenuArea.right - 1 - kLabelGap;
inline constexpr std::array<PlacedText, 3> kHelpMenuTexts{{
    {u"Reiniciar ajustes", {850, 25}, 15, kHelpTextRight},
    {u"Actualización del firmware", {850, 50}, 15, kHelpTextRight},
    {u"Versión 1.1", {850, 75}, 15, kHelpTextRight},
}};
// DIY key labels end before their key's right edge.
inline constexpr int kKeyLabelHeight = 9;
inline constexpr QColor kKeyboardGoneColour{255, 190, 60};
// Shown in the top strip while the keyboard is unplugged; it ends before the help button.
inline const PlacedText kKeyboardGoneText{
    u"Teclado desconectado", {560, 9}, 15, RegionPlaceOf(kHelpRegion).drawAt.x};

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

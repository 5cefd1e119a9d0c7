#pragma once
// Composes the main window's whole picture off-screen, layer by layer: the background, the
// title-bar buttons, the keyboard picture with its highlights or DIY colours, the bottom
// buttons, the left panel and the help menu.

#include "app/main_window_state.h"

#include <QImage>
#include <QStringView>

class QPainter;

namespace orvo {

class ImageStore;
class LightingPanel;
struct ConfigState;

inline constexpr QStringView kBackgroundImage = u"main.png";
inline constexpr QStringView kKeyboardImage = u"kb_BK.png";
inline constexpr QStringView kKeyHighlightImage = u"kb_hl.png";
inline constexpr QStringView kHelpMenuImage = u"HelpWindow.png";

struct PlacedImage {
    QStringView name;
    Point at;
};
// Pictures drawn on every composition, in order, after the background.
inline constexpr std::array<PlacedImage, 2> kLogoImages{{
    {u"logo.png", {0, 0}},
    {u"logo1.png", {458, 0}},
}};
// The title-bar buttons: normal and "over" pictures, for regions 0, 1 and 2.
struct HoverButton {
    QStringView normal;
    QStringView over;
    Point at;
};
inline constexpr std::array<HoverButton, 3> kTitleButtons{{
    {u"button-help-normal.png", u"button-help-over.png", {936, 5}},
    {u"button-min-normal.png", u"button-min-over.png", {957, 5}},
    {u"button-close-normal.png", u"button-close-over.png", {978, 5}},
}};
inline constexpr std::array<PlacedImage, 4> kBottomButtons{{
    {u"button-default-normal.png", {771, 591}},
    {u"button-cancel-normal.png", {846, 591}},
    {u"button-save-normal.png", {918, 591}},
    {u"Config.png", {23, 597}},
}};

struct PlacedText {
    QStringView text;
    Point at;
    int height;
};
inline constexpr PlacedText kProfileLabel{u"Perfil", {42, 603}, 16};
inline constexpr std::array<PlacedText, 3> kHelpMenuTexts{{
    {u"Reiniciar ajustes", {850, 25}, 15},
    {u"Actualización del firmware", {850, 50}, 15},
    {u"Versión 1.1", {850, 75}, 15},
}};
inline constexpr Point kHelpMenuAt{830, 22};
inline constexpr int kKeyLabelHeight = 9;
// Key indices whose highlight is never shown in Keymap mode (the Win key).
inline constexpr std::size_t kWinKey = 96;

class MainWindowComposer {
public:
    MainWindowComposer(const ImageStore& images, const MainWindowState& state, ConfigState& config,
                       LightingPanel& lighting);

    // The whole picture, the size of "main.png" (empty when it is missing).
    QImage compose();

private:
    void drawKeyboardOverlay(QPainter& canvas);
    void drawHighlights(QPainter& canvas);
    void drawDiyKeys(QPainter& canvas);

    const ImageStore& m_images;
    const MainWindowState& m_state;
    ConfigState& m_config;
    LightingPanel& m_lighting;
};

} // namespace orvo

#pragma once
// The lighting panel in the main window's left column: effect, speed, brightness, colour
// slots, direction, the Keymap / DIY switches, the palm-rest lighting and the two drop-down
// lists. It draws into the window's composition without changing any data, and takes the
// clicks the dispatcher routes to it; it keeps no state beyond the window's own.

#include "app/main_sliders.h"
#include "app/main_window_state.h"
#include "app/performance_panel.h"
#include "controls/draw_label.h"

#include <QColor>

#include <array>

class QPainter;

namespace orvo {

class ImageStore;
class Prompts;
struct ConfigState;

namespace lighting_ui {
// Texts end before the next text or picture on their row, else before the panel's edge.
inline constexpr int kPanelTextRight = kLeftPanelArea.right;

inline constexpr PlacedText kEffectTitle{u"Efecto iluminación", {30, 98}, 15, kPanelTextRight};
inline constexpr Point kEffectNameAt{36, 118};
inline constexpr int kEffectNameHeight = 14;

// "Disminuir ..." and "Aumentar ..." label the ends of the slider above them.
inline constexpr std::array<PlacedText, 3> kSpeedTexts{{
    {u"Velocidad", {31, 193}, 13, kPanelTextRight},
    {u"Disminuir velocidad", {34, 219}, 13, 155},
    {u"Aumentar velocidad", {155, 219}, 13, kPanelTextRight},
}};
inline constexpr std::array<PlacedText, 3> kBrightnessTexts{{
    {u"Iluminación", {34, 235}, 13, kPanelTextRight},
    {u"Disminuir iluminación", {34, 265}, 13, 145},
    {u"Aumentar iluminación", {145, 265}, 13, kPanelTextRight},
}};

// Frame of the selected slot: (30 + 28 (slot - 1), 159), 26 x 26.
inline constexpr Point kSlotFrameOrigin{30, 159};
inline constexpr int kColourSquareStep = 28;
inline constexpr int kSlotFrameSize = 26;

inline const PlacedText kDirectionTitle{
    u"Dirección:", {31, 142}, 15, RegionPlaceOf(kDirectionRRegion).drawAt.x};
inline const PlacedText kKeymapText{
    u"Keymap", {50, 177}, 15, RegionPlaceOf(kDiySwitchRegion).drawAt.x};
inline constexpr PlacedText kDiyText{u"DIY", {150, 177}, 15, kPanelTextRight};
// On the macro manager's button.
inline const PlacedText kMacroText{
    u"Macros", {122, 604}, 16, RegionPlaceOf(kMacrosRegion).hit.right};

inline constexpr std::array<PlacedText, 3> kPalmSpeedTexts{{
    {u"Velocidad", {31, 360}, 13, kPanelTextRight},
    {u"Disminuir velocidad", {34, 388}, 13, 155},
    {u"Aumentar velocidad", {155, 388}, 13, kPanelTextRight},
}};
inline constexpr std::array<PlacedText, 3> kPalmBrightnessTexts{{
    {u"Iluminación", {34, 400}, 13, kPanelTextRight},
    {u"Disminuir iluminación", {34, 430}, 13, 145},
    {u"Aumentar iluminación", {145, 430}, 13, kPanelTextRight},
}};
inline constexpr Point kPalmSwatchFrame{128, 324};
inline constexpr PlacedText kPalmTitle{u"Efectos reposamuñecas", {31, 282}, 15, kPanelTextRight};
inline constexpr PlacedText kPalmColourTitle{u"Palm Rest Color", {31, 329}, 15, kPalmSwatchFrame.x};
inline constexpr int kPalmSwatchFrameSize = 23;
inline constexpr InclusiveRect kPalmSwatch{130, 326, 150, 346};
inline constexpr Point kPalmNameAt{36, 301};

// The drop-down lists' rows.
inline constexpr int kListTextHeight = 18;
inline constexpr int kListTextRight = kListRight;
inline constexpr QColor kListRowColour{59, 59, 59};
inline constexpr QColor kListHoverColour{16, 67, 161};

// Sliders each list hides when it opens; the next composition shows those the panel needs.
inline constexpr std::array<int, 5> kHiddenByEffectList{
    kSpeedSlider, kBrightnessSlider, kResponseTimeSlider, kPalmSpeedSlider, kPalmBrightnessSlider};
inline constexpr std::array<int, 4> kHiddenByPalmList{kSpeedSlider, kBrightnessSlider,
                                                      kReportRateSlider, kResponseTimeSlider};
} // namespace lighting_ui

class LightingPanel {
public:
    LightingPanel(const ImageStore& images, MainWindowState& state, ConfigState& config,
                  MainSliders& sliders, Prompts& prompts);

    // Step 5 of the composition: draws the panel, the macro button and the performance
    // block, and positions, shows or hides the sliders.
    void draw(QPainter& canvas);

    // A click on one of the panel's regions (effect and palm-rest selectors, directions,
    // colour slots, switches, palm-rest colour); false when the region is not the panel's.
    bool click(int region);
    // A click while a drop-down list is open; the dispatcher closes the list afterwards.
    void clickEffectList(Point p);
    void clickPalmList(Point p);

    // A key click in DIY mode that colours the selected keys (keySelected). The caller
    // clears the selection afterwards, whatever happened here.
    void colourSelectedKeys();

private:
    void drawRegion(QPainter& canvas, MainRegion region, bool alt = false);
    void drawSpeedAndBrightness(QPainter& canvas, std::uint8_t effect);
    void drawColourSlots(QPainter& canvas);
    void drawDirectionOrSwitches(QPainter& canvas, std::uint8_t effect);
    void drawPalmRest(QPainter& canvas);
    void drawLists(QPainter& canvas);
    void setSliderShown(int controlId, bool shown);
    void clickColourSlot(int slot);
    void clickPalmColour();

    const ImageStore& m_images;
    MainWindowState& m_state;
    ConfigState& m_config;
    MainSliders& m_sliders;
    Prompts& m_prompts;
    PerformancePanel m_performance;
};

} // namespace orvo

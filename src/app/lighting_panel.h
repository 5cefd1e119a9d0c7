#pragma once
// The lighting panel in the main window's left column: effect, speed, brightness, colour
// slots, direction, the Keymap / DIY switches, the palm-rest lighting and the two drop-down
// lists. It draws into the window's composition and takes the clicks the dispatcher routes
// to it; it keeps no state beyond the window's own.

#include "app/main_sliders.h"
#include "app/main_window_state.h"
#include "app/performance_panel.h"
#include "app/prompts.h"
#include "model/window_layout.h"

#include <QColor>
#include <QStringView>

#include <array>
#include <memory>

class QPainter;

namespace orvo {

class CBrisoldeDlg;
struct ConfigState;

// A text of the panel: where it goes and how high it is.
struct PanelText {
    QStringView text;
    Point at;
    int height;
};
struct PanelImage {
    QStringView name;
    Point at;
};

namespace lighting_ui {
inline constexpr PanelImage kBackground{u"Left_BK.png", {17, 70}};
inline constexpr PanelText kEffectTitle{u"Efecto iluminación", {30, 98}, 15};
inline constexpr PanelImage kEffectBar{u"Light_Item.png", {31, 112}};
inline constexpr Point kEffectNameAt{36, 118};
inline constexpr int kEffectNameHeight = 14;

inline constexpr std::array<PanelText, 3> kSpeedTexts{{
    {u"Velocidad", {31, 193}, 13},
    {u"Disminuir velocidad", {34, 219}, 13},
    {u"Aumentar velocidad", {155, 219}, 13},
}};
inline constexpr std::array<PanelText, 3> kBrightnessTexts{{
    {u"Iluminación", {34, 235}, 13},
    {u"Disminuir iluminación", {34, 265}, 13},
    {u"Aumentar iluminación", {145, 265}, 13},
}};

// Colour squares k = 0..6 at (32 + 28 k, 161)..(55 + 28 k, 184); slot 8 is a picture.
inline constexpr PanelImage kMulticolourImage{u"8.png", {228, 161}};
inline constexpr InclusiveRect kFirstColourSquare{32, 161, 55, 184};
inline constexpr int kColourSquareStep = 28;
// Frame of the selected slot: (30 + 28 (slot - 1), 159), 26 x 26.
inline constexpr Point kSlotFrameOrigin{30, 159};
inline constexpr int kSlotFrameSize = 26;

inline constexpr PanelText kDirectionTitle{u"Dirección:", {31, 142}, 15};
struct DirectionArrow {
    std::uint8_t direction;
    QStringView enabled;
    QStringView disabled;
    Point at;
};
// In drawing order of the disabled pictures.
inline constexpr std::array<DirectionArrow, 4> kDirectionArrows{{
    {2, u"Direction-R-Enable.png", u"Direction-R-Disable.png", {140, 140}},
    {1, u"Direction-L-Enable.png", u"Direction-L-Disable.png", {165, 140}},
    {3, u"Direction-T-Enable.png", u"Direction-T-Disable.png", {218, 145}},
    {4, u"Direction-B-Enable.png", u"Direction-B-Disable.png", {190, 145}},
}};

inline constexpr QStringView kSwitchOn = u"Enable.png";
inline constexpr QStringView kSwitchOff = u"Disable.png";
inline constexpr Point kKeymapSwitchAt{28, 174};
inline constexpr Point kDiySwitchAt{130, 174};
inline constexpr PanelText kKeymapText{u"Keymap", {50, 177}, 15};
inline constexpr PanelText kDiyText{u"DIY", {150, 177}, 15};

inline constexpr PanelImage kMacroButton{u"MacroButton3.png", {107, 597}};
inline constexpr PanelText kMacroText{u"Macros", {122, 604}, 16};

inline constexpr std::array<PanelText, 3> kPalmSpeedTexts{{
    {u"Velocidad", {31, 360}, 13},
    {u"Disminuir velocidad", {34, 388}, 13},
    {u"Aumentar velocidad", {155, 388}, 13},
}};
inline constexpr std::array<PanelText, 3> kPalmBrightnessTexts{{
    {u"Iluminación", {34, 400}, 13},
    {u"Disminuir iluminación", {34, 430}, 13},
    {u"Aumentar iluminación", {145, 430}, 13},
}};
inline constexpr PanelText kPalmTitle{u"Efectos reposamuñecas", {31, 282}, 15};
inline constexpr PanelImage kPalmBar{u"Light_Item.png", {31, 296}};
inline constexpr PanelText kPalmColourTitle{u"Palm Rest Color", {31, 329}, 15};
inline constexpr Point kPalmSwatchFrame{128, 324};
inline constexpr int kPalmSwatchFrameSize = 23;
inline constexpr InclusiveRect kPalmSwatch{130, 326, 150, 346};
inline constexpr Point kPalmMulticolourAt{130, 326};
inline constexpr Point kPalmNameAt{36, 301};

// The drop-down lists' rows (20 pixels from the tops of kEffectListArea and kPalmListArea)
// are filled up to x = 253.
inline constexpr int kListRight = 253;
inline constexpr int kListTextHeight = 18;
inline constexpr QColor kListRowColour{59, 59, 59};
inline constexpr QColor kListHoverColour{16, 67, 161};

// Sliders each list hides when it opens; the next composition shows those the panel needs.
inline constexpr std::array<int, 5> kHiddenByEffectList{
    kSpeedSlider, kBrightnessSlider, kResponseTimeSlider, kPalmSpeedSlider, kPalmBrightnessSlider};
inline constexpr std::array<int, 4> kHiddenByPalmList{kSpeedSlider, kBrightnessSlider,
                                                      kReportRateSlider, kResponseTimeSlider};

// Clickable regions of the panel.
inline constexpr int kEffectSelectorRegion = 3;
inline constexpr int kFirstDirectionRegion = 4;
inline constexpr int kLastDirectionRegion = 7;
inline constexpr int kFirstColourSlotRegion = 8; // slot n = region - 7
inline constexpr int kLastColourSlotRegion = 15;
inline constexpr int kPalmSelectorRegion = 23;
inline constexpr int kPalmColourRegion = 35;
} // namespace lighting_ui

class LightingPanel {
public:
    LightingPanel(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                  MainSliders& sliders);
    ~LightingPanel();

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

    // The dialogs the panel and the device actions open; tests set their own (not owned).
    Prompts& prompts() { return m_prompts ? *m_prompts : *m_dialogPrompts; }
    void setPrompts(Prompts* prompts) { m_prompts = prompts; }

private:
    void drawText(QPainter& canvas, const PanelText& text);
    void drawImage(QPainter& canvas, const PanelImage& image);
    void drawImage(QPainter& canvas, QStringView name, Point at);
    void drawSpeedAndBrightness(QPainter& canvas, std::uint8_t effect);
    void drawColourSlots(QPainter& canvas);
    void drawDirectionOrSwitches(QPainter& canvas, std::uint8_t effect);
    void drawPalmRest(QPainter& canvas);
    void drawLists(QPainter& canvas);
    void setSliderShown(int controlId, bool shown);
    void clickColourSlot(int slot);
    void clickPalmColour();

    CBrisoldeDlg& m_window;
    MainWindowState& m_state;
    ConfigState& m_config;
    MainSliders& m_sliders;
    PerformancePanel m_performance;
    std::unique_ptr<DialogPrompts> m_dialogPrompts;
    Prompts* m_prompts = nullptr;
};

} // namespace orvo

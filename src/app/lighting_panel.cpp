#include "app/lighting_panel.h"

#include "app/brisolde_dlg.h"
#include "app/click_dispatcher.h"
#include "app/draw_label.h"
#include "controls/bit_slider.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "model/config_state.h"
#include "model/effects.h"
#include "model/lighting_rules.h"

#include <QPainter>

namespace orvo {

using namespace lighting_ui;

namespace {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const InclusiveRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

QColor ToQColor(ColorRef c) {
    const Rgb rgb = ToRgb(c);
    return QColor(rgb.r, rgb.g, rgb.b);
}

// Row r of a list covers top + 20 r .. top + 20 r + 19; nullopt outside the list.
template <std::size_t N>
std::optional<std::uint8_t> ListCodeAt(const std::array<Effect, N>& list, int top, Point p) {
    if (p.x < kEffectListArea.left || p.y < top)
        return std::nullopt;
    const auto row = static_cast<std::size_t>((p.y - top) / kListRowHeight);
    if (row >= N)
        return std::nullopt;
    return list[row].code;
}

} // namespace

LightingPanel::LightingPanel(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                             MainSliders& sliders)
    : m_window(window), m_state(state), m_config(config), m_sliders(sliders),
      m_performance(window, state, config, sliders),
      m_dialogPrompts(std::make_unique<DialogPrompts>(window, window.images().folder())) {}

LightingPanel::~LightingPanel() = default;

void LightingPanel::drawText(QPainter& canvas, const PanelText& text) {
    DrawLabel(canvas, text.text.toString(), text.at.x, text.at.y, text.height);
}

void LightingPanel::drawImage(QPainter& canvas, const PanelImage& image) {
    drawImage(canvas, image.name, image.at);
}

void LightingPanel::drawImage(QPainter& canvas, QStringView name, Point at) {
    DrawPng(canvas, m_window.images(), name.toString(), at.x, at.y);
}

void LightingPanel::setSliderShown(int controlId, bool shown) {
    if (CBitSlider* slider = m_sliders.byId(controlId))
        slider->setVisible(shown);
}

void LightingPanel::draw(QPainter& canvas) {
    const std::uint8_t effect = m_config.image.byte(field::lightingEffect);

    drawImage(canvas, kBackground);
    drawText(canvas, kEffectTitle);
    drawImage(canvas, kEffectBar);
    drawSpeedAndBrightness(canvas, effect);
    if (effect < kFirstCustomEffect)
        drawColourSlots(canvas);
    drawDirectionOrSwitches(canvas, effect);
    DrawLabel(canvas, ToQString(EffectName(EffectList, effect)), kEffectNameAt.x, kEffectNameAt.y,
              kEffectNameHeight);

    drawImage(canvas, kMacroButton);
    drawText(canvas, kMacroText);
    m_performance.draw(canvas);

    drawPalmRest(canvas);
    drawLists(canvas);
}

void LightingPanel::drawSpeedAndBrightness(QPainter& canvas, std::uint8_t effect) {
    if (!ControlsForEffect(effect).speed) {
        setSliderShown(kSpeedSlider, false);
    } else {
        m_window.DrawSlider(kSpeedSlider, canvas);
        if (!m_state.effectListOpen) {
            setSliderShown(kSpeedSlider, true);
            for (const PanelText& t : kSpeedTexts)
                drawText(canvas, t);
        }
    }

    for (const PanelText& t : kBrightnessTexts)
        drawText(canvas, t);
    const bool shown = !m_state.effectListOpen;
    for (int id : {kBrightnessSlider, kPalmSpeedSlider, kPalmBrightnessSlider})
        setSliderShown(id, shown);
    if (shown)
        m_window.DrawSlider(kBrightnessSlider, canvas);
}

void LightingPanel::drawColourSlots(QPainter& canvas) {
    drawImage(canvas, kMulticolourImage);
    NormaliseLightingColour(m_config.image);
    for (int k = 0; k < static_cast<int>(kColourSlotCount); ++k) {
        const QRect square = ToQRect(kFirstColourSquare).translated(kColourSquareStep * k, 0);
        canvas.fillRect(square, ToQColor(ColourSlotValue(m_config.image, k + kFirstColourSlot)));
    }
    const int selected = m_config.image.byte(field::lightingColour);
    DrawFrame(canvas, kSlotFrameOrigin.x + kColourSquareStep * (selected - 1), kSlotFrameOrigin.y,
              kSlotFrameSize, kSlotFrameSize);
}

void LightingPanel::drawDirectionOrSwitches(QPainter& canvas, std::uint8_t effect) {
    const EffectControls controls = ControlsForEffect(effect);
    if (controls.direction) {
        drawText(canvas, kDirectionTitle);
        for (const DirectionArrow& arrow : kDirectionArrows)
            drawImage(canvas, arrow.disabled, arrow.at);
        const std::uint8_t direction = m_config.image.byte(field::lightingDirection);
        for (const DirectionArrow& arrow : kDirectionArrows)
            if (arrow.direction == direction)
                drawImage(canvas, arrow.enabled, arrow.at);
    } else if (controls.diySwitches) {
        drawImage(canvas, m_state.diyMode ? kSwitchOff : kSwitchOn, kKeymapSwitchAt);
        drawImage(canvas, m_state.diyMode ? kSwitchOn : kSwitchOff, kDiySwitchAt);
        drawText(canvas, kKeymapText);
        drawText(canvas, kDiyText);
    }
}

void LightingPanel::drawPalmRest(QPainter& canvas) {
    m_window.DrawSlider(kPalmSpeedSlider, canvas);
    for (const PanelText& t : kPalmSpeedTexts)
        drawText(canvas, t);
    m_window.DrawSlider(kPalmBrightnessSlider, canvas);
    for (const PanelText& t : kPalmBrightnessTexts)
        drawText(canvas, t);

    drawText(canvas, kPalmTitle);
    drawImage(canvas, kPalmBar);
    drawText(canvas, kPalmColourTitle);
    if (PalmSwatchShowsColour(m_config.image)) {
        DrawFrame(canvas, kPalmSwatchFrame.x, kPalmSwatchFrame.y, kPalmSwatchFrameSize,
                  kPalmSwatchFrameSize);
        canvas.fillRect(ToQRect(kPalmSwatch), ToQColor(PalmColourValue(m_config.image)));
    } else {
        drawImage(canvas, kMulticolourImage.name, kPalmMulticolourAt);
    }
    const std::uint8_t palmEffect = m_config.image.byte(field::palmRest, palm::effect);
    DrawLabel(canvas, ToQString(EffectName(PalmEffectList, palmEffect)), kPalmNameAt.x,
              kPalmNameAt.y, kEffectNameHeight);
}

void LightingPanel::drawLists(QPainter& canvas) {
    const auto drawRows = [&](auto const& list, int top, int hovered) {
        for (int r = 0; r < static_cast<int>(list.size()); ++r) {
            const int y = top + kListRowHeight * r;
            canvas.fillRect(
                QRect(QPoint(kEffectListArea.left, y), QPoint(kListRight, y + kListRowHeight)),
                r == hovered ? kListHoverColour : kListRowColour);
            DrawLabel(canvas, ToQString(list[static_cast<std::size_t>(r)].name),
                      kEffectListArea.left, y, kListTextHeight);
        }
    };
    if (m_state.effectListOpen) {
        setSliderShown(kSpeedSlider, false);
        setSliderShown(kBrightnessSlider, false);
        drawRows(EffectList, kEffectListArea.top, m_state.hoveredEffectRow);
    } else if (m_state.palmListOpen) {
        setSliderShown(kPalmSpeedSlider, false);
        setSliderShown(kPalmBrightnessSlider, false);
        drawRows(PalmEffectList, kPalmListArea.top, m_state.hoveredPalmRow);
    }
}

bool LightingPanel::click(int region, Point p) {
    static_cast<void>(p);
    if (m_performance.click(region))
        return true;
    if (const auto direction = DirectionForRegion(region)) {
        // Works whatever the effect, even while the arrows are not drawn.
        m_config.image.byte(field::lightingDirection) = *direction;
        return true;
    }
    if (region >= kFirstColourSlotRegion && region <= kLastColourSlotRegion) {
        clickColourSlot(region - kFirstColourSlotRegion + kFirstColourSlot);
        return true;
    }
    switch (region) {
    case kEffectSelectorRegion:
        m_state.closeOverlays();
        m_state.effectListOpen = true;
        for (int id : kHiddenByEffectList)
            setSliderShown(id, false);
        return true;
    case kPalmSelectorRegion:
        m_state.closeOverlays();
        m_state.palmListOpen = true;
        for (int id : kHiddenByPalmList)
            setSliderShown(id, false);
        return true;
    case kPalmColourRegion:
        clickPalmColour();
        return true;
    case kKeymapSwitchRegion:
        m_state.diyMode = false;
        return true;
    case kDiySwitchRegion:
        m_state.diyMode = true;
        return true;
    default:
        return false;
    }
}

void LightingPanel::clickColourSlot(int slot) {
    if (ClickColourSlot(m_config.image, slot) != SlotClick::EditColour)
        return;
    if (const auto colour = prompts().pickColour(kColourDialogPreset))
        StoreColourSlot(m_config.image, slot, *colour);
}

void LightingPanel::clickPalmColour() {
    if (!PalmColourEditable(m_config.image))
        return;
    if (const auto colour = prompts().pickColour(kColourDialogPreset))
        StorePalmColour(m_config.image, *colour);
}

void LightingPanel::clickEffectList(Point p) {
    if (const auto code = ListCodeAt(EffectList, kEffectListArea.top, p))
        m_state.diyMode = SelectEffect(m_config.image, *code);
}

void LightingPanel::clickPalmList(Point p) {
    if (const auto code = ListCodeAt(PalmEffectList, kPalmListArea.top, p))
        m_config.image.byte(field::palmRest, palm::effect) = *code;
}

void LightingPanel::colourSelectedKeys() {
    // Only a custom profile has a table to paint; any other effect (even one above 55 read
    // from the keyboard) opens no dialog.
    if (!CustomTableForEffect(m_config.image.byte(field::lightingEffect)))
        return;
    if (const auto colour = prompts().pickColour(kColourDialogPreset))
        ColourSelectedKeys(m_config.image, m_state.keySelected, *colour);
}

} // namespace orvo

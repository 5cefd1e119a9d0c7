#include "app/lighting_panel.h"

#include "app/prompts.h"
#include "app/slider_drawing.h"
#include "controls/bit_slider.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "model/config_state.h"
#include "model/effects.h"
#include "model/lighting_rules.h"

#include <QPainter>

namespace orvo {

using namespace lighting_ui;

namespace {

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

LightingPanel::LightingPanel(const ImageStore& images, MainWindowState& state, ConfigState& config,
                             MainSliders& sliders, Prompts& prompts)
    : m_images(images), m_state(state), m_config(config), m_sliders(sliders), m_prompts(prompts),
      m_performance(images, config, sliders) {}

void LightingPanel::drawRegion(QPainter& canvas, MainRegion region, bool alt) {
    const RegionPlace& place = RegionPlaceOf(region);
    DrawPng(canvas, m_images, alt ? place.altPicture : place.picture, place.drawAt);
}

void LightingPanel::setSliderShown(int controlId, bool shown) {
    if (CBitSlider* slider = m_sliders.byId(controlId))
        slider->setVisible(shown);
}

void LightingPanel::draw(QPainter& canvas) {
    const std::uint8_t effect = m_config.image.byte(field::lightingEffect);

    DrawPng(canvas, m_images, kLeftPanelPicture);
    DrawLabel(canvas, kEffectTitle);
    drawRegion(canvas, kEffectSelectorRegion);
    drawSpeedAndBrightness(canvas, effect);
    if (ControlsForEffect(effect).colourSlots)
        drawColourSlots(canvas);
    drawDirectionOrSwitches(canvas, effect);
    DrawLabel(canvas, ToQString(EffectName(EffectList, effect)), kEffectNameAt.x, kEffectNameAt.y,
              kEffectNameHeight, kLabelColour, kSelectorArrowLeft);

    drawRegion(canvas, kMacrosRegion);
    DrawLabel(canvas, kMacroText);
    m_performance.draw(canvas);

    drawPalmRest(canvas);
    drawLists(canvas);
}

void LightingPanel::drawSpeedAndBrightness(QPainter& canvas, std::uint8_t effect) {
    if (!ControlsForEffect(effect).speed) {
        setSliderShown(kSpeedSlider, false);
    } else {
        PaintSlider(canvas, m_images, m_sliders, kSpeedSlider);
        if (!m_state.effectListOpen) {
            setSliderShown(kSpeedSlider, true);
            for (const PlacedText& t : kSpeedTexts)
                DrawLabel(canvas, t);
        }
    }

    for (const PlacedText& t : kBrightnessTexts)
        DrawLabel(canvas, t);
    const bool shown = !m_state.effectListOpen;
    for (int id : {kBrightnessSlider, kPalmSpeedSlider, kPalmBrightnessSlider})
        setSliderShown(id, shown);
    if (shown)
        PaintSlider(canvas, m_images, m_sliders, kBrightnessSlider);
}

void LightingPanel::drawColourSlots(QPainter& canvas) {
    drawRegion(canvas, kLastColourSlotRegion); // the multicolour slot
    for (int k = 0; k < static_cast<int>(kColourSlotCount); ++k) {
        const auto region = static_cast<MainRegion>(kFirstColourSlotRegion + k);
        canvas.fillRect(ToQRect(RegionPlaceOf(region).hit),
                        ToQColor(ColourSlotValue(m_config.image, k + kFirstColourSlot)));
    }
    // A value read from the keyboard may lie outside the slots; the frame marks the slot
    // that value stands for.
    const int selected = NormalisedLightingColour(m_config.image);
    DrawFrame(canvas, kSlotFrameOrigin.x + kColourSquareStep * (selected - 1), kSlotFrameOrigin.y,
              kSlotFrameSize, kSlotFrameSize);
}

void LightingPanel::drawDirectionOrSwitches(QPainter& canvas, std::uint8_t effect) {
    const EffectControls controls = ControlsForEffect(effect);
    if (controls.direction) {
        DrawLabel(canvas, kDirectionTitle);
        const std::uint8_t direction = m_config.image.byte(field::lightingDirection);
        for (int r = kDirectionTRegion; r <= kDirectionLRegion; ++r) {
            const auto region = static_cast<MainRegion>(r);
            drawRegion(canvas, region, DirectionForRegion(region) != direction);
        }
    } else if (controls.diySwitches) {
        drawRegion(canvas, kKeymapSwitchRegion, m_state.diyMode);
        drawRegion(canvas, kDiySwitchRegion, !m_state.diyMode);
        DrawLabel(canvas, kKeymapText);
        DrawLabel(canvas, kDiyText);
    }
}

void LightingPanel::drawPalmRest(QPainter& canvas) {
    PaintSlider(canvas, m_images, m_sliders, kPalmSpeedSlider);
    for (const PlacedText& t : kPalmSpeedTexts)
        DrawLabel(canvas, t);
    PaintSlider(canvas, m_images, m_sliders, kPalmBrightnessSlider);
    for (const PlacedText& t : kPalmBrightnessTexts)
        DrawLabel(canvas, t);

    DrawLabel(canvas, kPalmTitle);
    drawRegion(canvas, kPalmSelectorRegion);
    DrawLabel(canvas, kPalmColourTitle);
    if (PalmSwatchShowsColour(m_config.image)) {
        DrawFrame(canvas, kPalmSwatchFrame.x, kPalmSwatchFrame.y, kPalmSwatchFrameSize,
                  kPalmSwatchFrameSize);
        canvas.fillRect(ToQRect(kPalmSwatch), ToQColor(PalmColourValue(m_config.image)));
    } else {
        drawRegion(canvas, kPalmColourRegion); // the multicolour picture
    }
    const std::uint8_t palmEffect = m_config.image.byte(field::palmRest, palm::effect);
    DrawLabel(canvas, ToQString(EffectName(PalmEffectList, palmEffect)), kPalmNameAt.x,
              kPalmNameAt.y, kEffectNameHeight, kLabelColour, kSelectorArrowLeft);
}

void LightingPanel::drawLists(QPainter& canvas) {
    const auto drawRows = [&](auto const& list, int top, int hovered) {
        for (int r = 0; r < static_cast<int>(list.size()); ++r) {
            const int y = top + kListRowHeight * r;
            canvas.fillRect(
                QRect(QPoint(kEffectListArea.left, y), QPoint(kListRight, y + kListRowHeight)),
                r == hovered ? kListHoverColour : kListRowColour);
            DrawLabel(canvas, ToQString(list[static_cast<std::size_t>(r)].name),
                      kEffectListArea.left, y, kListTextHeight, kLabelColour, kListTextRight);
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

bool LightingPanel::click(int region) {
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
    if (const auto colour = m_prompts.pickColour(kColourDialogPreset))
        StoreColourSlot(m_config.image, slot, *colour);
}

void LightingPanel::clickPalmColour() {
    if (!PalmColourEditable(m_config.image))
        return;
    if (const auto colour = m_prompts.pickColour(kColourDialogPreset))
        StorePalmColour(m_config.image, *colour);
}

void LightingPanel::clickEffectList(Point p) {
    const auto code = ListCodeAt(EffectList, kEffectListArea.top, p);
    if (!code)
        return;
    m_state.diyMode = SelectEffect(m_config.image, *code);
    // The panel shows an effect with colour slots with its selected slot made showable.
    if (ControlsForEffect(*code).colourSlots)
        NormaliseLightingColour(m_config.image);
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
    if (const auto colour = m_prompts.pickColour(kColourDialogPreset))
        ColourSelectedKeys(m_config.image, m_state.keySelected, *colour);
}

} // namespace orvo

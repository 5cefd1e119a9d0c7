#include "model/slider_fields.h"

#include "model/lighting_rules.h"

#include <algorithm>

namespace orvo {

std::optional<std::size_t> SliderIndex(int controlId) {
    for (std::size_t i = 0; i < kSliderPlaces.size(); ++i)
        if (kSliderPlaces[i].controlId == controlId)
            return i;
    return std::nullopt;
}

void StoreSliderPosition(SettingsImage& image, int controlId, int position) {
    const auto value = static_cast<std::uint8_t>(position);
    switch (controlId) {
    case kSpeedSlider:
        image.byte(field::lightingSpeed) = value;
        break;
    case kBrightnessSlider:
        image.byte(field::lightingBrightness) = value;
        break;
    case kPalmSpeedSlider:
        image.byte(field::palmRest, palm::speed) = static_cast<std::uint8_t>(position + 1);
        break;
    case kPalmBrightnessSlider:
        image.byte(field::palmRest, palm::brightness) = value;
        break;
    case kResponseTimeSlider:
        image.byte(field::responseTime) = value;
        break;
    case kReportRateSlider:
        image.byte(field::reportRate) = value;
        break;
    default:
        break;
    }
}

int SliderPositionFromImage(const SettingsImage& image, int controlId) {
    switch (controlId) {
    case kSpeedSlider:
        return image.byte(field::lightingSpeed);
    case kBrightnessSlider:
        return image.byte(field::lightingBrightness);
    case kPalmSpeedSlider:
        return image.byte(field::palmRest, palm::speed) - 1;
    case kPalmBrightnessSlider:
        return image.byte(field::palmRest, palm::brightness);
    case kResponseTimeSlider:
        return image.byte(field::responseTime);
    case kReportRateSlider:
        return image.byte(field::reportRate);
    default:
        return 0;
    }
}

SliderPositions SliderPositionsAfter(const SettingsImage& image, SliderSync sync) {
    SliderPositions positions;
    for (std::size_t i = 0; i < kSliderPlaces.size(); ++i) {
        const SliderPlace& place = kSliderPlaces[i];
        const bool palmRest =
            place.controlId == kPalmSpeedSlider || place.controlId == kPalmBrightnessSlider;
        if (palmRest && sync == SliderSync::KeepPalmRest)
            continue;
        int position = SliderPositionFromImage(image, place.controlId);
        if (place.controlId == kResponseTimeSlider && sync == SliderSync::KeepPalmRest)
            position -= 1;
        positions[i] = std::clamp(position, 0, place.maximum);
    }
    return positions;
}

void SettleShownValues(SettingsImage& image, const std::array<int, kSliderCount>& positions,
                       bool effectListOpen) {
    const std::uint8_t effect = image.byte(field::lightingEffect);
    const EffectControls controls = ControlsForEffect(effect);
    for (std::size_t i = 0; i < kSliderPlaces.size(); ++i) {
        const int id = kSliderPlaces[i].controlId;
        if (id == kSpeedSlider && !controls.speed)
            continue;
        if (id == kBrightnessSlider && effectListOpen)
            continue;
        StoreSliderPosition(image, id, positions[i]);
    }
    if (controls.colourSlots)
        NormaliseLightingColour(image);
}

} // namespace orvo

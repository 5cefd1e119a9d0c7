#include "app/main_sliders.h"

namespace orvo {

std::optional<std::size_t> SliderIndex(int controlId) {
    for (std::size_t i = 0; i < kSliderSpecs.size(); ++i)
        if (kSliderSpecs[i].controlId == controlId)
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

} // namespace orvo

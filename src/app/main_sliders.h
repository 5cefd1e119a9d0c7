#pragma once
// The six bitmap sliders of the main window: where they sit, their ranges, and which field
// of the settings image each one edits.

#include "model/settings_image.h"
#include "model/window_layout.h"

#include <array>
#include <optional>

namespace orvo {

class CBitSlider;

inline constexpr int kSpeedSlider = 1007;
inline constexpr int kBrightnessSlider = 1017;
inline constexpr int kPalmSpeedSlider = 1038;
inline constexpr int kPalmBrightnessSlider = 1037;
inline constexpr int kResponseTimeSlider = 1018;
inline constexpr int kReportRateSlider = 1010;

struct SliderSpec {
    int controlId;
    Point position;
    int maximum; // range 0..maximum
    std::optional<int> startPosition;
};

inline constexpr std::array<SliderSpec, 6> kSliderSpecs{{
    {kSpeedSlider, {31, 204}, 9, std::nullopt},
    {kBrightnessSlider, {31, 248}, 50, 1},
    {kPalmSpeedSlider, {31, 372}, 4, 1},
    {kPalmBrightnessSlider, {31, 415}, 50, 1},
    {kResponseTimeSlider, {34, 465}, 9, 1},
    {kReportRateSlider, {34, 520}, 3, 1},
}};

// Index into kSliderSpecs (and into MainSliders), or nullopt for an unknown control ID.
std::optional<std::size_t> SliderIndex(int controlId);

// Stores a slider position into its field (the palm-rest speed keeps position + 1).
void StoreSliderPosition(SettingsImage& image, int controlId, int position);
// The position that shows the field's value (the palm-rest speed shows byte 3 - 1).
int SliderPositionFromImage(const SettingsImage& image, int controlId);

// The sliders themselves, in the order of kSliderSpecs; owned by the main window.
struct MainSliders {
    std::array<CBitSlider*, kSliderSpecs.size()> sliders{};
    CBitSlider* byId(int controlId) const {
        const auto index = SliderIndex(controlId);
        return index ? sliders[*index] : nullptr;
    }
};

} // namespace orvo

#pragma once
// The six sliders of the main window: their places, ranges and start positions, the field of
// the settings image each one edits, and how they follow an image that was replaced.

#include "model/settings_image.h"
#include "model/window_layout.h"

#include <array>
#include <cstddef>
#include <optional>

namespace orvo {

inline constexpr int kSpeedSlider = 1007;
inline constexpr int kBrightnessSlider = 1017;
inline constexpr int kPalmSpeedSlider = 1038;
inline constexpr int kPalmBrightnessSlider = 1037;
inline constexpr int kResponseTimeSlider = 1018;
inline constexpr int kReportRateSlider = 1010;

struct SliderPlace {
    int controlId;
    Point position;
    int maximum; // range 0..maximum
    std::optional<int> startPosition;
};

inline constexpr std::size_t kSliderCount = 6;
inline constexpr std::array<SliderPlace, kSliderCount> kSliderPlaces{{
    {kSpeedSlider, {31, 204}, 9, std::nullopt},
    {kBrightnessSlider, {31, 248}, 50, 1},
    {kPalmSpeedSlider, {31, 372}, 4, 1},
    {kPalmBrightnessSlider, {31, 415}, 50, 1},
    {kResponseTimeSlider, {34, 465}, 9, 1},
    {kReportRateSlider, {34, 520}, 3, 1},
}};

// Index into kSliderPlaces, or nullopt for an unknown control ID.
std::optional<std::size_t> SliderIndex(int controlId);

// Stores a slider position into its field (the palm-rest speed keeps position + 1).
void StoreSliderPosition(SettingsImage& image, int controlId, int position);
// The position that shows the field's value (the palm-rest speed shows byte 3 - 1).
int SliderPositionFromImage(const SettingsImage& image, int controlId);

// How the sliders follow an image that was replaced.
enum class SliderSync {
    // After a read-back, a Cancel or a dialog: every slider shows its field.
    AllFields,
    // After a factory reset or a reconnection: the palm-rest sliders keep their places and the
    // response time shows its value - 1.
    KeepPalmRest,
};

// Positions in kSliderPlaces order; nullopt where a slider keeps its place.
using SliderPositions = std::array<std::optional<int>, kSliderCount>;
// Where the sliders go after the image was replaced, each within its range.
SliderPositions SliderPositionsAfter(const SettingsImage& image, SliderSync sync);

// What the panel shows goes back into the image once after a replacement: the position of
// every slider it shows (speed only for an effect with a speed, brightness while the effect
// list is closed, the other four always) and, for an effect with colour slots, the selected
// slot as the panel shows it. `positions` are the sliders' own, in kSliderPlaces order.
void SettleShownValues(SettingsImage& image, const std::array<int, kSliderCount>& positions,
                       bool effectListOpen);

} // namespace orvo

#pragma once
// The six bitmap sliders of the main window, in the order of kSliderPlaces; owned by the
// window. Their places, ranges and fields are the core's (model/slider_fields.h).

#include "model/slider_fields.h"

#include <array>

namespace orvo {

class CBitSlider;

struct MainSliders {
    std::array<CBitSlider*, kSliderCount> sliders{};
    CBitSlider* byId(int controlId) const {
        const auto index = SliderIndex(controlId);
        return index ? sliders[*index] : nullptr;
    }
};

} // namespace orvo

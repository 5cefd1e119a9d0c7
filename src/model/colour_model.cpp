#include "model/colour_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvo {

namespace {

std::uint8_t RoundToByte(double v, int cap) {
    return static_cast<std::uint8_t>(std::min(static_cast<int>(v + 0.5), cap));
}

// Truncates like the conversion always has, but first absorbs the rounding error of the
// floating-point steps: (2/3 - 1/2) * 6 comes out as 0.99999..., which would turn the
// yellow and cyan of the spectrum into 254.
std::uint8_t TruncateToByte(double unit) {
    constexpr double kFloatSlack = 1e-9;
    return static_cast<std::uint8_t>(
        std::clamp(static_cast<int>(unit * 255.0 + kFloatSlack), 0, 255));
}

// One component of the HSL -> RGB conversion for hue position t (in turns).
double HueToComponent(double m1, double m2, double t) {
    if (t < 0) {
        t += 1;
    } else if (t > 1) {
        t -= 1;
    }
    if (6 * t < 1) {
        return m1 + (m2 - m1) * 6 * t;
    }
    if (2 * t < 1) {
        return m2;
    }
    if (3 * t < 2) {
        return m1 + (m2 - m1) * (2.0 / 3.0 - t) * 6;
    }
    return m1;
}

} // namespace

HslReal RgbToHslReal(Rgb c) {
    const double r = c.r / 255.0;
    const double g = c.g / 255.0;
    const double b = c.b / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    double h = 0;
    double s = 0;
    if (max != min) {
        const double d = max - min;
        s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (max == r) {
            h = (g - b) / d;
        } else if (max == g) {
            h = (b - r) / d + 2;
        } else {
            h = (r - g) / d + 4;
        }
        h /= 6;
        if (h < 0) {
            h += 1;
        }
    }
    return {h * 240, s * 240, l * 240};
}

Hsl RgbToHsl(Rgb c) {
    const HslReal v = RgbToHslReal(c);
    return {RoundToByte(v.hue, kHueMax), RoundToByte(v.saturation, kSaturationMax),
            RoundToByte(v.luminosity, kLuminosityMax)};
}

Rgb HslToRgb(double hue, double saturation, double luminosity) {
    const double s = saturation / 240;
    const double l = luminosity / 240;
    if (s == 0) {
        const std::uint8_t grey = TruncateToByte(l);
        return {grey, grey, grey};
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    const double h = hue / 240;
    return {TruncateToByte(HueToComponent(m1, m2, h + 1.0 / 3.0)),
            TruncateToByte(HueToComponent(m1, m2, h)),
            TruncateToByte(HueToComponent(m1, m2, h - 1.0 / 3.0))};
}

Point SpectrumGeometry::crosshairFor(int hue, int saturation) const {
    const int w = spectrum().width();
    const int h = spectrum().height();
    const int x = std::max(0, std::min(w * hue / kHueMax, w - 1));
    const int y = std::min(h + kSpectrumTop - saturation * h / kSaturationMax,
                           height - kSpectrumBottomMargin - 1);
    return {x, y};
}

int SpectrumGeometry::arrowFor(int luminosity) const {
    const int h = spectrum().height();
    return std::clamp(h - luminosity * h / kLuminosityMax, 0, std::max(0, h - 1));
}

int SpectrumGeometry::arrowTopRow(int arrow) const {
    return std::max(0, std::min(arrow, bar().height() - kArrowHeight)) + kBarMargin;
}

void SpectrumGeometry::hueSaturationAt(Point p, int& hue, int& saturation) const {
    if (degenerate()) {
        hue = 0;
        saturation = 0;
        return;
    }
    const int w = spectrum().width();
    const int h = spectrum().height();
    hue = std::clamp(p.x * kHueMax / (w - 1), 0, kHueMax);
    saturation =
        std::clamp((h - p.y + kSpectrumTop - 1) * kSaturationMax / (h - 1), 0, kSaturationMax);
}

int SpectrumGeometry::luminosityAt(int y) const {
    if (degenerate()) {
        return 0;
    }
    const int h = spectrum().height();
    const int a = std::clamp(y - kSpectrumTop, 0, h - 1);
    return std::clamp(((h - a) * kLuminosityMax - kLuminosityMax) / (h - 1), 0, kLuminosityMax);
}

Rgb SpectrumGeometry::spectrumPixel(int i, int y) const {
    // The pixel loop runs g = 0..H - 1 onto row H + 9 - g, so it also fills the ten rows
    // under the spectrum rectangle; rows above 10 and the right margin stay grey.
    const int columns = width - kSpectrumRightMargin - 1;
    const int g = height + kSpectrumTop - 1 - y;
    if (columns <= 0 || height <= 1 || i < 0 || i > columns || g < 0 || g > height - 1) {
        return kSpectrumBackground;
    }
    // Each row shows the saturation a click on it picks, so the bottom row of the field is
    // the grey it gives (scaling by g / (H - 1) would show colour 20 rows' worth too high).
    const int h = spectrum().height();
    const double saturation =
        h > 1 ? std::clamp((h - y + kSpectrumTop - 1) * 240.0 / (h - 1), 0.0, 240.0) : 0.0;
    return HslToRgb(240.0 * i / columns, saturation, 120);
}

Rgb SpectrumGeometry::barPixel(double hue, double saturation, int y) const {
    const int h = spectrum().height();
    if (h <= 1) {
        return HslToRgb(hue, saturation, 0);
    }
    const int i = std::clamp(h + kSpectrumTop - 1 - y, 0, h - 1);
    return HslToRgb(std::min(hue, 240.0), std::min(saturation, 240.0), 240.0 * i / (h - 1));
}

SpectrumKeyResult ApplySpectrumKey(Hsl current, SpectrumPart focus, SpectrumKey key, int step) {
    using Action = SpectrumKeyResult::Action;
    if (key == SpectrumKey::Tab) {
        return {focus == SpectrumPart::Spectrum ? Action::FocusToBar : Action::NextControl,
                current};
    }
    if (key == SpectrumKey::BackTab) {
        return {focus == SpectrumPart::Bar ? Action::FocusToSpectrum : Action::PreviousControl,
                current};
    }
    int hue = current.hue;
    int saturation = current.saturation;
    int luminosity = current.luminosity;
    if (focus == SpectrumPart::Spectrum) {
        switch (key) {
        case SpectrumKey::Left:
            hue -= step;
            break;
        case SpectrumKey::Right:
            hue += step;
            break;
        case SpectrumKey::Up:
            saturation += step;
            break;
        case SpectrumKey::Down:
            saturation -= step;
            break;
        case SpectrumKey::PageUp:
            saturation = kSaturationMax;
            break;
        case SpectrumKey::PageDown:
            saturation = 0;
            break;
        case SpectrumKey::Home:
            hue = 0;
            break;
        case SpectrumKey::End:
            hue = kHueMax;
            break;
        default:
            break;
        }
    } else if (focus == SpectrumPart::Bar) {
        switch (key) {
        case SpectrumKey::Up:
            luminosity += step;
            break;
        case SpectrumKey::Down:
            luminosity -= step;
            break;
        case SpectrumKey::PageUp:
        case SpectrumKey::Home:
            luminosity = kLuminosityMax;
            break;
        case SpectrumKey::PageDown:
        case SpectrumKey::End:
            luminosity = 0;
            break;
        default:
            break;
        }
    }
    const Hsl next{static_cast<std::uint8_t>(std::clamp(hue, 0, kHueMax)),
                   static_cast<std::uint8_t>(std::clamp(saturation, 0, kSaturationMax)),
                   static_cast<std::uint8_t>(std::clamp(luminosity, 0, kLuminosityMax))};
    if (next == current) {
        return {Action::Nothing, current};
    }
    return {Action::ValueChanged, next};
}

std::string SpectrumTooltipText(int mode, Rgb pixel) {
    char text[kTooltipMaxChars + 1] = {};
    switch (mode) {
    case 2:
        std::snprintf(text, sizeof text, "#%02X%02X%02X", pixel.r, pixel.g, pixel.b);
        break;
    case 3:
        std::snprintf(text, sizeof text, "%02X%02X%02X", pixel.b, pixel.g, pixel.r);
        break;
    case 4: {
        const HslReal v = RgbToHslReal(pixel);
        std::snprintf(text, sizeof text, "HSL(%d,%d,%d)", static_cast<int>(v.hue + 0.5),
                      static_cast<int>(v.saturation + 0.5), static_cast<int>(v.luminosity + 0.5));
        break;
    }
    default:
        std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", pixel.r, pixel.g, pixel.b);
        break;
    }
    return text;
}

int PaletteCellAt(Point p) {
    for (int cell = 0; cell < kPaletteCellCount; ++cell) {
        const int dx = p.x - PaletteCellLeft(cell);
        const int dy = p.y - PaletteCellTop(cell);
        if (0 <= dx && dx <= kPaletteHitWidth && 0 <= dy && dy <= kPaletteHitHeight) {
            return cell;
        }
    }
    return -1;
}

int FirstPaletteCellOf(ColorRef colour) {
    if (colour > 0xFFFFFFu) {
        return -1;
    }
    const auto it = std::find(kPaletteColours.begin(), kPaletteColours.end(), ToRgb(colour));
    return it == kPaletteColours.end() ? -1 : static_cast<int>(it - kPaletteColours.begin());
}

} // namespace orvo

// How long the colour control's one-time spectrum paint and its per-pick conversions take.
#include "model/colour_model.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PaintDialogSpectrum(benchmark::State& state) {
    const orvo::SpectrumGeometry g{160, 140};
    for (auto _ : state) {
        unsigned sum = 0;
        for (int y = 0; y < g.height; ++y) {
            for (int i = 0; i < g.width - orvo::kSpectrumRightMargin; ++i) {
                sum += g.spectrumPixel(i, y).r;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PaintDialogSpectrum);

void BM_RgbToHslToRgb(benchmark::State& state) {
    std::uint8_t v = 0;
    for (auto _ : state) {
        const orvo::Rgb c{v, static_cast<std::uint8_t>(v * 3), static_cast<std::uint8_t>(v * 7)};
        benchmark::DoNotOptimize(orvo::HslToRgb(orvo::RgbToHsl(c)));
        ++v;
    }
}
BENCHMARK(BM_RgbToHslToRgb);

} // namespace

BENCHMARK_MAIN();

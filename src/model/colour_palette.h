#pragma once
// The 64-cell palette of the colour dialog: 8 columns by 8 rows. The skin draws the cells
// into the dialog's background and the dialog hit-tests them, both from this table.

#include <array>
#include <cstdint>

namespace orvo {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kPaletteColumns = 8;
inline constexpr int kPaletteRows = 8;
inline constexpr int kPaletteCellCount = kPaletteColumns * kPaletteRows;

// Top-left corner of a cell: x = 13 + 19 * column, y from this table by row.
inline constexpr int kPaletteLeft = 13;
inline constexpr int kPaletteColumnStep = 19;
inline constexpr std::array<int, kPaletteRows> kPaletteRowTop{41, 57, 73, 89, 105, 122, 162, 178};
// A click hits a cell when 0 <= x - left <= 13 and 0 <= y - top <= 12.
inline constexpr int kPaletteHitWidth = 13;
inline constexpr int kPaletteHitHeight = 12;

// Row-major; note cells 4 (128,255,254), 6 (254,128,192) and 45 (129,192,192).
inline constexpr std::array<Rgb, kPaletteCellCount> kPaletteColours{{
    {255, 128, 128}, {255, 255, 128}, {128, 255, 128}, {0, 255, 128},   {128, 255, 254},
    {0, 128, 255},   {254, 128, 192}, {255, 128, 255}, {255, 0, 0},     {255, 255, 0},
    {128, 255, 0},   {0, 255, 64},    {0, 255, 255},   {0, 128, 192},   {128, 128, 255},
    {255, 0, 255},   {128, 64, 64},   {255, 128, 64},  {0, 255, 0},     {0, 128, 128},
    {0, 64, 128},    {128, 128, 255}, {128, 0, 64},    {255, 0, 128},   {128, 0, 0},
    {255, 128, 0},   {0, 128, 0},     {0, 128, 64},    {0, 0, 255},     {0, 0, 160},
    {128, 0, 128},   {128, 0, 255},   {64, 0, 0},      {128, 64, 0},    {0, 64, 0},
    {0, 64, 64},     {0, 0, 128},     {0, 0, 64},      {64, 0, 64},     {64, 0, 128},
    {0, 0, 0},       {128, 128, 0},   {128, 128, 64},  {128, 128, 128}, {64, 128, 128},
    {129, 192, 192}, {64, 0, 64},     {255, 255, 255}, {255, 255, 255}, {255, 255, 255},
    {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255},
    {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255},
    {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255},
}};

constexpr int PaletteCellLeft(int cell) {
    return kPaletteLeft + kPaletteColumnStep * (cell % kPaletteColumns);
}
constexpr int PaletteCellTop(int cell) {
    return kPaletteRowTop[static_cast<std::size_t>(cell / kPaletteColumns)];
}

} // namespace orvo

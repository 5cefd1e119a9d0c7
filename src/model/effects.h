#pragma once
// The lighting effects of the keyboard and of the palm rest, in the order the effect lists
// show them. Codes 51..55 are the five custom per-key colour profiles.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvo {

struct Effect {
    std::uint8_t code = 0;
    std::u16string_view name;
};

inline constexpr std::array<Effect, 16> EffectList{{
    {1, u"Iluminación fija"},
    {2, u"Modo respiración"},
    {3, u"Modo onda"},
    {4, u"Modo retroiluminación por tecla"},
    {5, u"Modo onda de color único"},
    {6, u"Retroiluminación al teclear"},
    {8, u"Cambiar color lentamente"},
    {10, u"Efecto lluvia"},
    {11, u"Onda de color único"},
    {12, u"Onda de color 6 fases"},
    {13, u"Modo radar"},
    {51, u"Perfil de iluminación 1"},
    {52, u"Perfil de iluminación 2"},
    {53, u"Perfil de iluminación 3"},
    {54, u"Perfil de iluminación 4"},
    {55, u"Perfil de iluminación 5"},
}};

inline constexpr std::array<Effect, 4> PalmEffectList{{
    {0, u"Iluminación fija-Plam Rest"},
    {1, u"Modo respiración-Plam Rest"},
    {2, u"Onda de color único-Plam Rest"},
    {3, u"Modo onda-Plam Rest"},
}};

// Row of an effect code in its list, or nullopt for a code the list does not hold.
template <std::size_t N>
constexpr std::optional<std::size_t> EffectRow(const std::array<Effect, N>& list,
                                               std::uint8_t code) {
    for (std::size_t r = 0; r < N; ++r) {
        if (list[r].code == code)
            return r;
    }
    return std::nullopt;
}

// Name of an effect code, empty for an unknown code.
template <std::size_t N>
constexpr std::u16string_view EffectName(const std::array<Effect, N>& list, std::uint8_t code) {
    const auto row = EffectRow(list, code);
    return row ? list[*row].name : std::u16string_view{};
}

} // namespace orvo

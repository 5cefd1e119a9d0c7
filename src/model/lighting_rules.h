#pragma once
// The rules of the main window's left column, kept free of any drawing: which controls an
// effect shows, what choosing an effect or clicking a colour slot does to the image, the
// palm-rest colour, the game-mode and lock switches, the firmware comparison and the DIY
// colouring of keys. The panels in app/ call these and only add the pixels.

#include "model/colour_model.h"
#include "model/config_state.h"
#include "model/settings_image.h"
#include "model/window_layout.h"

#include <cstdint>
#include <optional>
#include <span>

namespace orvo {

// Colour slots: 1..7 are colourSlots entries 0..6, 8 is the multicolour slot.
inline constexpr std::uint8_t kFirstColourSlot = 1;
inline constexpr std::uint8_t kMulticolourSlot = 8;
// Effects with special colour rules.
inline constexpr std::uint8_t kEffectFixed = 1;        // "Iluminación fija": no multicolour
inline constexpr std::uint8_t kEffectWave = 3;         // "Modo onda": multicolour only
inline constexpr std::uint8_t kEffectSlowChange = 8;   // "Cambiar color lentamente": likewise
inline constexpr std::uint8_t kEffectRadar = 13;       // has a direction
inline constexpr std::uint8_t kNoSpeedFromEffect = 50; // from here on no speed slider
// The palm-rest effect whose colour cannot be chosen ("Modo onda-Plam Rest").
inline constexpr std::uint8_t kPalmEffectWave = 3;
// The colour the colour dialog opens with for every lighting pick: RGB(255, 12, 255).
inline constexpr ColorRef kColourDialogPreset = MakeColorRef(255, 12, 255);

// Which controls of the panel an effect shows.
struct EffectControls {
    bool speed = false;       // speed slider and its texts
    bool colourSlots = false; // the eight colour squares are drawn
    bool direction = false;   // the four direction arrows
    bool diySwitches = false; // the Keymap / DIY switches
};
EffectControls ControlsForEffect(std::uint8_t effect);

// Effects 51..55 show custom lighting table effect - 51; nullopt for any other effect.
std::optional<std::size_t> CustomTableForEffect(std::uint8_t effect);

// Choosing an effect from the list: stores it, fixes the selected colour slot for it, and
// returns the new DIY mode (on for the custom profiles).
bool SelectEffect(SettingsImage& image, std::uint8_t effect);

// The selected colour slot as the panel shows it: above 8 becomes 8, 0 becomes 1, and the
// multicolour-only effects force 8. Stored back once the panel shows an effect below 51.
std::uint8_t NormalisedLightingColour(const SettingsImage& image);
void NormaliseLightingColour(SettingsImage& image);

// The direction arrows' regions T, B, R, L; nullopt for any other region.
std::optional<std::uint8_t> DirectionForRegion(int region);

enum class SlotClick {
    Ignored,    // the effect does not accept this slot
    Selected,   // the slot is now the selected one
    EditColour, // the slot was already selected: choose its colour (slot is selected too)
};
// A click on colour slot 1..8. Selects the slot when the effect accepts it.
SlotClick ClickColourSlot(SettingsImage& image, int slot);
// Stores a Windows colour value (red in the low byte) into colour slot 1..7.
void StoreColourSlot(SettingsImage& image, int slot, ColorRef colour);
// The colour of slot 1..7 as a Windows colour value.
ColorRef ColourSlotValue(const SettingsImage& image, int slot);

// The palm-rest colour can be chosen except for its wave effect.
bool PalmColourEditable(const SettingsImage& image);
// The swatch shows the colour itself for the fixed and breathing effects, else multicolour.
bool PalmSwatchShowsColour(const SettingsImage& image);
void StorePalmColour(SettingsImage& image, ColorRef colour);
ColorRef PalmColourValue(const SettingsImage& image);

// The game-mode and lock switches flip 0 and 1; any other value read from the keyboard
// counts as on and becomes (value + 1) mod 2.
std::uint8_t ToggledSwitch(std::uint8_t value);
// The game-mode region toggles gameMode, the lock region winLock; false for other regions.
bool ToggleSwitchRegion(SettingsImage& image, int region);

// The version shipped with the program is newer than the keyboard's (compared as unsigned
// major, then minor).
bool FirmwareUpdateOffered(const OfferedVersion& offered, const FirmwareVersion& keyboard);
// The same for the program's state, and only once the keyboard did report its version: a
// read-back that failed half way leaves nothing to compare with.
bool FirmwareUpdateOffered(const ConfigState& state);

// DIY colouring: writes (0, R, G, B) of `colour` into the entry at 4 x slot of the custom
// table shown by the current effect, for every selected key among 0..112 (each key's entry
// sits at its key-map slot). Returns false (nothing written) when the effect is not a custom
// profile.
bool ColourSelectedKeys(SettingsImage& image, std::span<const std::uint8_t> keySelected,
                        ColorRef colour);
// The same into custom lighting table `table` (0..4) whatever the effect; false (nothing
// written) for another table number.
bool ColourKeysInTable(SettingsImage& image, std::size_t table,
                       std::span<const std::uint8_t> keySelected, ColorRef colour);

} // namespace orvo

#pragma once
// The groups of the settings image that the keyboard holds, each read and written as one
// (the lighting values, the colour slots, one macro block, one custom lighting table, ...),
// and what a fresh reading of the keyboard does to an image the user may have edited.

#include "model/settings_image.h"

#include <array>

namespace orvo {

// Effect, speed, brightness, colour and direction: five neighbouring bytes sent together.
inline constexpr ImageField kLightingValues{
    field::lightingEffect.offset, field::lightingDirection.end() - field::lightingEffect.offset};

// Every group: lighting values, colour slots, game mode, report rate, response time, key
// map, each macro block, key-enable mask with the lock, each custom lighting table, palm rest.
inline constexpr std::size_t kKeyboardGroupCount = 8 + kMacroBlockCount + kCustomLightingTableCount;
extern const std::array<ImageField, kKeyboardGroupCount> KeyboardGroups;

// The keyboard was read again into `read` while `image` may hold unsaved edits: each group
// the user had not edited (image equal to `snapshot`, what the keyboard last reported) takes
// the keyboard's new value, each edited group keeps the edit. Bytes of no group (those the
// keyboard does not hold) stay as they are. Making `read` the new snapshot afterwards lets the
// next Save send exactly the edits.
void MergeKeyboardValues(SettingsImage& image, const DeviceSnapshot& snapshot,
                         const SettingsImage& read);

// A script replaced the data files, now loaded into `loaded`, while `edited` held unsaved edits
// against `snapshot`: each group the user had edited and the script left as it was keeps the
// edit; everything else is the script's.
void KeepEditsTheScriptLeft(SettingsImage& loaded, const SettingsImage& edited,
                            const DeviceSnapshot& snapshot);

} // namespace orvo

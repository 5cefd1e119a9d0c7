#pragma once
// Reading every setting and table of the keyboard into the image.

#include "device/commands.h"

namespace orvo {

// The start-up read-back: game mode 1, firmware version, every value and table, then the palm
// rest. 250 transfers and 479 ms of pauses. Takes no snapshot.
bool ReadBackSequence(CommandChannel& ch, SettingsImage& image, FirmwareVersion& firmware);

// The same reads for a refresh: game mode 1, a 10 ms pause, then every value and table. No
// firmware version, no snapshot.
bool FullReadBack(CommandChannel& ch, SettingsImage& image);

// Every value and table only, without the game-mode write that starts a read-back: for looking
// at a keyboard another program has just set up without changing anything on it.
bool ReadKeyboardValues(CommandChannel& ch, SettingsImage& image);

} // namespace orvo

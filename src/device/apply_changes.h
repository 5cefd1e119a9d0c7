#pragma once
// Save: send the groups of the image that differ from what the keyboard last reported.

#include "device/commands.h"

#include <array>

namespace orvo {

// Which groups of the image differ from the snapshot.
struct ChangedGroups {
    bool colourSlots = false;
    bool gameMode = false;
    bool reportRate = false;
    bool responseTime = false;
    bool keyMap = false;
    std::array<bool, kMacroBlockCount> macroBlocks{};
    bool keyEnableMask = false;
    std::array<bool, kCustomLightingTableCount> customLightingTables{};
    bool lighting = false; // effect, speed, brightness, colour, direction

    bool any() const;
};

ChangedGroups CompareWithSnapshot(const SettingsImage& image, const DeviceSnapshot& snapshot);

// Pauses ApplyChanges adds after the table writes.
inline constexpr int kPauseAfterKeyMapWrite = 30;
inline constexpr int kPauseAfterMacroBlockWrite = 100;

struct ApplyResult {
    ChangedGroups sent;      // the groups that were sent (the palm rest always is)
    ChangedGroups delivered; // of those, the groups whose every transfer succeeded; the
                             // lighting values count once their full write arrived
    bool palmRestDelivered = false;
    bool ok = false; // every transfer succeeded
};

// Applies the Windows-key rule, always sends the palm-rest block and, when anything changed,
// the lighting values dimmed, each changed group in a fixed order, then the full lighting
// values. The image is copied into the snapshot only when every transfer succeeded, so a
// failed Save sends the same changes again next time.
ApplyResult ApplyChanges(CommandChannel& ch, SettingsImage& image, DeviceSnapshot& snapshot);

} // namespace orvo

#pragma once
// The main window's own state: which overlay is open, DIY mode, the key selection, the mouse
// and the hover feedback. Painting, hit-testing and the panels all read and write this one
// object; it holds nothing that is stored in a file.

#include "model/window_layout.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvo {

inline constexpr std::size_t kKeySelectionSize = 126;
inline constexpr std::size_t kHoverFlagCount = 255;
inline constexpr std::uint8_t kNoHover = 255;
inline constexpr int kNoRow = -1;

// What the DIY key selection is doing.
enum SelectionState : std::uint8_t {
    kSelectionNone = 0,  // nothing selected
    kSelectionBand = 1,  // keys selected by a band that is still being drawn
    kSelectionArmed = 2, // the next key click colours the selected keys
};

// What replaced the settings image; it decides how the sliders and the DIY mode follow.
enum class ImageChange {
    // Read from the keyboard, or refreshed after a dialog: every slider shows its field.
    ReadBack,
    // Cancel: likewise, and DIY mode follows the restored effect.
    Reverted,
    // DIY mode off and the overlays closed; the palm-rest sliders keep their places and the
    // response time shows its value - 1.
    FactoryReset,
    // The keyboard came back: the sliders as after a factory reset.
    Reconnected,
};

struct MainWindowState {
    // The three overlays; at most one is open at a time.
    bool effectListOpen = false;
    bool palmListOpen = false;
    bool helpMenuOpen = false;
    // Key clicks colour keys instead of assigning them.
    bool diyMode = false;

    std::uint8_t selectionState = kSelectionNone;
    std::array<std::uint8_t, kKeySelectionSize> keySelected{};
    bool ctrlHeld = false;

    // Left button pressed in the window and not released yet; the band runs from the press
    // point to the latest pointer point.
    bool buttonDown = false;
    Point bandStart;
    Point bandEnd;

    // Per region: the pointer is over it (regions 0..2 show their "over" pictures).
    std::array<std::uint8_t, kHoverFlagCount> hoverFlags{};
    std::uint8_t hoverRegion = kNoHover;
    std::uint8_t hoverKey = kNoHover;
    // Row of the open drop-down list under the pointer, kNoRow when none.
    int hoveredEffectRow = kNoRow;
    int hoveredPalmRow = kNoRow;

    // The keyboard is unplugged: the top strip says so until it returns.
    bool keyboardMissing = false;

    void closeOverlays() { effectListOpen = palmListOpen = helpMenuOpen = false; }
    void clearSelection() {
        keySelected.fill(0);
        selectionState = kSelectionNone;
    }
};

} // namespace orvo

#pragma once
// The main window's mouse handling: hover feedback, the band selection of keys, dragging the
// window by its top strip, and the click dispatcher that routes a released click to the open
// overlay, to the region under it and then to the key under it.

#include "app/main_window_state.h"
#include "model/window_layout.h"

namespace orvo {

class LightingPanel;
struct ConfigState;

// Region numbers of the window's own buttons.
namespace region {
inline constexpr int kHelp = 0;
inline constexpr int kMinimise = 1;
inline constexpr int kClose = 2;
inline constexpr int kProfiles = 18;
inline constexpr int kMacros = 19;
inline constexpr int kDefault = 20;
inline constexpr int kCancel = 21;
inline constexpr int kSave = 22;
} // namespace region

// The open drop-down lists: rows of 20 pixels inside these areas.
inline constexpr InclusiveRect kEffectListArea{31, 136, 251, 455};
inline constexpr InclusiveRect kPalmListArea{31, 320, 251, 399};
inline constexpr int kListRowHeight = 20;
// The help menu's click area; items are 25 pixels high.
inline constexpr InclusiveRect kHelpMenuArea{830, 22, 996, 99};
inline constexpr int kHelpItemHeight = 25;
inline constexpr int kHelpItemFactoryReset = 0;
inline constexpr int kHelpItemUpdater = 1;
// Pressing here, away from every region, key and list, drags the window.
inline constexpr int kDragStripTop = 2;
inline constexpr int kDragStripBottom = 30;
// Keys a click or hover never acts on: the three unused indices and both Ctrl keys.
bool IsInertKey(int key);

// What the dispatcher asks of the window.
class MainWindowCommands {
public:
    virtual ~MainWindowCommands() = default;
    virtual void redraw() = 0;
    virtual void minimise() = 0;
    virtual void closeProgram() = 0;
    virtual void cancelChanges() = 0;
    virtual void saveChanges() = 0;
    virtual void openProfiles() = 0;
    virtual void openMacros() = 0;
    virtual void assignKey(int key) = 0; // Keymap mode
    virtual void startWindowMove(Point pressPoint) = 0;
    virtual void helpItem(int item) = 0;
};

class ClickDispatcher {
public:
    ClickDispatcher(MainWindowState& state, ConfigState& config, LightingPanel& lighting,
                    MainWindowCommands& commands);

    void leftButtonDown(Point p);
    void mouseMove(Point p);
    // The click dispatcher; the window is redrawn at the end in every case.
    void leftButtonUp(Point p);
    // Ctrl released: a selection made meanwhile is armed.
    void ctrlReleased();

    // The window lost the left button without a release (ends a band selection).
    void buttonLost() { m_state.buttonDown = false; }

private:
    int regionAt(Point p) const;
    void clickRegion(int region, Point p);
    void clickKey(Point p);
    void selectByBand();

    MainWindowState& m_state;
    ConfigState& m_config;
    LightingPanel& m_lighting;
    MainWindowCommands& m_commands;
};

} // namespace orvo

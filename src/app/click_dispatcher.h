#pragma once
// The main window's mouse handling: hover feedback, the band selection of keys, dragging the
// window by its top strip, and the click dispatcher that routes a released click to the open
// overlay, to the region under it and then to the key under it.

#include "app/main_window_state.h"
#include "model/window_layout.h"

namespace orvo {

class LightingPanel;
struct ConfigState;

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
    ClickDispatcher(MainWindowState& state, const ConfigState& config, LightingPanel& lighting,
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
    void clickRegion(int region);
    void clickKey(Point p);
    void selectByBand();

    MainWindowState& m_state;
    const ConfigState& m_config;
    LightingPanel& m_lighting;
    MainWindowCommands& m_commands;
};

} // namespace orvo

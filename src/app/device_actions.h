#pragma once
// What the main window does with the keyboard as a whole: the factory reset and the firmware
// updater of the help menu, and the firmware check after a read-back.

#include "app/main_sliders.h"
#include "app/main_window_state.h"

namespace orvo {

class CBrisoldeDlg;
struct ConfigState;

class DeviceActions {
public:
    DeviceActions(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                  MainSliders& sliders);

    // Help menu item 0: asks, then resets the keyboard and reloads everything from it.
    void factoryReset();
    // Help menu item 1: starts the firmware updater and waits for it.
    void LaunchUpdater();
    // After a read-back from the keyboard: offers the updater when the shipped firmware is
    // newer than the keyboard's.
    void checkFirmware();

private:
    CBrisoldeDlg& m_window;
    MainWindowState& m_state;
    ConfigState& m_config;
    MainSliders& m_sliders;
};

} // namespace orvo

#include "app/device_actions.h"

namespace orvo {

DeviceActions::DeviceActions(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                             MainSliders& sliders)
    : m_window(window), m_state(state), m_config(config), m_sliders(sliders) {}

void DeviceActions::factoryReset() {}

void DeviceActions::LaunchUpdater() {}

void DeviceActions::checkFirmware() {}

} // namespace orvo

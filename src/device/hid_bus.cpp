#include "device/hid.h"
#include "device/simulated_keyboard.h"
#include "model/log.h"

#include <cstdlib>

namespace orvo {

std::unique_ptr<HidBus> OpenHidBusFromEnvironment() {
    const char* dir = std::getenv(kSimulatorEnvironmentVariable);
    if (dir && *dir) {
        std::string error;
        if (auto bus = OpenSimulatorBus(dir, error))
            return bus;
        LogWarning(error);
    }
    return OpenHidapiBus();
}

} // namespace orvo

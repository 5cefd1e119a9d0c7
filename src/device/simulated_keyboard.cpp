#include "device/simulated_keyboard.h"

namespace orvo {

std::unique_ptr<HidBus> OpenSimulatorBus(const std::filesystem::path& dir, std::string& error) {
    error = "simulated keyboard not built yet: " + dir.string();
    return nullptr;
}

} // namespace orvo

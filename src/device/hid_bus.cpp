#include "device/hid.h"
#include "device/simulated_keyboard.h"
#include "model/log.h"
#include "model/program_folders.h"

namespace orvo {

namespace {

// Stands in when the simulator was asked for but its folder is unusable: the keyboard is
// simply absent, and the real hardware is never touched by mistake.
class EmptyBus final : public HidBus {
public:
    explicit EmptyBus(std::string reason) : m_reason(std::move(reason)) {}
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    OpenResult Open(const std::string&) override { return {nullptr, m_reason}; }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback, std::string& error) override {
        error = m_reason;
        return nullptr;
    }

private:
    std::string m_reason;
};

} // namespace

std::optional<std::string> SimulatorFolderFromEnvironment() {
    return EnvironmentValue(kSimulatorEnvironmentVariable);
}

std::unique_ptr<HidBus> OpenHidBusFromEnvironment() {
    if (const auto dir = SimulatorFolderFromEnvironment()) {
        std::string error;
        if (auto bus = OpenSimulatorBus(*dir, error))
            return bus;
        LogWarning(error);
        return std::make_unique<EmptyBus>(error);
    }
    return OpenHidapiBus();
}

} // namespace orvo

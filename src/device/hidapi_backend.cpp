#include "device/hid.h"

namespace orvo {

namespace {
class HidapiBus final : public HidBus {
public:
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    OpenResult Open(const std::string& path) override { return {nullptr, "cannot open " + path}; }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback, std::string& error) override {
        error = "hotplug not built yet";
        return nullptr;
    }
};
} // namespace

std::unique_ptr<HidBus> OpenHidapiBus() {
    return std::make_unique<HidapiBus>();
}

} // namespace orvo

#pragma once
// A HID bus whose devices can be cut off when the program has to end in the middle of a
// command sequence (the window closed during a Save): from Stop() on, every transfer on a
// device opened through it fails at once without reaching the keyboard, and nothing more can
// be opened. The sequence running then ends as it would after an unplug, so nothing that
// depends on every transfer arriving (the snapshot, "keymap.bin") is taken from it.

#include "device/hid.h"

#include <atomic>
#include <memory>

namespace orvo {

class StoppableBus final : public HidBus {
public:
    explicit StoppableBus(std::unique_ptr<HidBus> inner);

    void Stop() { m_stopped->store(true); }
    bool stopped() const { return m_stopped->load(); }

    std::vector<HidInterfaceInfo> Enumerate() override { return m_inner->Enumerate(); }
    OpenResult Open(const std::string& path) override;
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback callback,
                                                 std::string& error) override {
        return m_inner->WatchHotplug(std::move(callback), error);
    }

private:
    std::unique_ptr<HidBus> m_inner;
    // Shared with the devices, which may outlive the bus's use of them (the listener).
    std::shared_ptr<std::atomic<bool>> m_stopped;
};

} // namespace orvo

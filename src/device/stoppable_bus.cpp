#include "device/stoppable_bus.h"

namespace orvo {

namespace {

class StoppableDevice final : public HidDevice {
public:
    StoppableDevice(std::unique_ptr<HidDevice> inner, std::shared_ptr<std::atomic<bool>> stopped)
        : m_inner(std::move(inner)), m_stopped(std::move(stopped)) {}

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> report) override {
        return !m_stopped->load() && m_inner->SetFeature(report);
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> report) override {
        return !m_stopped->load() && m_inner->GetFeature(report);
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> packet) override {
        return !m_stopped->load() && m_inner->Write(packet);
    }
    ReadResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        if (m_stopped->load())
            return {ReadStatus::Failed, 0};
        return m_inner->Read(buffer, timeoutMs);
    }

private:
    std::unique_ptr<HidDevice> m_inner;
    std::shared_ptr<std::atomic<bool>> m_stopped;
};

} // namespace

StoppableBus::StoppableBus(std::unique_ptr<HidBus> inner)
    : m_inner(std::move(inner)), m_stopped(std::make_shared<std::atomic<bool>>(false)) {}

OpenResult StoppableBus::Open(const std::string& path) {
    if (stopped())
        return {nullptr, "the program is ending"};
    OpenResult opened = m_inner->Open(path);
    if (opened.device)
        opened.device = std::make_unique<StoppableDevice>(std::move(opened.device), m_stopped);
    return opened;
}

} // namespace orvo

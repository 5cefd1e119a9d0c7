// The input reports of the keyboard's second interface, read by the key-event listener thread:
// every report the keyboard sends (and every time-out or failure of the read) comes from the
// fuzzer. Each read spends a control byte (see fuzz_device.h) and four report bytes. A report
// reaches the window as a key event unless its kind byte is 4; the target checks that exactly
// those arrived, in order.

#include "fuzz_device.h"

#include "device/message_sink.h"
#include "model/log.h"
#include "model/window_messages.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace orvo;

// Hands out the fuzzer's reports; once they are spent (or a read failed, the keyboard being
// gone) it says so and then only times out.
class ReportDevice final : public HidDevice {
public:
    explicit ReportDevice(std::span<const std::uint8_t> data) : m_stream(data) {}

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize>) override { return false; }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize>) override { return false; }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize>) override { return false; }
    ReadResult Read(std::span<std::uint8_t> buffer, int) override {
        std::unique_lock lock(m_mutex);
        if (!m_done) {
            const std::uint8_t control = m_stream.Byte();
            if (control == fuzz::kCallFails || m_stream.empty()) {
                m_done = true;
                m_changed.notify_all();
                return {ReadStatus::Failed, 0};
            }
            if (control == fuzz::kReadTimesOut)
                return {ReadStatus::TimedOut, 0};
            m_stream.Fill(buffer);
            if (buffer.size() >= kInputReportSize && buffer[1] != kIgnoredKind)
                m_expected.push_back(buffer[2]);
            return {ReadStatus::Ok, buffer.size()};
        }
        m_changed.wait_for(lock, std::chrono::milliseconds(1));
        return {ReadStatus::TimedOut, 0};
    }

    std::vector<std::uintptr_t> WaitUntilSpent() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_done; });
        return m_expected;
    }

private:
    static constexpr std::uint8_t kIgnoredKind = 4;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    fuzz::FuzzStream m_stream;
    bool m_done = false;
    std::vector<std::uintptr_t> m_expected;
};

class OneDeviceBus final : public HidBus {
public:
    explicit OneDeviceBus(std::unique_ptr<HidDevice> device) : m_device(std::move(device)) {}
    std::vector<HidInterfaceInfo> Enumerate() override {
        return {{"fuzz-input", kKeyboardVendorId, kKeyboardProductId, "mi_02&col04"}};
    }
    OpenResult Open(const std::string&) override { return {std::move(m_device), {}}; }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback, std::string&) override {
        return nullptr;
    }

private:
    std::unique_ptr<HidDevice> m_device;
};

class KeySink final : public MessageSink {
public:
    bool Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        if (message == WM_DEVICE_KEY_EVENT)
            keys.push_back(wParam);
        return true;
    }
    std::vector<std::uintptr_t> keys; // written by the listener thread only until it is joined
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvo::SetLogSink([](orvo::LogLevel, std::string_view) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto device = std::make_unique<ReportDevice>(std::span(data, size));
    ReportDevice& reports = *device;
    OneDeviceBus bus(std::move(device));
    RecordingPacer pacer;
    KeySink sink;
    DeviceConnection connection(bus, pacer);
    if (!connection.OpenInputInterface() || !connection.StartListener(sink))
        std::abort();
    const std::vector<std::uintptr_t> expected = reports.WaitUntilSpent();
    connection.Shutdown(); // joins the listener
    if (sink.keys != expected)
        std::abort();
    return 0;
}

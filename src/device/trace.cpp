#include "device/trace.h"

namespace orvo {

std::string FormatTraceLine(long long ms, std::string_view op,
                            std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line = std::to_string(ms);
    line.reserve(line.size() + op.size() + 2 + bytes.size() * 3);
    line += ' ';
    line += op;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        line += ' ';
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
    }
    line += '\n';
    return line;
}

namespace {

class TracingDevice final : public HidDevice {
public:
    TracingDevice(std::unique_ptr<HidDevice> inner, std::FILE* out,
                  std::chrono::steady_clock::time_point start)
        : m_inner(std::move(inner)), m_out(out), m_start(start) {}

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> report) override {
        const bool ok = m_inner->SetFeature(report);
        if (ok)
            Trace(trace_op::kSet, report);
        return ok;
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> report) override {
        const bool ok = m_inner->GetFeature(report);
        if (ok)
            Trace(trace_op::kGet, report);
        return ok;
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> packet) override {
        const bool ok = m_inner->Write(packet);
        if (ok)
            Trace(trace_op::kWrite, packet);
        return ok;
    }
    ReadResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        const ReadResult r = m_inner->Read(buffer, timeoutMs);
        if (r.ok())
            Trace(buffer.size() == kInputReportSize ? trace_op::kInput : trace_op::kRead, buffer);
        return r;
    }

private:
    void Trace(std::string_view op, std::span<const std::uint8_t> bytes) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - m_start)
                            .count();
        const std::string line = FormatTraceLine(ms, op, bytes);
        std::fwrite(line.data(), 1, line.size(), m_out);
        std::fflush(m_out);
    }

    std::unique_ptr<HidDevice> m_inner;
    std::FILE* m_out;
    std::chrono::steady_clock::time_point m_start;
};

class TracingBus final : public HidBus {
public:
    TracingBus(std::unique_ptr<HidBus> inner, std::FILE* out)
        : m_inner(std::move(inner)), m_out(out), m_start(std::chrono::steady_clock::now()) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return m_inner->Enumerate(); }
    OpenResult Open(const std::string& path) override {
        OpenResult r = m_inner->Open(path);
        if (r.device)
            r.device = MakeTracingDevice(std::move(r.device), m_out, m_start);
        return r;
    }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback callback,
                                                 std::string& error) override {
        return m_inner->WatchHotplug(std::move(callback), error);
    }

private:
    std::unique_ptr<HidBus> m_inner;
    std::FILE* m_out;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace

std::unique_ptr<HidDevice> MakeTracingDevice(std::unique_ptr<HidDevice> inner, std::FILE* out,
                                             std::chrono::steady_clock::time_point start) {
    return std::make_unique<TracingDevice>(std::move(inner), out, start);
}

std::unique_ptr<HidBus> MakeTracingBus(std::unique_ptr<HidBus> inner, std::FILE* out) {
    return std::make_unique<TracingBus>(std::move(inner), out);
}

} // namespace orvo

#pragma once
// Helpers shared by the device tests: a temporary folder, a simulated keyboard in it, and a
// decorator that records every transfer on an interface.

#include "device/hid.h"
#include "device/pacer.h"
#include "device/simulated_keyboard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace orvo::test {

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("orvo-device-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct Transfer {
    std::string op; // set, get, write, read
    std::vector<std::uint8_t> bytes;
    std::uint8_t code() const { return bytes.size() > 1 ? bytes[1] : 0; }
};

// Records the transfers that went through (successful or not) and forwards them.
class RecordingDevice final : public HidDevice {
public:
    explicit RecordingDevice(HidDevice& inner) : m_inner(inner) {}

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) override {
        Record("set", r);
        return m_inner.SetFeature(r);
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) override {
        const bool ok = m_inner.GetFeature(r);
        Record("get", r);
        return ok;
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> p) override {
        Record("write", p);
        return m_inner.Write(p);
    }
    ReadResult Read(std::span<std::uint8_t> b, int timeoutMs) override {
        const ReadResult r = m_inner.Read(b, timeoutMs);
        Record("read", b);
        return r;
    }

    std::vector<Transfer> transfers() const {
        std::lock_guard lock(m_mutex);
        return m_transfers;
    }
    // The command codes of the feature reports sent, in order.
    std::vector<std::uint8_t> sentCodes() const {
        std::vector<std::uint8_t> codes;
        for (const Transfer& t : transfers())
            if (t.op == "set")
                codes.push_back(t.code());
        return codes;
    }
    std::vector<Transfer> sent() const {
        std::vector<Transfer> s;
        for (const Transfer& t : transfers())
            if (t.op == "set")
                s.push_back(t);
        return s;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_transfers.clear();
    }

private:
    void Record(const char* op, std::span<const std::uint8_t> bytes) {
        std::lock_guard lock(m_mutex);
        m_transfers.push_back({op, {bytes.begin(), bytes.end()}});
    }

    HidDevice& m_inner;
    mutable std::mutex m_mutex;
    std::vector<Transfer> m_transfers;
};

// A simulated keyboard in a fresh folder, its command interface open and recorded.
struct SimulatedKeyboard {
    TempDir dir;
    std::unique_ptr<HidBus> bus;
    std::unique_ptr<HidDevice> command;
    std::unique_ptr<RecordingDevice> recorder;

    SimulatedKeyboard() {
        std::string error;
        bus = OpenSimulatorBus(dir.path(), error);
        if (!bus)
            throw std::runtime_error(error);
        OpenResult r = bus->Open(std::string(kSimulatorCommandPath));
        command = std::move(r.device);
        recorder = std::make_unique<RecordingDevice>(*command);
    }

    void Unplug() const { std::ofstream(dir.path() / kSimulatorUnpluggedFile).put('\n'); }
    void Replug() const { std::filesystem::remove(dir.path() / kSimulatorUnpluggedFile); }
};

} // namespace orvo::test

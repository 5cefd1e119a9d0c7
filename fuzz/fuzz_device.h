#pragma once
// A keyboard made of fuzzer bytes, shared by the device fuzz targets and the seed generator.
// Every call on the bus or an interface takes one control byte from the stream, then as many
// answer bytes as the call returns:
//   Enumerate   control bit 0 set: the keyboard is gone; bit 1 set: its loader is there
//   SetFeature, Write
//               control 0xFF: the call fails
//   GetFeature  control 0xFF: fails; else 9 answer bytes
//   Read        control 0xFF: fails; 0xFE: times out; else as many answer bytes as the buffer
// Once the stream is used up every call fails and the keyboard is gone, as after an unplug.
//
// RunDeviceScenario drives the connection through what the program does with the keyboard:
// open, start-up read-back, edits, Save, then twice an unplug and a return (which can bring a
// pending factory reset and the arrival read-back).

#include "device/connection.h"
#include "device/hid.h"
#include "device/read_back.h"
#include "model/config_state.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace orvo::fuzz {

inline constexpr std::uint8_t kCallFails = 0xFF;
inline constexpr std::uint8_t kReadTimesOut = 0xFE;
inline constexpr std::uint8_t kKeyboardGone = 0x01;
inline constexpr std::uint8_t kLoaderPresent = 0x02;
inline constexpr std::size_t kMaxEdits = 8;

class FuzzStream {
public:
    explicit FuzzStream(std::span<const std::uint8_t> data) : m_data(data) {}
    bool empty() const { return m_at >= m_data.size(); }
    // The next byte; `whenEmpty` once the stream is used up.
    std::uint8_t Byte(std::uint8_t whenEmpty = kCallFails) {
        return empty() ? whenEmpty : m_data[m_at++];
    }
    // Fills `out`, with zeros past the end of the stream.
    void Fill(std::span<std::uint8_t> out) {
        for (std::uint8_t& b : out)
            b = Byte(0);
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_at = 0;
};

class FuzzDevice final : public HidDevice {
public:
    explicit FuzzDevice(FuzzStream& s) : m_s(s) {}
    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize>) override {
        return m_s.Byte() != kCallFails;
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) override {
        if (m_s.Byte() == kCallFails)
            return false;
        m_s.Fill(r);
        return true;
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize>) override {
        return m_s.Byte() != kCallFails;
    }
    ReadResult Read(std::span<std::uint8_t> buffer, int) override {
        const std::uint8_t control = m_s.Byte();
        if (control == kCallFails)
            return {ReadStatus::Failed, 0};
        if (control == kReadTimesOut)
            return {ReadStatus::TimedOut, 0};
        m_s.Fill(buffer);
        return {ReadStatus::Ok, buffer.size()};
    }

private:
    FuzzStream& m_s;
};

class FuzzBus final : public HidBus {
public:
    explicit FuzzBus(FuzzStream& s) : m_s(s) {}
    std::vector<HidInterfaceInfo> Enumerate() override {
        const std::uint8_t control = m_s.Byte();
        std::vector<HidInterfaceInfo> found;
        if (!(control & kKeyboardGone)) {
            found.push_back(Info(kKeyboardProductId, "fuzz-command", "mi_03"));
            found.push_back(Info(kKeyboardProductId, "fuzz-input", "mi_02&col04"));
        }
        if (control & kLoaderPresent)
            found.push_back(Info(kKeyboardLoaderProductId, "fuzz-loader", "mi_02"));
        return found;
    }
    OpenResult Open(const std::string&) override { return {std::make_unique<FuzzDevice>(m_s), {}}; }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback, std::string& error) override {
        error = "no hotplug events while fuzzing";
        return nullptr;
    }

private:
    static HidInterfaceInfo Info(std::uint16_t product, const char* path, const char* match) {
        return {path, kKeyboardVendorId, product, match};
    }
    FuzzStream& m_s;
};

// `nextByte` supplies the edits: a count, then per edit the offset (two bytes, little-endian)
// and the new value. `plug`, when given, is told before each removal (false) and arrival (true).
inline void RunDeviceScenario(HidBus& bus, Pacer& pacer, ConfigState& state,
                              const std::function<std::uint8_t()>& nextByte,
                              const std::function<void(bool)>& plug = {}) {
    DeviceConnection connection(bus, pacer);
    if (connection.OpenCommandInterface()) {
        connection.RunCommands([&](CommandChannel& ch) {
            if (!ReadBackSequence(ch, state.image, state.firmware))
                return false;
            state.deviceSnapshot = state.image;
            return true;
        });
    }
    const std::size_t edits = nextByte() % (kMaxEdits + 1);
    for (std::size_t i = 0; i < edits; ++i) {
        const std::size_t low = nextByte();
        const std::size_t offset = (low | std::size_t{nextByte()} << 8) % kSettingsImageSize;
        state.image.bytes[offset] = nextByte();
    }
    connection.ApplyChanges(state.image, state.deviceSnapshot);
    for (int replug = 0; replug < 2; ++replug) {
        if (plug)
            plug(false);
        connection.OnRemoval();
        if (plug)
            plug(true);
        connection.OnArrival(state);
    }
    connection.Shutdown();
}

} // namespace orvo::fuzz

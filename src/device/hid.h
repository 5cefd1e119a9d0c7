#pragma once
// HID access for the device link: a bus that lists and opens the keyboard's interfaces, and
// the open interface itself. Two backends implement it: hidapi (the real keyboard) and the
// simulated keyboard. Every call returns whether it worked; nothing is thrown and there is no
// "last error" state.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvo {

inline constexpr std::uint16_t kKeyboardVendorId = 0x04D9;
inline constexpr std::uint16_t kKeyboardProductId = 0xA12E;
// The same keyboard while its firmware sits in the loader after an interrupted update.
inline constexpr std::uint16_t kKeyboardLoaderProductId = 0xA126;

inline constexpr std::size_t kFeatureReportSize = 9; // report ID + 8 bytes
inline constexpr std::size_t kBulkPacketSize = 65;   // report ID + 64 payload bytes
inline constexpr std::size_t kInputReportSize = 4;   // report ID 4, kind, code, unused

using FeatureBuffer = std::array<std::uint8_t, kFeatureReportSize>;
using BulkPacket = std::array<std::uint8_t, kBulkPacketSize>;
using InputReport = std::array<std::uint8_t, kInputReportSize>;

// One HID interface as the bus lists it.
struct HidInterfaceInfo {
    std::string path; // what Open() takes
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // Lowercase text the interface is recognised by: "mi_NN" for its USB interface number and
    // "colNN" for each top-level collection (as Windows device paths carry them).
    std::string matchText;
};

enum class ReadStatus { Ok, TimedOut, Failed };

struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    std::size_t bytes = 0; // bytes placed in the buffer, report ID included
    bool ok() const { return status == ReadStatus::Ok; }
};

// An open interface. Calls on one object may come from one thread at a time; the command
// interface is serialised by its owner, the input interface is read by the listener alone.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Sends a 9-byte feature report; byte 0 is the report ID.
    virtual bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> report) = 0;
    // Fetches a 9-byte feature report into `report`; the caller sets byte 0 to the report ID.
    virtual bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> report) = 0;
    // Writes one 65-byte output packet; byte 0 is the report ID.
    virtual bool Write(std::span<const std::uint8_t, kBulkPacketSize> packet) = 0;
    // Reads one input report into `buffer`, waiting at most timeoutMs (negative: no limit).
    // The caller presets byte 0 to the report ID it expects; the report's bytes are placed so
    // that byte 0 is that ID (for report ID 0 the payload starts at byte 1). A time-out
    // consumes nothing: the next Read gets the report that had not arrived yet.
    virtual ReadResult Read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;
};

struct OpenResult {
    std::unique_ptr<HidDevice> device; // null when the open failed
    std::string error;                 // one line for the user when it failed
};

enum class HotplugEvent { Arrival, Removal };
using HotplugCallback = std::function<void(HotplugEvent)>;

// Watches for USB devices coming and going and calls back on its own thread. Destroying it
// stops and joins that thread.
class HotplugMonitor {
public:
    virtual ~HotplugMonitor() = default;
};

class HidBus {
public:
    virtual ~HidBus() = default;

    // Every HID interface present now, in the system's order. Empty when none (or on error).
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    virtual OpenResult Open(const std::string& path) = 0;
    // Starts watching for arrivals and removals; null (with `error` set) when it cannot.
    virtual std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback callback,
                                                         std::string& error) = 0;
};

// The simulated keyboard when ZORVANTA_SIMULATOR names a folder, else the real HID bus.
std::unique_ptr<HidBus> OpenHidBusFromEnvironment();

// The real bus (hidapi).
std::unique_ptr<HidBus> OpenHidapiBus();

inline constexpr const char* kSimulatorEnvironmentVariable = "ZORVANTA_SIMULATOR";

// The simulated keyboard's folder when ZORVANTA_SIMULATOR names one (set and not empty).
std::optional<std::string> SimulatorFolderFromEnvironment();

} // namespace orvo

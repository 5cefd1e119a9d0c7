// The real keyboard through hidapi: hidraw on Linux, the native backend on Windows.

#include "device/hid.h"
#include "device/report_descriptor.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#ifdef __linux__
#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#endif

namespace orvo {

namespace {

// The rule that gives the logged-in user access to the keyboard's hidraw nodes.
constexpr const char* kUdevRuleHint =
    "install packaging/70-zorvanta-orvo.rules into /etc/udev/rules.d/, run "
    "'udevadm control --reload && udevadm trigger', then re-plug the keyboard";

class HidapiDevice final : public HidDevice {
public:
    explicit HidapiDevice(hid_device* handle) : m_handle(handle) {}
    ~HidapiDevice() override { hid_close(m_handle); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> report) override {
        return hid_send_feature_report(m_handle, report.data(), report.size()) >= 0;
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> report) override {
        return hid_get_feature_report(m_handle, report.data(), report.size()) >= 0;
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> packet) override {
        return hid_write(m_handle, packet.data(), packet.size()) >= 0;
    }
    ReadResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        if (buffer.empty())
            return {ReadStatus::Failed, 0};
        // hidapi returns unnumbered reports without their ID byte and numbered ones with it;
        // the caller's preset byte 0 says which this is.
        const std::uint8_t expectedId = buffer[0];
        const bool unnumbered = expectedId == 0;
        std::uint8_t* into = unnumbered ? buffer.data() + 1 : buffer.data();
        const std::size_t room = unnumbered ? buffer.size() - 1 : buffer.size();
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            int wait = -1;
            if (timeoutMs >= 0) {
                wait = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            deadline - std::chrono::steady_clock::now())
                                            .count());
                wait = std::max(wait, 0);
            }
            const int n = hid_read_timeout(m_handle, into, room, wait);
            if (n < 0)
                return {ReadStatus::Failed, 0};
            if (n == 0)
                return {ReadStatus::TimedOut, 0};
            // A hidraw node carries every collection of its interface; Windows opens one
            // collection per handle. Reports of the other collections are skipped.
            if (!unnumbered && into[0] != expectedId) {
                if (wait == 0)
                    return {ReadStatus::TimedOut, 0};
                continue;
            }
            if (unnumbered)
                buffer[0] = 0;
            return {ReadStatus::Ok, static_cast<std::size_t>(n) + (unnumbered ? 1 : 0)};
        }
    }

private:
    hid_device* m_handle;
};

#ifdef __linux__
// /dev/hidrawN -> /sys/class/hidraw/hidrawN/device/report_descriptor
std::vector<std::uint8_t> ReadReportDescriptor(const std::string& devicePath) {
    const auto slash = devicePath.rfind('/');
    const std::string node = slash == std::string::npos ? devicePath : devicePath.substr(slash + 1);
    std::ifstream in("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string MatchText(const hid_device_info& d) {
    const DescriptorSummary s = SummariseReportDescriptor(ReadReportDescriptor(d.path));
    return BuildMatchText(d.vendor_id, d.product_id, d.interface_number, s.topLevelCollections);
}

std::string OpenError(const std::string& path) {
    if (access(path.c_str(), R_OK | W_OK) != 0) {
        if (errno == EACCES)
            return "cannot open " + path + ": permission denied; " + kUdevRuleHint;
        return "cannot open " + path + ": " + std::strerror(errno);
    }
    return "cannot open " + path + ": the device did not accept the open";
}

// libudev monitor on the usb subsystem; poll() blocks until an event or the stop signal.
class UdevHotplugMonitor final : public HotplugMonitor {
public:
    UdevHotplugMonitor(HotplugCallback callback, std::string& error)
        : m_callback(std::move(callback)) {
        m_udev = udev_new();
        if (m_udev)
            m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
        if (m_monitor &&
            (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", nullptr) < 0 ||
             udev_monitor_enable_receiving(m_monitor) < 0)) {
            udev_monitor_unref(m_monitor);
            m_monitor = nullptr;
        }
        m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (!m_monitor || m_wake < 0) {
            error = "cannot watch for USB devices (udev monitor unavailable)";
            return;
        }
        m_thread = std::thread([this] { Run(); });
    }
    ~UdevHotplugMonitor() override {
        if (m_thread.joinable()) {
            const std::uint64_t one = 1;
            (void)!write(m_wake, &one, sizeof one);
            m_thread.join();
        }
        if (m_wake >= 0)
            close(m_wake);
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        if (m_udev)
            udev_unref(m_udev);
    }
    UdevHotplugMonitor(const UdevHotplugMonitor&) = delete;
    UdevHotplugMonitor& operator=(const UdevHotplugMonitor&) = delete;

    bool ok() const { return m_thread.joinable(); }

private:
    void Run() {
        pollfd fds[2] = {{udev_monitor_get_fd(m_monitor), POLLIN, 0}, {m_wake, POLLIN, 0}};
        for (;;) {
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (fds[1].revents & POLLIN)
                return;
            if (!(fds[0].revents & POLLIN))
                continue;
            udev_device* dev = udev_monitor_receive_device(m_monitor);
            if (!dev)
                continue;
            const char* action = udev_device_get_action(dev);
            // Only whole devices, not each of their interfaces, so one plug is one event.
            const char* type = udev_device_get_devtype(dev);
            if (action && type && std::strcmp(type, "usb_device") == 0) {
                if (std::strcmp(action, "add") == 0)
                    m_callback(HotplugEvent::Arrival);
                else if (std::strcmp(action, "remove") == 0)
                    m_callback(HotplugEvent::Removal);
            }
            udev_device_unref(dev);
        }
    }

    HotplugCallback m_callback;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_wake = -1;
    std::thread m_thread;
};
#else
std::string Lowercase(std::string s) {
    std::ranges::transform(s, s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string MatchText(const hid_device_info& d) {
    // Windows device paths carry "mi_NN" and "colNN" themselves.
    return Lowercase(d.path ? d.path : "");
}

std::string OpenError(const std::string& path) {
    return "cannot open " + path;
}
#endif

class HidapiBus final : public HidBus {
public:
    HidapiBus() : m_initialised(hid_init() == 0) {}
    ~HidapiBus() override {
        if (m_initialised)
            hid_exit();
    }
    HidapiBus(const HidapiBus&) = delete;
    HidapiBus& operator=(const HidapiBus&) = delete;

    std::vector<HidInterfaceInfo> Enumerate() override {
        std::vector<HidInterfaceInfo> found;
        if (!m_initialised)
            return found;
        hid_device_info* list = hid_enumerate(0, 0);
        for (hid_device_info* d = list; d; d = d->next) {
            if (!d->path)
                continue;
            HidInterfaceInfo info;
            info.path = d->path;
            info.vendorId = d->vendor_id;
            info.productId = d->product_id;
            // Descriptors are only read for the keyboard's own interfaces.
            if (d->vendor_id == kKeyboardVendorId)
                info.matchText = MatchText(*d);
            found.push_back(std::move(info));
        }
        hid_free_enumeration(list);
        return found;
    }

    OpenResult Open(const std::string& path) override {
        if (!m_initialised)
            return {nullptr, "cannot open " + path + ": hidapi failed to start"};
        hid_device* handle = hid_open_path(path.c_str());
        if (!handle)
            return {nullptr, OpenError(path)};
        return {std::make_unique<HidapiDevice>(handle), {}};
    }

    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback callback,
                                                 std::string& error) override {
#ifdef __linux__
        auto monitor = std::make_unique<UdevHotplugMonitor>(std::move(callback), error);
        if (!monitor->ok())
            return nullptr;
        return monitor;
#else
        (void)callback;
        error = "USB device notifications are delivered to the window on this platform";
        return nullptr;
#endif
    }

private:
    bool m_initialised;
};

} // namespace

std::unique_ptr<HidBus> OpenHidapiBus() {
    return std::make_unique<HidapiBus>();
}

} // namespace orvo

#include "device/connection.h"

#include "device/read_back.h"
#include "device/table_transfers.h"
#include "model/log.h"
#include "model/window_messages.h"

#include <algorithm>

namespace orvo {

std::optional<HidInterfaceInfo> FindKeyboardInterface(HidBus& bus, std::string_view substring,
                                                      std::uint16_t productId) {
    for (HidInterfaceInfo& info : bus.Enumerate()) {
        if (info.vendorId == kKeyboardVendorId && info.productId == productId &&
            info.matchText.find(substring) != std::string::npos)
            return std::move(info);
    }
    return std::nullopt;
}

DeviceConnection::DeviceConnection(HidBus& bus, Pacer& pacer) : m_bus(bus), m_pacer(pacer) {}

DeviceConnection::~DeviceConnection() {
    // No pauses on destruction: stop the listener, close and join.
    m_listenerStop = true;
    m_listenerWake.notify_all();
    if (m_listenerThread.joinable())
        m_listenerThread.join();
    if (m_readBackThread.joinable())
        m_readBackThread.join();
}

std::unique_ptr<HidDevice> DeviceConnection::FindAndOpen(std::string_view substring,
                                                         std::string* error) {
    const auto found = FindKeyboardInterface(m_bus, substring);
    if (!found) {
        if (error)
            *error = "keyboard not found";
        return nullptr;
    }
    OpenResult r = m_bus.Open(found->path);
    if (!r.device) {
        if (error)
            *error = r.error;
        LogWarning(r.error);
    }
    return std::move(r.device);
}

bool DeviceConnection::OpenCommandLocked(std::string* error) {
    if (m_command)
        return true;
    auto opened = FindAndOpen(kCommandInterfaceMatch, error);
    if (!opened)
        return false;
    m_command = std::move(opened);
    return true;
}

bool DeviceConnection::OpenCommandInterface(std::string* error) {
    std::lock_guard lock(m_commandMutex);
    return OpenCommandLocked(error);
}

bool DeviceConnection::OpenInputInterface(std::string* error) {
    {
        std::lock_guard lock(m_stateMutex);
        if (m_input)
            return true;
    }
    auto opened = FindAndOpen(kInputInterfaceMatch, error);
    if (!opened)
        return false;
    std::lock_guard lock(m_stateMutex);
    m_input = std::move(opened);
    return true;
}

void DeviceConnection::JoinReadBack() {
    if (m_readBackThread.joinable())
        m_readBackThread.join();
}

bool DeviceConnection::StartListener(MessageSink& sink) {
    {
        std::lock_guard lock(m_stateMutex);
        m_sink = &sink;
    }
    return StartListenerThread(sink);
}

bool DeviceConnection::StartListenerThread(MessageSink& sink) {
    if (m_listenerRunning)
        return true;
    std::shared_ptr<HidDevice> input;
    {
        std::lock_guard lock(m_stateMutex);
        input = m_input;
    }
    if (!input)
        return false;
    if (m_listenerThread.joinable())
        m_listenerThread.join(); // the previous listener has left its loop
    {
        std::lock_guard lock(m_listenerWakeMutex);
        m_listenerStop = false;
        m_listenerRunning = true;
    }
    m_listenerThread = std::thread([this, input, &sink] { ListenerLoop(input, sink); });
    return true;
}

void DeviceConnection::ListenerLoop(std::shared_ptr<HidDevice> input, MessageSink& sink) {
    constexpr std::uint8_t kInputReportId = 4;
    constexpr std::uint8_t kIgnoredKind = 4;
    for (;;) {
        {
            // Deciding to end and clearing the running flag happen together, so a restart
            // (OnRemoval) either keeps this listener or starts a new one, never neither.
            std::lock_guard lock(m_listenerWakeMutex);
            if (m_listenerStop) {
                m_listenerRunning = false;
                return;
            }
        }
        InputReport report{kInputReportId, 0, 0, 0};
        // A read that times out consumes nothing, so the next pass waits on the same report
        // instead of issuing a second read over a pending one.
        const ReadResult r = input->Read(report, kListenerWaitMs);
        if (r.ok()) {
            if (report[1] != kIgnoredKind)
                sink.Send(WM_DEVICE_KEY_EVENT, report[2], 0);
        } else if (r.status == ReadStatus::Failed) {
            // A failed read returns at once (device gone): wait before trying again, but wake
            // as soon as the stop flag is set.
            std::unique_lock lock(m_listenerWakeMutex);
            m_listenerWake.wait_for(lock, std::chrono::milliseconds(kListenerWaitMs),
                                    [this] { return m_listenerStop.load(); });
        }
    }
}

void DeviceConnection::StopListener(int pauseMs) {
    {
        std::lock_guard lock(m_listenerWakeMutex);
        m_listenerStop = true;
    }
    m_listenerWake.notify_all();
    m_pacer.Sleep(pauseMs);
}

void DeviceConnection::CloseInterfaces() {
    {
        std::lock_guard lock(m_commandMutex);
        m_command.reset();
    }
    // The listener keeps its own reference until it has left its loop.
    std::lock_guard lock(m_stateMutex);
    m_input.reset();
}

bool DeviceConnection::InterfaceStillPresent() {
    return FindKeyboardInterface(m_bus, kCommandInterfaceMatch, kKeyboardProductId).has_value();
}

void DeviceConnection::OnRemoval() {
    StopListener(pause::kRemovalListenerStop);
    if (!InterfaceStillPresent()) {
        CloseInterfaces();
    } else {
        // Another device went: the keyboard stays connected, so its listener carries on.
        MessageSink* sink = nullptr;
        {
            std::lock_guard lock(m_stateMutex);
            sink = m_sink;
        }
        bool running = false;
        {
            std::lock_guard lock(m_listenerWakeMutex);
            m_listenerStop = false;
            running = m_listenerRunning;
        }
        if (!running && sink)
            StartListenerThread(*sink);
    }
    m_pacer.Sleep(pause::kRemovalAfterClose);
    LogTrace("DBT_DEVICEREMOVECOMPLETE");
}

void DeviceConnection::Shutdown() {
    StopListener(pause::kShutdownListenerStop);
    CloseInterfaces();
    if (m_listenerThread.joinable())
        m_listenerThread.join();
    if (m_readBackThread.joinable())
        m_readBackThread.join();
}

bool DeviceConnection::RunCommands(const std::function<bool(CommandChannel&)>& sequence) {
    std::lock_guard lock(m_commandMutex);
    if (!m_command)
        return false;
    if (m_deviceLock && !m_deviceLock->Acquire()) {
        LogWarning("the keyboard is in use by " + m_deviceLock->busyHolder());
        return false;
    }
    struct Held {
        DeviceLock* lock;
        ~Held() {
            if (lock)
                lock->Release();
        }
    } held{m_deviceLock.get()};
    CommandChannel ch{*m_command, m_pacer};
    return sequence(ch);
}

ApplyResult DeviceConnection::ApplyChanges(SettingsImage& image, DeviceSnapshot& snapshot) {
    ApplyResult result;
    RunCommands([&](CommandChannel& ch) {
        result = orvo::ApplyChanges(ch, image, snapshot);
        return result.ok;
    });
    return result;
}

bool DeviceConnection::commandOpen() const {
    std::lock_guard lock(m_commandMutex);
    return m_command != nullptr;
}

bool DeviceConnection::inputOpen() const {
    std::lock_guard lock(m_stateMutex);
    return m_input != nullptr;
}

} // namespace orvo

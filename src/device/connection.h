#pragma once
// The keyboard connection: finding and opening its two interfaces, the start-up read-back and
// key-event listener threads, and what happens when a USB device comes or goes.
//
// Every command sequence runs with the command interface held (one mutex), so the read-back
// thread, Save, the factory reset and the refresh after an arrival never interleave on it; with
// a device lock in use, also never with another process's sequences.
// Worker threads are joined when the connection is shut down or destroyed; the message sink
// given to Connect() must stay valid until then, and must have been released (Send returning
// at once) before Shutdown() is called from the thread that handles its messages.

#include "device/apply_changes.h"
#include "device/device_lock.h"
#include "device/hid.h"
#include "device/message_sink.h"
#include "device/pacer.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace orvo {

struct ConfigState;

// Interfaces are told apart by a substring of their match text.
inline constexpr std::string_view kCommandInterfaceMatch = "mi_03";
inline constexpr std::string_view kInputInterfaceMatch = "ol04"; // of "col04"
inline constexpr std::string_view kLoaderInterfaceMatch = "mi_02";

// Pauses of the connection, in milliseconds.
namespace pause {
inline constexpr int kArrivalSettle = 2000;      // the keyboard finishes enumerating
inline constexpr int kRemovalListenerStop = 500; // the listener notices its stop flag
inline constexpr int kRemovalAfterClose = 200;
inline constexpr int kShutdownListenerStop = 1000;
} // namespace pause

inline constexpr int kListenerWaitMs = 200; // the listener rechecks its stop flag this often

// The first interface (in the bus's order) of vendor 0x04D9 with the given product whose match
// text contains `substring`; nullopt when there is none.
std::optional<HidInterfaceInfo> FindKeyboardInterface(HidBus& bus, std::string_view substring,
                                                      std::uint16_t productId = kKeyboardProductId);

struct ConnectResult {
    bool commandOpen = false;
    bool inputOpen = false;
    std::string error; // why an interface found could not be opened (first such error)
    bool connected() const { return commandOpen && inputOpen; }
};

struct ArrivalResult {
    bool reopened = false;     // the command interface was closed and is open again
    bool factoryReset = false; // the pending factory reset ran (the window resets its sliders
                               // and DIY mode as after the help menu's reset)
    // The input interface was reopened: deliver WM_READBACK_DONE (lParam 0) to the window.
    bool readBackDone = false;
    bool transfersOk = true;
    std::string error;
};

struct ResetResult {
    bool transfersOk = false;   // the keyboard was reset and read back
    bool keymapWritten = false; // "keymap.bin" was written and the snapshots taken
    std::string error;
};

class DeviceConnection {
public:
    DeviceConnection(HidBus& bus, Pacer& pacer);
    ~DeviceConnection();
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Start-up: opens the command interface and starts the read-back thread (once per run),
    // then opens the input interface and starts the key-event listener. The read-back fills
    // state.image, state.firmware and state.deviceSnapshot, then sends WM_READBACK_DONE.
    ConnectResult Connect(ConfigState& state, MessageSink& sink);

    // Hotplug handlers; call them from one thread (the GUI's UI thread). Both pause as the
    // keyboard needs (2 s on arrival, 0.7 s on removal). A successful arrival refresh leaves
    // state.image, state.firmware and state.deviceSnapshot as the keyboard reported them; the
    // window then sets its sliders and, when readBackDone, runs its WM_READBACK_DONE handler
    // itself (the handler is on the calling thread, so nothing is sent through the sink).
    ArrivalResult OnArrival(ConfigState& state);
    void OnRemoval();

    // Stops the listener (flag, 1 s), closes both interfaces and joins every worker.
    void Shutdown();

    // Runs a command sequence with the command interface held (and the device lock, when one
    // is in use). False (sequence not run) when the command interface is closed or the lock
    // stayed taken (deviceLock()->timedOut()); otherwise what the sequence returned.
    bool RunCommands(const std::function<bool(CommandChannel&)>& sequence);

    // The cross-process lock taken around every sequence; call before Connect().
    void useDeviceLock(std::unique_ptr<DeviceLock> lock) { m_deviceLock = std::move(lock); }
    // A command sequence waiting for another process's lock gives up at once (the program is
    // ending); from any thread.
    void AbortLockWait() {
        if (m_deviceLock)
            m_deviceLock->Abort();
    }
    DeviceLock* deviceLock() { return m_deviceLock.get(); }

    // Save. Fails without sending anything when the command interface is closed.
    ApplyResult ApplyChanges(SettingsImage& image, DeviceSnapshot& snapshot);

    // The factory reset of the help menu and of a pending reset after an arrival: reset the
    // keyboard, read it back, clear customisedKeys, enable every key, clear and re-seed the
    // action table, then write "keymap.bin" and take both snapshots only when the file was
    // written. Nothing of `state` changes when the keyboard could not be reset and read.
    ResetResult ResetAndReload(ConfigState& state);

    // Opening the interfaces on their own (orvoctl); true when open afterwards.
    bool OpenCommandInterface(std::string* error = nullptr);
    bool OpenInputInterface(std::string* error = nullptr);
    // Starts the key-event listener on the open input interface (no-op if one runs).
    bool StartListener(MessageSink& sink);
    // Waits for the start-up read-back thread to finish.
    void JoinReadBack();

    bool commandOpen() const;
    bool inputOpen() const;
    bool listenerRunning() const { return m_listenerRunning.load(); }
    bool resetPending() const { return m_resetPending; }

private:
    // Finds the keyboard interface whose match text holds the substring and opens it; null
    // (with `error` set) when it is missing or cannot be opened.
    std::unique_ptr<HidDevice> FindAndOpen(std::string_view substring, std::string* error);
    bool OpenCommandLocked(std::string* error);
    void StartReadBackThread(ConfigState& state, MessageSink& sink);
    bool StartListenerThread(MessageSink& sink);
    void ListenerLoop(std::shared_ptr<HidDevice> input, MessageSink& sink);
    void StopListener(int pauseMs);
    void CloseInterfaces();
    bool InterfaceStillPresent();

    HidBus& m_bus;
    Pacer& m_pacer;

    mutable std::mutex m_commandMutex; // held for each command sequence
    std::unique_ptr<HidDevice> m_command;
    std::unique_ptr<DeviceLock> m_deviceLock; // used under m_commandMutex

    mutable std::mutex m_stateMutex;    // guards the fields below
    std::shared_ptr<HidDevice> m_input; // the listener holds its own reference
    MessageSink* m_sink = nullptr;

    bool m_resetPending = false;
    // The keyboard was read whole in this run, so the snapshot stands for it (before that it
    // holds what "keymap.bin" held, and the image differs from it by more than edits).
    std::atomic<bool> m_keyboardRead{false};
    bool m_readBackStarted = false;
    std::thread m_readBackThread;
    std::thread m_listenerThread;
    std::atomic<bool> m_listenerStop{false};
    std::atomic<bool> m_listenerRunning{false};
    std::condition_variable m_listenerWake;
    std::mutex m_listenerWakeMutex;
};

} // namespace orvo

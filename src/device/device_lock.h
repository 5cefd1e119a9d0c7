#pragma once
// One conversation with the keyboard at a time, across processes. The program and orvoctl may
// run together; each takes this lock (a lock file in the user's runtime folder, flock) around
// every command sequence, so that a script's reports never land between the window's announce
// and its packets, or the other way round. A process that cannot get the lock within its
// time-out gives up and names the holder.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace orvo {

inline constexpr std::chrono::milliseconds kDeviceLockTimeout{10000};

class DeviceLock {
public:
    // holderName names this process to a process that waits for it ("orvoctl").
    DeviceLock(std::filesystem::path file, std::string holderName,
               std::chrono::milliseconds timeout = kDeviceLockTimeout);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Waits until this process holds the lock, at most the time-out. False when the time ran
    // out: busyHolder() then names the process that holds it. A lock file that cannot be
    // opened at all does not stop the keyboard from being used (true, with a warning).
    bool Acquire();
    void Release();
    // Ends a wait in Acquire at once, and every later one (the process is ending); from any
    // thread.
    void Abort() { m_aborted = true; }

    bool timedOut() const { return !m_busyHolder.empty(); }
    // "ZorvantaOrvo (pid 1234)"; "another process" when the holder left no name.
    const std::string& busyHolder() const { return m_busyHolder; }

private:
    bool Open();
    std::string ReadHolder() const;

    std::filesystem::path m_file;
    std::string m_holderName;
    std::chrono::milliseconds m_timeout;
    int m_fd = -1;
    bool m_openFailed = false;
    bool m_held = false;
    std::string m_busyHolder; // set when the last Acquire timed out

    std::atomic<bool> m_aborted{false};
};

// A lock on the lock file of the keyboard this process reaches: "zorvanta-orvo-keyboard.lock"
// in the user's runtime folder, or "keyboard.lock" in a simulated keyboard's folder. Null when
// there is no runtime folder to put it in.
std::unique_ptr<DeviceLock> MakeKeyboardLock(std::string holderName);

} // namespace orvo

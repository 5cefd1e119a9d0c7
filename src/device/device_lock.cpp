#include "device/device_lock.h"

#include "device/hid.h"
#include "model/log.h"
#include "model/runtime_folder.h"

#include <thread>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace orvo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockFileName = "zorvanta-orvo-keyboard.lock";
constexpr const char* kSimulatorLockFileName = "keyboard.lock";
constexpr std::size_t kMaxHolderText = 256;
// Polling keeps the wait interruptible by its time-out; the first retries come quickly since
// most sequences are short.
constexpr std::chrono::milliseconds kFirstRetry{2};
constexpr std::chrono::milliseconds kLongestRetry{50};

std::optional<fs::path> KeyboardLockFile() {
    // A simulated keyboard is a folder of its own: its lock lies beside its memory, so that
    // separate simulated keyboards never wait for each other and go away with their folder.
    if (const auto simulator = SimulatorFolderFromEnvironment())
        return fs::path(*simulator) / kSimulatorLockFileName;
    const auto folder = UserRuntimeFolder();
    if (!folder)
        return std::nullopt;
    return *folder / kLockFileName;
}

} // namespace

DeviceLock::DeviceLock(fs::path file, std::string holderName, std::chrono::milliseconds timeout)
    : m_file(std::move(file)), m_holderName(std::move(holderName)), m_timeout(timeout) {}

DeviceLock::~DeviceLock() {
#ifndef _WIN32
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock as well
#endif
}

bool DeviceLock::Open() {
#ifndef _WIN32
    if (m_fd >= 0 || m_openFailed)
        return m_fd >= 0;
    m_fd = ::open(m_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        m_openFailed = true;
        LogWarning("keyboard lock: cannot open " + m_file.string() +
                   "; the keyboard is used without it");
    }
    return m_fd >= 0;
#else
    return false;
#endif
}

std::string DeviceLock::ReadHolder() const {
#ifndef _WIN32
    char buffer[kMaxHolderText] = {};
    const ssize_t n = ::pread(m_fd, buffer, sizeof buffer - 1, 0);
    std::string text(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0'))
        text.pop_back();
    return text.empty() ? "another process" : text;
#else
    return {};
#endif
}

bool DeviceLock::Acquire() {
    m_busyHolder.clear();
    if (!Open())
        return true;
#ifndef _WIN32
    const auto deadline = std::chrono::steady_clock::now() + m_timeout;
    std::chrono::milliseconds retry = kFirstRetry;
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            LogWarning("keyboard lock: " + m_file.string() + " cannot be locked");
            return true;
        }
        if (m_aborted || std::chrono::steady_clock::now() >= deadline) {
            m_busyHolder = ReadHolder();
            return false;
        }
        std::this_thread::sleep_for(retry);
        retry = std::min(retry * 2, kLongestRetry);
    }
    m_held = true;
    // Whoever waits for us can say who we are.
    const std::string holder = m_holderName + " (pid " + std::to_string(::getpid()) + ")\n";
    if (::ftruncate(m_fd, 0) != 0 ||
        ::pwrite(m_fd, holder.data(), holder.size(), 0) != static_cast<ssize_t>(holder.size()))
        LogTrace("keyboard lock: cannot note the holder in " + m_file.string());
#endif
    return true;
}

void DeviceLock::Release() {
#ifndef _WIN32
    if (!m_held)
        return;
    m_held = false;
    ::flock(m_fd, LOCK_UN);
#endif
}

std::unique_ptr<DeviceLock> MakeKeyboardLock(std::string holderName) {
    const auto file = KeyboardLockFile();
    if (!file)
        return nullptr;
    return std::make_unique<DeviceLock>(*file, std::move(holderName));
}

} // namespace orvo

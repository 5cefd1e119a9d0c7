#include "device/pacer.h"

#include <numeric>
#include <thread>

namespace orvo {

void RealPacer::Sleep(int ms) {
    if (ms <= 0) {
        std::this_thread::yield();
        return;
    }
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_interrupted; });
}

void RealPacer::Interrupt() {
    {
        std::lock_guard lock(m_mutex);
        m_interrupted = true;
    }
    m_wake.notify_all();
}

void RecordingPacer::Sleep(int ms) {
    std::lock_guard lock(m_mutex);
    m_pauses.push_back(ms);
}

std::vector<int> RecordingPacer::pauses() const {
    std::lock_guard lock(m_mutex);
    return m_pauses;
}

long long RecordingPacer::totalMs() const {
    std::lock_guard lock(m_mutex);
    return std::accumulate(m_pauses.begin(), m_pauses.end(), 0LL);
}

void RecordingPacer::clear() {
    std::lock_guard lock(m_mutex);
    m_pauses.clear();
}

} // namespace orvo

#include "device/pacer.h"

#include <numeric>
#include <thread>

namespace orvo {

void RealPacer::Sleep(int ms) {
    if (ms <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
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

#pragma once
// Every fixed pause between reports goes through a Pacer, so tests can check the exact pause
// sequence without waiting for it.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace orvo {

class Pacer {
public:
    virtual ~Pacer() = default;
    // Pauses for `ms` milliseconds; 0 only yields the processor.
    virtual void Sleep(int ms) = 0;
    // The program stops what it is doing: the pause in progress ends now and every later one
    // returns at once. Pacers that never wait need not do anything.
    virtual void Interrupt() {}
};

// Sleeps for real, until interrupted.
class RealPacer final : public Pacer {
public:
    void Sleep(int ms) override;
    void Interrupt() override;

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_interrupted = false;
};

// Records each pause and returns at once. Safe to share between threads.
class RecordingPacer final : public Pacer {
public:
    void Sleep(int ms) override;

    std::vector<int> pauses() const;
    long long totalMs() const;
    void clear();

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_pauses;
};

} // namespace orvo

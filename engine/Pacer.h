#pragma once

#include <atomic>
#include <chrono>

// Holds result steps to a number per second of wall time, so that meters and traces can be
// watched. A step that comes late is not made up for by a burst afterwards.
class CPacer {
public:
    // 0 = no pacing.
    explicit CPacer(int nStepsPerSecond);

    // Waits until the next step is due; returns early when bStop becomes true.
    void Wait(const std::atomic<bool>& bStop);

private:
    using Clock = std::chrono::steady_clock;
    std::chrono::nanoseconds m_period{0};
    Clock::time_point m_next{};
    bool m_bStarted = false;
};

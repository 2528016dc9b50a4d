#include "Pacer.h"

#include <thread>

CPacer::CPacer(int nStepsPerSecond) {
    if (nStepsPerSecond > 0)
        m_period = std::chrono::nanoseconds(1000000000LL / nStepsPerSecond);
}

void CPacer::Wait(const std::atomic<bool>& bStop) {
    if (m_period.count() == 0)
        return;
    const Clock::time_point now = Clock::now();
    if (!m_bStarted || now > m_next + m_period) {
        m_bStarted = true;
        m_next = now + m_period;
        return;
    }
    // Short slices so that a stop is seen quickly even at one step per second.
    constexpr auto kSlice = std::chrono::milliseconds(20);
    while (!bStop.load()) {
        const Clock::time_point t = Clock::now();
        if (t >= m_next)
            break;
        std::this_thread::sleep_for(std::min<Clock::duration>(m_next - t, kSlice));
    }
    m_next += m_period;
}

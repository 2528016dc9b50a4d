#pragma once

#include <cstdint>

// The workbench's end of the run: one notification record per result step over the inherited
// socket, then a blocking wait for the answer.
class CEnginePeer {
public:
    explicit CEnginePeer(int nSocketFd) : m_nSocketFd(nSocketFd) {}

    // True when the workbench answered 1. An answer of 0, any other answer, end of file or
    // a broken socket all mean stop.
    bool Notify(int32_t nWParam);
    // Wakes a Notify that waits for an answer (it then sees end of file).
    void Shutdown();

    int32_t LastAnswer() const { return m_nLastAnswer; }

private:
    int m_nSocketFd;
    int32_t m_nLastAnswer = -1;
};

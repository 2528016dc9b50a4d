#include "EnginePeer.h"

#include "EngineProtocol.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

bool CEnginePeer::Notify(int32_t nWParam) {
    const auto note = CEngineProtocol::EncodeNotification(nWParam);
    std::size_t nSent = 0;
    while (nSent < note.size()) {
        ssize_t n = send(m_nSocketFd, note.data() + nSent, note.size() - nSent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nSent += static_cast<std::size_t>(n);
    }
    CEngineProtocol::AnswerBytes answer{};
    std::size_t nReceived = 0;
    while (nReceived < answer.size()) {
        ssize_t n = recv(m_nSocketFd, answer.data() + nReceived, answer.size() - nReceived, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nReceived += static_cast<std::size_t>(n);
    }
    m_nLastAnswer = CEngineProtocol::DecodeAnswer(answer);
    return m_nLastAnswer == CEngineProtocol::kAnswerContinue;
}

void CEnginePeer::Shutdown() {
    shutdown(m_nSocketFd, SHUT_RDWR);
}

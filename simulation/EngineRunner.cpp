#include "EngineRunner.h"

#include "EngineProtocol.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
// The descriptor number the engine finds its end of the socket pair at.
constexpr int kEngineFd = 3;
constexpr qsizetype kMaxStderr = 64 * 1024;

struct CDispatchGuard {
    int& m_nDepth;
    explicit CDispatchGuard(int& nDepth) : m_nDepth(nDepth) { ++m_nDepth; }
    ~CDispatchGuard() { --m_nDepth; }
};
} // namespace

CEngineRunner& EngineRunner() {
    static CEngineRunner runner;
    return runner;
}

CEngineRunner::CEngineRunner() = default;

CEngineRunner::~CEngineRunner() {
    Terminate();
}

bool CEngineRunner::Start(const QString& strProgram, const QString& strRunFolder,
                          const QStringList& options, Handler handler) {
    Terminate();
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return false;
    int errPipe[2];
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(sv[0]);
        ::close(sv[1]);
        return false;
    }

    const QByteArray program = QFile::encodeName(strProgram);
    std::vector<QByteArray> args = {program, "1", QByteArray::number(kEngineFd),
                                    QFile::encodeName(strRunFolder)};
    for (const QString& option : options)
        args.push_back(option.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // The engine gets its socket end as descriptor 3, its standard error into our pipe and
    // nothing else: every other descriptor is closed.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_adddup2(&actions, sv[1], kEngineFd);
    posix_spawn_file_actions_addclosefrom_np(&actions, kEngineFd + 1);
    pid_t pid = -1;
    const int nError =
        ::posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(sv[1]);
    ::close(errPipe[1]);
    if (nError != 0) {
        ::close(sv[0]);
        ::close(errPipe[0]);
        return false;
    }

    m_pid = pid;
    m_nSocket = sv[0];
    m_nStderr = errPipe[0];
    ::fcntl(m_nSocket, F_SETFL, ::fcntl(m_nSocket, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_nStderr, F_SETFL, ::fcntl(m_nStderr, F_GETFL) | O_NONBLOCK);
    m_pending.clear();
    m_stderr.clear();
    m_handler = std::move(handler);
    m_nSteps = 0;
    ++m_nGeneration;
    m_pSocketNotifier = std::make_unique<QSocketNotifier>(m_nSocket, QSocketNotifier::Read);
    connect(m_pSocketNotifier.get(), &QSocketNotifier::activated, this,
            &CEngineRunner::OnSocketReadable);
    m_pStderrNotifier = std::make_unique<QSocketNotifier>(m_nStderr, QSocketNotifier::Read);
    connect(m_pStderrNotifier.get(), &QSocketNotifier::activated, this,
            &CEngineRunner::OnStderrReadable);
    return true;
}

void CEngineRunner::CloseDescriptors() {
    // Inside a notifier's signal the notifiers must outlive the call: delete them later.
    for (auto* pNotifier : {&m_pSocketNotifier, &m_pStderrNotifier}) {
        if (!*pNotifier)
            continue;
        (*pNotifier)->setEnabled(false);
        if (m_nDispatchDepth > 0)
            pNotifier->release()->deleteLater();
        else
            pNotifier->reset();
    }
    if (m_nSocket >= 0)
        ::close(m_nSocket);
    if (m_nStderr >= 0)
        ::close(m_nStderr);
    m_nSocket = -1;
    m_nStderr = -1;
}

void CEngineRunner::Reap(bool bKill) {
    if (m_pid <= 0)
        return;
    if (bKill)
        ::kill(m_pid, SIGKILL);
    int nStatus = 0;
    while (::waitpid(m_pid, &nStatus, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

void CEngineRunner::Terminate() {
    Reap(true);
    CloseDescriptors();
    m_handler = nullptr;
}

void CEngineRunner::OnStderrReadable() {
    CDispatchGuard guard(m_nDispatchDepth);
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_nStderr, buffer, sizeof buffer);
        if (n > 0) {
            if (m_stderr.size() < kMaxStderr)
                m_stderr.append(buffer, qsizetype(n));
            continue;
        }
        if (n == 0 && m_pStderrNotifier)
            m_pStderrNotifier->setEnabled(false); // the engine closed it; the socket tells the end
        return;
    }
}

void CEngineRunner::OnSocketReadable() {
    CDispatchGuard guard(m_nDispatchDepth);
    const quint64 nGeneration = m_nGeneration;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_nSocket, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
        }
        if (n <= 0) {
            // The engine closed its end: it ended by itself.
            if (m_nStderr >= 0)
                OnStderrReadable();
            const pid_t pid = m_pid;
            int nStatus = 0;
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
                }
            }
            m_pid = -1;
            const QString strStderr = QString::fromLocal8Bit(m_stderr);
            CloseDescriptors();
            m_handler = nullptr;
            emit EngineEnded(WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1, strStderr);
            return;
        }
        m_pending.append(buffer, qsizetype(n));
    }
    while (m_pending.size() >= qsizetype(CEngineProtocol::kNotificationSize)) {
        CEngineProtocol::NotificationBytes bytes;
        std::copy_n(reinterpret_cast<const unsigned char*>(m_pending.constData()), bytes.size(),
                    bytes.begin());
        m_pending.remove(0, qsizetype(bytes.size()));
        const SEngineNotification note = CEngineProtocol::DecodeNotification(bytes);
        int nAnswer = CEngineProtocol::kAnswerStop;
        if (note.nMessage == CEngineProtocol::kResultMessage && m_handler) {
            ++m_nSteps;
            Handler handler = m_handler; // the handler may restart us
            nAnswer = handler(note.nWParam, note.nLParam);
        }
        if (nGeneration != m_nGeneration || m_nSocket < 0)
            return; // the engine that asked is gone
        const auto answer = CEngineProtocol::EncodeAnswer(nAnswer);
        ::send(m_nSocket, answer.data(), answer.size(), MSG_NOSIGNAL);
    }
}

#include "EngineOptions.h"
#include "EnginePeer.h"
#include "EngineProtocol.h"
#include "NetlistInput.h"
#include "Pacer.h"
#include "ResultFiles.h"
#include "SpiceSession.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/close_range.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// One result step: the files, the pause that paces playback, the notification and its
// answer. Runs on ngspice's background thread.
class CEngineSink : public IResultSink {
public:
    CEngineSink(CResultFiles& files, CEnginePeer& peer, CPacer& pacer,
                const std::atomic<bool>& bTerminate)
        : m_files(files), m_peer(peer), m_pacer(pacer), m_bTerminate(bTerminate) {}

    bool TakeStep(const SVectorLayout& layout, const std::vector<double>& values) override {
        m_pacer.Wait(m_bTerminate);
        if (m_bTerminate.load())
            return false;
        if (!m_files.Write(layout, values, m_strError))
            return false;
        return m_peer.Notify(layout.nMaxNode);
    }

    const std::string& Error() const { return m_strError; }

private:
    CResultFiles& m_files;
    CEnginePeer& m_peer;
    CPacer& m_pacer;
    const std::atomic<bool>& m_bTerminate;
    std::string m_strError;
};

// Keeps only the standard streams and the socket. A copy of the workbench's own end, had it
// slipped through, would keep the socket open and hide the workbench's end of file.
void CloseStrayDescriptors(int nSocketFd) {
    if (nSocketFd > 3)
        syscall(SYS_close_range, 3u, static_cast<unsigned>(nSocketFd - 1), 0u);
    syscall(SYS_close_range, static_cast<unsigned>(nSocketFd + 1), ~0u, 0u);
}

} // namespace

int main(int argc, char** argv) {
    CEngineOptions options;
    std::string strError;
    if (!options.Parse(argc, argv, std::getenv("KEST_ENGINE_RATE"), strError)) {
        std::fprintf(stderr, "engine: %s\n%s", strError.c_str(), CEngineOptions::Usage());
        return 2;
    }
    const int nSocketFd = options.m_nSocketFd;
    if (nSocketFd <= 2) {
        std::fprintf(stderr, "engine: descriptor %d is a standard stream, not a socket\n",
                     nSocketFd);
        return 2;
    }
    CloseStrayDescriptors(nSocketFd);
    struct stat st {};
    if (fstat(nSocketFd, &st) != 0 || !S_ISSOCK(st.st_mode)) {
        std::fprintf(stderr, "engine: descriptor %d is not a socket\n", nSocketFd);
        return 2;
    }

    CNetlistInput netlist;
    const std::string strNetlistPath = options.m_strRunFolder + "/" + CEngineProtocol::kNetlistFile;
    if (!netlist.ReadFile(strNetlistPath, strError)) {
        std::fprintf(stderr, "engine: %s\n", strError.c_str());
        return 1;
    }

    // The signals that end the engine are taken on the main thread through a descriptor;
    // blocking them here, before ngspice starts a thread, keeps them off every other thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int nSignalFd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (nSignalFd < 0) {
        std::fprintf(stderr, "engine: cannot watch signals: %s\n", std::strerror(errno));
        return 1;
    }

    std::atomic<bool> bTerminate{false};
    CResultFiles files(options.m_strRunFolder);
    CEnginePeer peer(nSocketFd);
    CPacer pacer(options.m_nRate);
    CEngineSink sink(files, peer, pacer, bTerminate);
    CSpiceSession session;
    if (!session.Init(options.m_bVerbose, strError)) {
        std::fprintf(stderr, "engine: %s\n", strError.c_str());
        return 1;
    }
    session.SetSink(&sink);
    session.SetStepGrid(netlist.StepSeconds(), netlist.StartSeconds());
    if (!session.LoadCircuit(netlist.Lines())) {
        std::fprintf(stderr, "engine: ngspice refused the netlist:\n%s", session.Reason().c_str());
        return 1;
    }
    session.StartRun();

    while (!session.Ended() && !session.StopRequested()) {
        pollfd fds[2] = {{session.WakeFd(), POLLIN, 0}, {nSignalFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            signalfd_siginfo info{};
            if (read(nSignalFd, &info, sizeof info) > 0) {
                bTerminate = true;
                peer.Shutdown(); // wakes a step that waits for its answer
                session.RequestStop();
            }
        }
        session.ClearWake();
    }
    session.Halt();
    close(nSignalFd);
    // An analysis that would not halt must not meet the process's teardown.
    if (CSpiceSession::IsRunning()) {
        std::fflush(stderr);
        _exit(bTerminate.load() || session.StopRequested() ? 0 : 1);
    }

    if (bTerminate.load())
        return 0;
    if (!sink.Error().empty()) {
        std::fprintf(stderr, "engine: %s\n", sink.Error().c_str());
        return 1;
    }
    if (session.StopRequested())
        return 0;
    if (session.Points() == 0) {
        std::fprintf(stderr, "engine: the analysis gave no result:\n%s", session.Reason().c_str());
        return 1;
    }
    if (session.Failed()) {
        std::fprintf(stderr, "engine: the analysis stopped early:\n%s", session.Reason().c_str());
        return 1;
    }
    return 0;
}

// ngspice keeps a few allocations of a refused circuit until the process ends; they are the
// library's, not the engine's.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libngspice.so\n";
}

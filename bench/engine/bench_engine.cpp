// Result steps per second of the engine in fast mode with a peer that only answers (and one
// that also reads both result files, as the workbench does), against ngspice alone on the
// same netlist. Run by hand: build-*/bench/bench_engine

#include "EngineProtocol.h"
#include "NetlistInput.h"
#include "SpiceSession.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string Netlist(const std::vector<std::string>& elements) {
    std::string strText = "\r\nKest-generated Input file\r\n.tran 0.1ms 600s 0 0.1ms";
    for (const std::string& strLine : elements)
        strText += "\r\n" + strLine;
    // The trailer's diode model; the amplifier subcircuit is not instantiated and costs
    // nothing at run time.
    strText += "\r\n.model D1N3493 D(Is=68.65f Rs=3.786m Ikf=1.774 N=1 Xti=2 Eg=1.11 Cjo=1.457n";
    strText += "\r\n.end";
    return strText;
}

std::string WorkedExample() {
    return Netlist({"V3 0 3 3.000000", "R4 0 2 1.000000e+000", "R5 2 3 2.000000e+001"});
}

// A battery feeding a ladder read by five ammeters (0 V sources) and five voltmeters
// (1e12 ohm resistors).
std::string TenMeters() {
    std::vector<std::string> elements = {"V1 0 1 12.000000"};
    int nId = 2;
    int nNode = 1;
    for (int i = 0; i < 5; ++i) {
        const int nA = nNode, nB = nNode + 1, nC = nNode + 2;
        elements.push_back("V" + std::to_string(nId++) + " " + std::to_string(nA) + " " +
                           std::to_string(nB) + " 0.000000");
        elements.push_back("R" + std::to_string(nId++) + " " + std::to_string(nB) + " " +
                           std::to_string(nC) + " 1.000000e+002");
        elements.push_back("R" + std::to_string(nId++) + " " + std::to_string(nB) + " " +
                           std::to_string(nC) + " 1.000000e+012");
        elements.push_back("R" + std::to_string(nId++) + " " + std::to_string(nC) + " 0 " +
                           "1.000000e+003");
        nNode = nC;
    }
    return Netlist(elements);
}

class CRunFolder {
public:
    explicit CRunFolder(const std::string& strNetlist) {
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / "kest-bench-XXXXXX").string();
        if (mkdtemp(strTemplate.data()) != nullptr)
            m_strPath = strTemplate;
        std::ofstream(m_strPath + "/" + CEngineProtocol::kNetlistFile, std::ios::binary)
            << strNetlist;
    }
    ~CRunFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_strPath, error);
    }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

bool ReadAll(int fd, unsigned char* p, std::size_t n) {
    while (n > 0) {
        ssize_t nRead = recv(fd, p, n, 0);
        if (nRead <= 0)
            return false;
        p += nRead;
        n -= static_cast<std::size_t>(nRead);
    }
    return true;
}

std::size_t Slurp(const std::string& strPath) {
    char buffer[4096];
    int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t nTotal = 0;
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        nTotal += static_cast<std::size_t>(n);
    close(fd);
    return nTotal;
}

void RoundTrip(benchmark::State& state, const std::string& strNetlist, bool bReadFiles) {
    CRunFolder folder(strNetlist);
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) {
        state.SkipWithError("socketpair");
        return;
    }
    const int nChild = fcntl(sv[1], F_DUPFD_CLOEXEC, 10);
    close(sv[1]);
    const std::string strBin = std::string(KEST_BIN_DIR) + "/" + CEngineProtocol::kProgramName;
    std::vector<std::string> args = {strBin};
    for (const std::string& strArg : CEngineProtocol::EngineArguments(3, folder.Path()))
        args.push_back(strArg);
    args.emplace_back(CEngineProtocol::kFastOption);
    std::vector<char*> argv;
    for (std::string& strArg : args)
        argv.push_back(strArg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, nChild, 3);
    posix_spawn_file_actions_addclosefrom_np(&actions, 4);
    pid_t nPid = -1;
    const int nResult = posix_spawn(&nPid, strBin.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(nChild);
    if (nResult != 0) {
        close(sv[0]);
        state.SkipWithError("cannot start the engine");
        return;
    }
    const std::string strVoltages = folder.Path() + "/" + CEngineProtocol::kVoltageFile;
    const std::string strCurrents = folder.Path() + "/" + CEngineProtocol::kCurrentFile;
    const auto go = CEngineProtocol::EncodeAnswer(CEngineProtocol::kAnswerContinue);
    CEngineProtocol::NotificationBytes note{};
    bool bOk = ReadAll(sv[0], note.data(), note.size()); // start-up is not measured
    std::size_t nBytes = 0;
    for (auto _ : state) {
        if (!bOk)
            break;
        if (bReadFiles)
            nBytes += Slurp(strVoltages) + Slurp(strCurrents);
        bOk = send(sv[0], go.data(), go.size(), MSG_NOSIGNAL) == 4 &&
              ReadAll(sv[0], note.data(), note.size());
    }
    benchmark::DoNotOptimize(nBytes);
    if (!bOk)
        state.SkipWithError("the engine ended early");
    state.SetItemsProcessed(state.iterations());
    const auto stop = CEngineProtocol::EncodeAnswer(CEngineProtocol::kAnswerStop);
    send(sv[0], stop.data(), stop.size(), MSG_NOSIGNAL);
    close(sv[0]);
    waitpid(nPid, nullptr, 0);
}

// Counts the steps and stops the run after a fixed number.
class CCountingSink : public IResultSink {
public:
    bool TakeStep(const SVectorLayout&, const std::vector<double>& values) override {
        benchmark::DoNotOptimize(values.data());
        return ++m_nSteps < m_nLimit;
    }
    long long m_nSteps = 0;
    long long m_nLimit = 0;
};

CSpiceSession& Session() {
    static CSpiceSession session;
    static bool bReady = [] {
        std::string strError;
        return session.Init(false, strError);
    }();
    (void)bReady;
    return session;
}

void NgspiceAlone(benchmark::State& state, const std::string& strNetlist) {
    CNetlistInput netlist;
    std::string strError;
    if (!netlist.SetText(strNetlist, strError)) {
        state.SkipWithError(strError.c_str());
        return;
    }
    CSpiceSession& session = Session();
    CCountingSink sink;
    sink.m_nLimit = 200000;
    session.SetSink(&sink);
    session.SetStepGrid(netlist.StepSeconds(), netlist.StartSeconds());
    long long nSteps = 0;
    for (auto _ : state) {
        sink.m_nSteps = 0;
        if (!session.LoadCircuit(netlist.Lines()) || !session.StartRun()) {
            state.SkipWithError("ngspice refused the netlist");
            break;
        }
        while (!session.Ended() && !session.StopRequested()) {
            pollfd fd = {session.WakeFd(), POLLIN, 0};
            poll(&fd, 1, 100);
            session.ClearWake();
        }
        session.Halt();
        session.RemoveCircuit();
        nSteps += sink.m_nSteps;
    }
    session.SetSink(nullptr);
    state.SetItemsProcessed(nSteps);
}

} // namespace

BENCHMARK_CAPTURE(RoundTrip, WorkedExample, WorkedExample(), false)->UseRealTime();
BENCHMARK_CAPTURE(RoundTrip, WorkedExampleReadingFiles, WorkedExample(), true)->UseRealTime();
BENCHMARK_CAPTURE(RoundTrip, TenMeters, TenMeters(), false)->UseRealTime();
BENCHMARK_CAPTURE(RoundTrip, TenMetersReadingFiles, TenMeters(), true)->UseRealTime();
BENCHMARK_CAPTURE(NgspiceAlone, WorkedExample, WorkedExample())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NgspiceAlone, TenMeters, TenMeters())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

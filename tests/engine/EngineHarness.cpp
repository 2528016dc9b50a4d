#include "EngineHarness.h"

#include "TestSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

const char* const kAmplifier[] = {".subckt AD 13 15 12 16 14",
                                  "*",
                                  "  vos 15  8 dc 0",
                                  "  ec   9  0 14 0 1",
                                  "  c1   6  7 1.25p",
                                  "  rp  16 12 12K",
                                  "  gb  11  0 3 0 1.67K",
                                  "  rd1  6 16 16K",
                                  "  rd2  7 16 16K",
                                  "  iss 12  1 dc 100u",
                                  "  cci  3 11 14p",
                                  "  gcm  0  3 0 1 1.76n",
                                  "  ga   3  0 7 6 176u",
                                  "  re   1  0 2.5Meg",
                                  "  rgm  3  0 2.84K",
                                  "  vc  12  2 dc 2.8",
                                  "  ve  10 16 dc 2.8",
                                  "  ro1 11 14 25",
                                  "  ce   1  0 2p",
                                  "  ro2  0 11 30",
                                  "  rs1  1  4 5.77K",
                                  "  rs2  1  5 5.77K",
                                  "  j1   6 13 4 fet",
                                  "  j2   7  8 5 fet",
                                  "  dc  14  2 diode",
                                  "  de  10 14 diode",
                                  "  dp  16 12 diode",
                                  "  d1   9 11 diode",
                                  "  d2  11  9 diode",
                                  ".model diode d()",
                                  ".model fet pjf(vto=-1 beta=1m)",
                                  ".ends "};

} // namespace

std::string WorkbenchNetlist(const std::vector<std::string>& elements, const std::string& strTran) {
    std::string strText = "\r\nKest-generated Input file\r\n" + strTran;
    for (const std::string& strLine : elements)
        strText += "\r\n" + strLine;
    for (const char* pszLine : kAmplifier)
        strText += std::string("\r\n") + pszLine;
    strText += "\r\n.model D1N3493 D(Is=68.65f Rs=3.786m Ikf=1.774 N=1 Xti=2 Eg=1.11 Cjo=1.457n";
    strText += "\r\n.end";
    return strText;
}

CEngineHarness::CEngineHarness() {
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "kest-engine-XXXXXX").string();
    if (mkdtemp(strTemplate.data()) != nullptr)
        m_strRunFolder = strTemplate;
}

CEngineHarness::~CEngineHarness() {
    if (m_nPid > 0) {
        kill(m_nPid, SIGKILL);
        waitpid(m_nPid, nullptr, 0);
    }
    if (m_nSocketFd >= 0)
        close(m_nSocketFd);
    if (!m_strRunFolder.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_strRunFolder, error);
    }
}

void CEngineHarness::WriteNetlist(const std::string& strText) {
    std::ofstream file(m_strRunFolder + "/kest.cir", std::ios::binary | std::ios::trunc);
    file << strText;
}

bool CEngineHarness::Start(const std::vector<std::string>& options, bool bLeakPeerEnd,
                           const std::vector<std::string>& arguments) {
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return false;
    m_nSocketFd = sv[0];
    // Above every descriptor the child keeps, so that the dup2 below always clears CLOEXEC.
    const int nChildEnd = fcntl(sv[1], F_DUPFD_CLOEXEC, 10);
    close(sv[1]);
    const std::string strBin = kest::test::BinPath("engine").toStdString();
    std::vector<std::string> args = {strBin};
    if (arguments.empty()) {
        for (const std::string& strArg : CEngineProtocol::EngineArguments(3, m_strRunFolder))
            args.push_back(strArg);
    } else {
        args.insert(args.end(), arguments.begin(), arguments.end());
    }
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& strArg : args)
        argv.push_back(strArg.data());
    argv.push_back(nullptr);

    const std::string strLog = m_strRunFolder + "/engine.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, strLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_adddup2(&actions, nChildEnd, 3);
    if (bLeakPeerEnd) {
        posix_spawn_file_actions_adddup2(&actions, m_nSocketFd, 4);
        posix_spawn_file_actions_addclosefrom_np(&actions, 5);
    } else {
        posix_spawn_file_actions_addclosefrom_np(&actions, 4);
    }
    const int nResult =
        posix_spawn(&m_nPid, strBin.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(nChildEnd);
    if (nResult != 0) {
        m_nPid = -1;
        return false;
    }
    return true;
}

CEngineHarness::EStatus CEngineHarness::ReadNotification(SEngineNotification& note,
                                                         int nTimeoutMs) {
    CEngineProtocol::NotificationBytes bytes{};
    std::size_t nHave = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (nHave < bytes.size()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return EStatus::Timeout;
        pollfd fd = {m_nSocketFd, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        ssize_t n = recv(m_nSocketFd, bytes.data() + nHave, bytes.size() - nHave, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return nHave == 0 ? EStatus::EndOfFile : EStatus::Garbage;
        nHave += static_cast<std::size_t>(n);
    }
    note = CEngineProtocol::DecodeNotification(bytes);
    return EStatus::Record;
}

bool CEngineHarness::Answer(int32_t nAnswer) {
    const auto bytes = CEngineProtocol::EncodeAnswer(nAnswer);
    return send(m_nSocketFd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}

void CEngineHarness::CloseSocket() {
    if (m_nSocketFd >= 0)
        close(m_nSocketFd);
    m_nSocketFd = -1;
}

void CEngineHarness::Signal(int nSignal) {
    if (m_nPid > 0)
        kill(m_nPid, nSignal);
}

std::optional<int> CEngineHarness::WaitExit(int nTimeoutMs) {
    if (m_nPid <= 0)
        return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    for (;;) {
        int nStatus = 0;
        pid_t nDone = waitpid(m_nPid, &nStatus, WNOHANG);
        if (nDone == m_nPid) {
            m_nPid = -1;
            if (WIFEXITED(nStatus))
                return WEXITSTATUS(nStatus);
            return 128 + WTERMSIG(nStatus);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(m_nPid, SIGKILL);
            waitpid(m_nPid, nullptr, 0);
            m_nPid = -1;
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string CEngineHarness::ReadRunFile(const char* pszName) const {
    std::ifstream file(m_strRunFolder + "/" + pszName, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string CEngineHarness::Log() const {
    return ReadRunFile("engine.log");
}

bool CEngineHarness::ReadVoltages(SVoltageStep& step) const {
    std::istringstream text(ReadRunFile(CEngineProtocol::kVoltageFile));
    std::string strLine;
    if (!std::getline(text, strLine) ||
        std::sscanf(strLine.c_str(), "time = %le", &step.fTime) != 1)
        return false;
    step.voltages.clear();
    step.order.clear();
    while (std::getline(text, strLine)) {
        int nNode = 0;
        double fVolts = 0.0;
        char cExtra = 0;
        if (std::sscanf(strLine.c_str(), "%d,%le%c", &nNode, &fVolts, &cExtra) != 2)
            return false;
        step.voltages[nNode] = fVolts;
        step.order.push_back(nNode);
    }
    return true;
}

bool CEngineHarness::ReadCurrents(std::vector<std::pair<std::string, double>>& currents) const {
    std::istringstream text(ReadRunFile(CEngineProtocol::kCurrentFile));
    std::string strName;
    std::string strValue;
    currents.clear();
    while (std::getline(text, strName)) {
        if (!std::getline(text, strValue))
            return false;
        char* pEnd = nullptr;
        const double fAmps = std::strtod(strValue.c_str(), &pEnd);
        if (pEnd == strValue.c_str() || *pEnd != '\0')
            return false;
        currents.emplace_back(strName, fAmps);
    }
    return true;
}

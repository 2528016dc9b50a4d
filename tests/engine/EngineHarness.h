#pragma once

#include "EngineProtocol.h"

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The text the workbench writes: a line break (CR LF) before every line, none at the end,
// the amplifier subcircuit and the diode model after the elements.
std::string WorkbenchNetlist(const std::vector<std::string>& elements,
                             const std::string& strTran = ".tran 0.1ms 600s 0 0.1ms");

struct SVoltageStep {
    double fTime = 0.0;
    std::map<int, double> voltages;
    std::vector<int> order; // node numbers in file order
};

// Runs the real engine program the way the workbench does: a private run folder, one end of
// a socket pair inherited as the only descriptor besides the standard streams, stderr kept
// in a log. The destructor kills and reaps a child that is still there.
class CEngineHarness {
public:
    enum class EStatus { Record, EndOfFile, Timeout, Garbage };

    CEngineHarness();
    ~CEngineHarness();
    CEngineHarness(const CEngineHarness&) = delete;
    CEngineHarness& operator=(const CEngineHarness&) = delete;

    const std::string& RunFolder() const { return m_strRunFolder; }
    void WriteNetlist(const std::string& strText);

    // bLeakPeerEnd hands the child a copy of the test's own end as well, as a careless
    // starter would.
    bool Start(const std::vector<std::string>& options = {"--fast"}, bool bLeakPeerEnd = false,
               const std::vector<std::string>& arguments = {});

    EStatus ReadNotification(SEngineNotification& note, int nTimeoutMs = 20000);
    bool Answer(int32_t nAnswer);
    void CloseSocket();
    void Signal(int nSignal);

    // Exit code, or 128 + signal; nullopt when the child did not end in time (it is killed).
    std::optional<int> WaitExit(int nTimeoutMs = 20000);

    pid_t Pid() const { return m_nPid; }
    std::string Log() const;
    bool ReadVoltages(SVoltageStep& step) const;
    // Name and current pairs in file order.
    bool ReadCurrents(std::vector<std::pair<std::string, double>>& currents) const;
    std::string ReadRunFile(const char* pszName) const;

private:
    std::string m_strRunFolder;
    int m_nSocketFd = -1;
    pid_t m_nPid = -1;
};

#pragma once

#include <ngspice/sharedspice.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// Where each value of a data point lies among ngspice's vectors.
struct SVectorLayout {
    int nTimeIndex = -1;
    int nMaxNode = 0;                       // largest n of the V(n) vectors
    std::vector<std::pair<int, int>> nodes; // (node number, vector index), ascending nodes
    std::vector<std::pair<std::string, int>> branches; // "...#branch" vectors, ngspice order
    int nVectors = 0;

    // Built from the names of one data point. Node vectors are "V(n)" with a decimal n;
    // subcircuit nodes ("x6.3") are not nodes of the netlist and are left out.
    void Build(const pvecvalues* pValues, int nCount);
    static bool ParseNodeName(const char* pszName, int& nNode);
};

// Receives every result step of the running analysis, on ngspice's background thread; it may
// block as long as it likes. values[i] is the value of vector i of the layout. False stops
// the run.
class IResultSink {
public:
    virtual ~IResultSink() = default;
    virtual bool TakeStep(const SVectorLayout& layout, const std::vector<double>& values) = 0;
};

// The ngspice shared library, which holds one simulator per process; so there is at most one
// session in a process. The analysis runs on ngspice's background thread; the caller waits
// on WakeFd(), which becomes readable when the run ends or the sink asked to stop.
class CSpiceSession {
public:
    CSpiceSession();
    ~CSpiceSession();
    CSpiceSession(const CSpiceSession&) = delete;
    CSpiceSession& operator=(const CSpiceSession&) = delete;

    bool Init(bool bEcho, std::string& strError);
    // Result steps fall on the multiples of fStep (the .tran line's step) from fStart on,
    // each interpolated linearly between the two time points of the analysis around it.
    // A step of 0 passes every new time point on as it comes.
    void SetStepGrid(double fStep, double fStart);
    void SetSink(IResultSink* pSink) { m_pSink = pSink; }

    // ngspice answers every command with success, even on failure, so failure is read from
    // what it prints.
    bool LoadCircuit(const std::vector<std::string>& lines);
    bool StartRun();
    void RequestStop();
    // Halts a running analysis and waits (boundedly) for the background thread to end.
    void Halt();
    static bool IsRunning();
    // Removes the circuit so that another can be loaded in the same process.
    void RemoveCircuit();

    int WakeFd() const { return m_nWakeFd; }
    void ClearWake();
    bool Ended() const { return m_bEnded.load(); }
    bool StopRequested() const { return m_bStop.load(); }
    bool Failed() const { return m_bFailed.load(); }
    long long Points() const { return m_nPoints.load(); }
    int MaxNode() const { return m_layout.nMaxNode; }
    // What ngspice printed on its error channel, shortened to its first and last lines.
    std::string Reason() const;
    void ClearMessages();

private:
    static int OnChar(char* pszText, int nId, void* pUser);
    static int OnStat(char* pszText, int nId, void* pUser);
    static int OnExit(int nStatus, NG_BOOL bUnload, NG_BOOL bQuit, int nId, void* pUser);
    static int OnData(pvecvaluesall pValues, int nCount, int nId, void* pUser);
    static int OnInitData(pvecinfoall pInfo, int nId, void* pUser);
    static int OnThread(NG_BOOL bNotRunning, int nId, void* pUser);

    void TakeOutput(const char* pszText);
    void Wake();
    void TakePoint(const pvecvaluesall pValues);
    bool Emit(const std::vector<double>& values);

    static constexpr std::size_t kHeadLines = 20;
    static constexpr std::size_t kTailLines = 40;

    IResultSink* m_pSink = nullptr;
    SVectorLayout m_layout;
    double m_fStep = 0.0;
    double m_fStart = 0.0;
    long long m_nNextStep = 0; // index of the next grid time to give
    bool m_bHavePrevious = false;
    std::vector<double> m_previous;
    std::vector<double> m_current;
    std::vector<double> m_step;
    std::atomic<long long> m_nPoints{0};
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bEnded{true};
    std::atomic<bool> m_bFailed{false};
    bool m_bEcho = false;
    int m_nWakeFd = -1;

    mutable std::mutex m_mutex; // guards the messages: ngspice prints from both threads
    std::vector<std::string> m_head;
    std::deque<std::string> m_tail;
    std::size_t m_nDropped = 0;
};

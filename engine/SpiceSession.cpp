#include "SpiceSession.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace {

CSpiceSession* g_pSession = nullptr;

bool IsFailureText(const char* pszText) {
    return std::strstr(pszText, "Error") != nullptr ||
           std::strstr(pszText, "Fatal error") != nullptr ||
           std::strstr(pszText, "circuit not parsed") != nullptr ||
           std::strstr(pszText, "simulation(s) aborted") != nullptr;
}

} // namespace

void SVectorLayout::Build(const pvecvalues* pValues, int nCount) {
    nTimeIndex = -1;
    nMaxNode = 0;
    nodes.clear();
    branches.clear();
    nVectors = nCount;
    for (int i = 0; i < nCount; ++i) {
        const char* pszName = pValues[i]->name;
        if (pszName == nullptr)
            continue;
        int nNode = 0;
        if (pValues[i]->is_scale || std::strcmp(pszName, "time") == 0) {
            if (nTimeIndex < 0)
                nTimeIndex = i;
        } else if (ParseNodeName(pszName, nNode)) {
            nodes.emplace_back(nNode, i);
            if (nNode > nMaxNode)
                nMaxNode = nNode;
        } else if (std::strstr(pszName, "#branch") != nullptr) {
            branches.emplace_back(pszName, i);
        }
    }
    std::sort(nodes.begin(), nodes.end());
}

bool SVectorLayout::ParseNodeName(const char* pszName, int& nNode) {
    if ((pszName[0] != 'V' && pszName[0] != 'v') || pszName[1] != '(')
        return false;
    const char* p = pszName + 2;
    long long nValue = 0;
    int nDigits = 0;
    while (*p >= '0' && *p <= '9') {
        nValue = nValue * 10 + (*p - '0');
        if (++nDigits > 9)
            return false;
        ++p;
    }
    if (nDigits == 0 || p[0] != ')' || p[1] != '\0')
        return false;
    nNode = static_cast<int>(nValue);
    return true;
}

CSpiceSession::CSpiceSession() {
    m_nWakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

CSpiceSession::~CSpiceSession() {
    if (g_pSession == this)
        g_pSession = nullptr;
    if (m_nWakeFd >= 0)
        close(m_nWakeFd);
}

bool CSpiceSession::Init(bool bEcho, std::string& strError) {
    if (m_nWakeFd < 0) {
        strError = "cannot create an event descriptor";
        return false;
    }
    if (g_pSession != nullptr && g_pSession != this) {
        strError = "ngspice is already in use in this process";
        return false;
    }
    g_pSession = this;
    m_bEcho = bEcho;
    ngSpice_Init(OnChar, OnStat, OnExit, OnData, OnInitData, OnThread, this);
    // The banner and any notes of the start-up are not about the circuit.
    ClearMessages();
    m_bFailed = false;
    return true;
}

void CSpiceSession::SetStepGrid(double fStep, double fStart) {
    m_fStep = fStep > 0.0 && std::isfinite(fStep) ? fStep : 0.0;
    m_fStart = fStart > 0.0 && std::isfinite(fStart) ? fStart : 0.0;
}

bool CSpiceSession::LoadCircuit(const std::vector<std::string>& lines) {
    std::vector<std::string> copies(lines);
    std::vector<char*> pointers;
    pointers.reserve(copies.size() + 1);
    for (std::string& strLine : copies)
        pointers.push_back(strLine.data());
    pointers.push_back(nullptr);
    m_bFailed = false;
    ngSpice_Circ(pointers.data());
    return !m_bFailed;
}

bool CSpiceSession::StartRun() {
    m_nPoints = 0;
    m_nNextStep = m_fStep > 0.0 ? static_cast<long long>(std::ceil(m_fStart / m_fStep - 1e-9)) : 0;
    m_bHavePrevious = false;
    m_bStop = false;
    m_bEnded = false;
    m_layout = SVectorLayout();
    char szCommand[] = "bg_run";
    ngSpice_Command(szCommand);
    return !m_bFailed;
}

void CSpiceSession::RequestStop() {
    m_bStop = true;
    Wake();
}

void CSpiceSession::Halt() {
    if (ngSpice_running()) {
        char szCommand[] = "bg_halt";
        ngSpice_Command(szCommand);
    }
    for (int i = 0; i < 200 && ngSpice_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

bool CSpiceSession::IsRunning() {
    return ngSpice_running();
}

void CSpiceSession::RemoveCircuit() {
    char szCommand[] = "remcirc";
    ngSpice_Command(szCommand);
}

void CSpiceSession::ClearWake() {
    uint64_t nValue = 0;
    while (read(m_nWakeFd, &nValue, sizeof nValue) > 0) {
    }
}

void CSpiceSession::Wake() {
    uint64_t nOne = 1;
    while (write(m_nWakeFd, &nOne, sizeof nOne) < 0 && errno == EINTR) {
    }
}

std::string CSpiceSession::Reason() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string strReason;
    for (const std::string& strLine : m_head)
        strReason += strLine + "\n";
    if (m_nDropped > 0)
        strReason += "[" + std::to_string(m_nDropped) + " more lines]\n";
    for (const std::string& strLine : m_tail)
        strReason += strLine + "\n";
    return strReason;
}

void CSpiceSession::ClearMessages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_head.clear();
    m_tail.clear();
    m_nDropped = 0;
}

void CSpiceSession::TakeOutput(const char* pszText) {
    if (m_bEcho)
        std::fprintf(stderr, "%s\n", pszText);
    // ngspice prefixes every text with the stream it meant it for.
    static constexpr char kErrorStream[] = "stderr ";
    const bool bError = std::strncmp(pszText, kErrorStream, sizeof kErrorStream - 1) == 0;
    if (IsFailureText(pszText))
        m_bFailed = true;
    if (!bError)
        return;
    std::string strLine(pszText + sizeof kErrorStream - 1);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_head.size() < kHeadLines) {
        m_head.push_back(std::move(strLine));
        return;
    }
    m_tail.push_back(std::move(strLine));
    if (m_tail.size() > kTailLines) {
        m_tail.pop_front();
        ++m_nDropped;
    }
}

int CSpiceSession::OnChar(char* pszText, int, void* pUser) {
    if (pszText != nullptr)
        static_cast<CSpiceSession*>(pUser)->TakeOutput(pszText);
    return 0;
}

int CSpiceSession::OnStat(char*, int, void*) {
    return 0;
}

int CSpiceSession::OnExit(int, NG_BOOL, NG_BOOL bQuit, int, void* pUser) {
    auto* pSession = static_cast<CSpiceSession*>(pUser);
    if (!bQuit)
        pSession->m_bFailed = true;
    pSession->m_bEnded = true;
    pSession->Wake();
    return 0;
}

int CSpiceSession::OnData(pvecvaluesall pValues, int, int, void* pUser) {
    auto* pSession = static_cast<CSpiceSession*>(pUser);
    if (!pSession->m_bStop && pValues != nullptr && pValues->vecsa != nullptr)
        pSession->TakePoint(pValues);
    return 0;
}

void CSpiceSession::TakePoint(const pvecvaluesall pValues) {
    if (m_layout.nTimeIndex < 0 || m_layout.nVectors != pValues->veccount) {
        m_layout.Build(pValues->vecsa, pValues->veccount);
        m_bHavePrevious = false;
    }
    if (m_layout.nTimeIndex < 0)
        return;
    m_current.resize(static_cast<std::size_t>(pValues->veccount));
    for (int i = 0; i < pValues->veccount; ++i)
        m_current[static_cast<std::size_t>(i)] = pValues->vecsa[i]->creal;
    const auto nTime = static_cast<std::size_t>(m_layout.nTimeIndex);
    const double fTime = m_current[nTime];

    if (m_bHavePrevious && !(fTime > m_previous[nTime])) {
        // The analysis gives its first time several times over; the last values count.
        m_previous.swap(m_current);
        return;
    }
    if (m_fStep <= 0.0) {
        m_previous = m_current;
        m_bHavePrevious = true;
        Emit(m_current);
        return;
    }
    // A grid time this close to a time point is taken as lying on it.
    const double fSlack = m_fStep * 1e-6;
    m_step.resize(m_current.size());
    for (;;) {
        const double fGrid = static_cast<double>(m_nNextStep) * m_fStep;
        if (fGrid > fTime + fSlack || m_bStop)
            break;
        if (!m_bHavePrevious || fGrid >= fTime - fSlack) {
            m_step = m_current;
        } else {
            const double fFrom = m_previous[nTime];
            const double f = std::clamp((fGrid - fFrom) / (fTime - fFrom), 0.0, 1.0);
            for (std::size_t i = 0; i < m_step.size(); ++i)
                m_step[i] = m_previous[i] + f * (m_current[i] - m_previous[i]);
        }
        m_step[nTime] = fGrid;
        ++m_nNextStep;
        if (!Emit(m_step))
            break;
    }
    m_previous.swap(m_current);
    m_bHavePrevious = true;
}

bool CSpiceSession::Emit(const std::vector<double>& values) {
    ++m_nPoints;
    if (m_pSink != nullptr && !m_pSink->TakeStep(m_layout, values)) {
        RequestStop();
        return false;
    }
    return true;
}

int CSpiceSession::OnInitData(pvecinfoall, int, void*) {
    return 0;
}

int CSpiceSession::OnThread(NG_BOOL bNotRunning, int, void* pUser) {
    auto* pSession = static_cast<CSpiceSession*>(pUser);
    if (bNotRunning) {
        pSession->m_bEnded = true;
        pSession->Wake();
    }
    return 0;
}

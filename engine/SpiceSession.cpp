#include "SpiceSession.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
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
            branches.push_back(i);
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
    m_fLastTime = 0.0;
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
    if (pSession->m_bStop || pValues == nullptr || pValues->vecsa == nullptr)
        return 0;
    SVectorLayout& layout = pSession->m_layout;
    if (layout.nTimeIndex < 0 || layout.nVectors != pValues->veccount)
        layout.Build(pValues->vecsa, pValues->veccount);
    if (layout.nTimeIndex < 0)
        return 0;
    // interp repeats the first point several times; one step per distinct time.
    const double fTime = pValues->vecsa[layout.nTimeIndex]->creal;
    if (pSession->m_nPoints > 0 && !(fTime > pSession->m_fLastTime))
        return 0;
    pSession->m_fLastTime = fTime;
    ++pSession->m_nPoints;
    if (pSession->m_pSink != nullptr && !pSession->m_pSink->TakeStep(layout, pValues->vecsa))
        pSession->RequestStop();
    return 0;
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

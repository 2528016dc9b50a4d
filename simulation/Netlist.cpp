#include "Netlist.h"

#include "Component.h"
#include "ComponentList.h"
#include "NetlistText.h"
#include "NumberFormat.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

// Component kinds the netlist treats specially.
constexpr int kInstrument = 1;
constexpr int kAmmeter = 1, kVoltmeter = 2, kOhmmeter = 3, kGalvanometer = 4, kOscilloscope = 5;
constexpr int kSupply = 2;
constexpr int kDcPower = 2, kPowerSupply = 3;
constexpr int kResistor = 3;
constexpr int kProbe = -2;
constexpr int kConnection = 4;
constexpr int kWire = 10, kEarthing = 13;
constexpr int kTransformer = 5;
constexpr int kTransistor = 6;
constexpr int kCapacitor = 7;
constexpr int kDiode = 8, kZener = 5;
constexpr int kInductor = 9;
constexpr int kSource = 10;
constexpr int kSine = 1, kSquare = 2, kTriangle = 3, kAerial = 4;
constexpr int kAmplifier = 11;

// The voltmeter's stand-in resistance, 1e12 as the nearest float.
constexpr float kVoltmeterOhms = 1e12f;
// Series resistance of each transformer winding.
constexpr float kWindingOhms = 0.0005f;

bool IsLamp(int nType, int nSubType) {
    return nType == kResistor && nSubType >= 6 && nSubType <= 9;
}

bool IsLampOrFuse(int nType, int nSubType) {
    return nType == kResistor && nSubType >= 6 && nSubType <= 11;
}

bool IsOscilloscope(const CNetElement& e) {
    return e.m_nType == kInstrument && e.m_nSubType == kOscilloscope;
}

std::string I(int n) {
    return FormatInt(n);
}

std::string F(double f) {
    return FormatFixed(f);
}

std::string E(double f) {
    return FormatExp(f);
}

template <typename Pred> void EraseIf(CNetlist::CElementList& list, Pred pred) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const std::unique_ptr<CNetElement>& p) { return pred(*p); }),
               list.end());
}

std::unique_ptr<CNetElement> MakeElement(int nType, int nSubType, int nId, int nTerminals) {
    auto p = std::make_unique<CNetElement>();
    p->m_nType = nType;
    p->m_nSubType = nSubType;
    p->m_nId = nId;
    p->m_nTerminals = nTerminals;
    return p;
}

// Union-find over the node numbers of one connectivity question: which non-dangling nodes
// hang together through elements.
class CNodeClasses {
public:
    explicit CNodeClasses(int nSize) : m_nParent(std::size_t(nSize)) {
        std::iota(m_nParent.begin(), m_nParent.end(), 0);
    }
    int Find(int n) {
        while (m_nParent[std::size_t(n)] != n) {
            m_nParent[std::size_t(n)] = m_nParent[std::size_t(m_nParent[std::size_t(n)])];
            n = m_nParent[std::size_t(n)];
        }
        return n;
    }
    void Join(int a, int b) {
        a = Find(a);
        b = Find(b);
        if (a != b)
            m_nParent[std::size_t(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<int> m_nParent;
};

} // namespace

CNetlist& Netlist() {
    static CNetlist netlist;
    return netlist;
}

void CNetlist::Clear() {
    m_elementList.clear();
    m_instrumentList.clear();
    m_transformerList.clear();
    m_nEarthNode = -1;
    m_nNodes = 0;
    m_nInternalNode = 0;
    m_nNodeLimit = 1;
    m_bBuilt = false;
    m_bDangling.clear();
    m_nParent.clear();
    m_nLabel.clear();
}

void CNetlist::BuildElementList(CVonnDoc& doc) {
    Clear();
    for (CComponent* pComp : *doc.m_pComponents) {
        std::fill(std::begin(pComp->m_nNode), std::end(pComp->m_nNode), -1);
        pComp->m_nIndex = -1;
    }

    int a = 1;
    int nId = 0;
    for (const CWire* pWire : *doc.m_pWires) {
        // A wire that lost an end is no longer part of the circuit.
        if (!pWire->IsComplete())
            continue;
        CComponent* pA = pWire->m_pCompA;
        CComponent* pB = pWire->m_pCompB;
        if (pWire->m_nTermA < 0 || pWire->m_nTermA >= std::min(pA->m_nTerminals, 7) ||
            pWire->m_nTermB < 0 || pWire->m_nTermB >= std::min(pB->m_nTerminals, 7))
            continue;
        auto p = MakeElement(kConnection, kWire, nId++, 2);
        p->m_nNode[0] = a;
        p->m_nNode[1] = a + 1;
        pA->m_nNode[pWire->m_nTermA] = a;
        pB->m_nNode[pWire->m_nTermB] = a + 1;
        a += 2;
        m_elementList.push_back(std::move(p));
    }

    for (CComponent* pComp : *doc.m_pComponents) {
        const int nTerminals = std::min(pComp->m_nTerminals, CComponent::kMaxTerminals);
        // A kind the catalogue does not know has no terminals and takes no part.
        if (pComp->IsInert() || nTerminals <= 0)
            continue;
        if (IsLampOrFuse(pComp->m_nType, pComp->m_nSubType) && TruncChoice(pComp->m_fValue[2]) == 2)
            continue;
        if (nTerminals == 1 && pComp->m_nNode[0] == -1)
            continue;
        auto p = MakeElement(pComp->m_nType, pComp->m_nSubType, nId++, nTerminals);
        std::copy(std::begin(pComp->m_fValue), std::end(pComp->m_fValue), p->m_fValue);
        for (int i = 0; i < nTerminals; ++i)
            p->m_nNode[i] = pComp->m_nNode[i] != -1 ? pComp->m_nNode[i] : a++;
        pComp->m_nIndex = p->m_nId;
        m_elementList.push_back(std::move(p));
    }

    // Every further earth is tied to the first, so that all earths become one node.
    const CComponent* pFirstEarth = nullptr;
    for (const CComponent* pComp : *doc.m_pComponents) {
        if (pComp->m_nType != kConnection || pComp->m_nSubType != kEarthing ||
            pComp->m_nTerminals < 1 || pComp->m_nNode[0] == -1)
            continue;
        if (!pFirstEarth) {
            pFirstEarth = pComp;
            continue;
        }
        auto p = MakeElement(kConnection, kWire, nId++, 2);
        p->m_nNode[0] = pFirstEarth->m_nNode[0];
        p->m_nNode[1] = pComp->m_nNode[0];
        m_elementList.push_back(std::move(p));
    }
    m_nNodeLimit = a;
}

int CNetlist::FindNode(int nNode) {
    while (m_nParent[std::size_t(nNode)] != nNode) {
        int& nParent = m_nParent[std::size_t(nNode)];
        nParent = m_nParent[std::size_t(nParent)];
        nNode = nParent;
    }
    return nNode;
}

int CNetlist::CurrentNode(int nNode) {
    if (nNode < 1 || nNode >= m_nNodeLimit)
        return nNode;
    return m_nLabel[std::size_t(FindNode(nNode))];
}

void CNetlist::MergeNodes(const int* pNodes, int nCount) {
    if (nCount < 2)
        return;
    // Merging rewrites every terminal on pNodes[1..] to pNodes[0]. Keeping classes with the
    // number their terminals carry gives the same numbers as rewriting every element, at
    // near-constant cost per merge.
    const int nFirst = pNodes[0];
    if (nFirst < 1 || nFirst >= m_nNodeLimit)
        return;
    int nRoot = FindNode(nFirst);
    for (int k = 1; k < nCount; ++k) {
        if (pNodes[k] < 1 || pNodes[k] >= m_nNodeLimit)
            continue;
        const int nOther = FindNode(pNodes[k]);
        if (nOther == nRoot)
            continue;
        m_nParent[std::size_t(nOther)] = nRoot;
    }
    m_nLabel[std::size_t(nRoot)] = nFirst;
}

void CNetlist::MergeConnections() {
    m_nParent.resize(std::size_t(m_nNodeLimit));
    std::iota(m_nParent.begin(), m_nParent.end(), 0);
    m_nLabel = m_nParent;

    for (const auto& p : m_elementList) {
        const CNetElement& e = *p;
        if (e.m_nType != kConnection || e.m_nSubType == kEarthing)
            continue;
        const int nPosition = TruncChoice(e.m_fValue[0]);
        // Nodes of terminals counted from 1, as the switch rules name them.
        auto T = [&](int t) { return t <= e.m_nTerminals ? CurrentNode(e.m_nNode[t - 1]) : 0; };
        auto MergePair = [&](int t1, int t2) {
            if (t1 > e.m_nTerminals || t2 > e.m_nTerminals)
                return;
            const int nodes[2] = {T(t1), T(t2)};
            MergeNodes(nodes, 2);
        };
        auto MergeAll = [&]() {
            int nodes[CNetElement::kMaxNodes];
            for (int t = 1; t <= e.m_nTerminals; ++t)
                nodes[t - 1] = T(t);
            MergeNodes(nodes, e.m_nTerminals);
        };
        switch (e.m_nSubType) {
        case 1:
        case 6:
        case 9:
            if (nPosition == 1)
                MergeAll();
            break;
        case 7:
            if (nPosition == 0)
                MergeAll();
            break;
        case 2:
            if (nPosition == 1)
                MergePair(1, 3);
            else
                MergePair(1, 2);
            break;
        case 3:
            if (nPosition == 1) {
                MergePair(1, 3);
                MergePair(2, 4);
            }
            break;
        case 4:
            if (nPosition == 1) {
                MergePair(5, 3);
                MergePair(6, 4);
            } else {
                MergePair(5, 1);
                MergePair(6, 2);
            }
            break;
        case 5:
        case 8:
        case 10:
        case 11:
        case 12:
            MergeAll();
            break;
        default:
            break;
        }
    }

    EraseIf(m_elementList, [](const CNetElement& e) {
        return e.m_nType == kConnection && e.m_nSubType != kEarthing;
    });
    for (const auto& p : m_elementList)
        for (int i = 0; i < p->m_nTerminals; ++i)
            p->m_nNode[i] = CurrentNode(p->m_nNode[i]);
    m_nParent.clear();
    m_nParent.shrink_to_fit();
    m_nLabel.clear();
    m_nLabel.shrink_to_fit();
}

void CNetlist::RemoveEarthing() {
    m_nEarthNode = -1;
    for (const auto& p : m_elementList)
        if (p->m_nType == kConnection && p->m_nSubType == kEarthing)
            m_nEarthNode = p->m_nNode[0];
    EraseIf(m_elementList, [](const CNetElement& e) {
        return e.m_nType == kConnection && e.m_nSubType == kEarthing;
    });
}

void CNetlist::RemoveEarthlessKinds() {
    const bool bEarth = m_nEarthNode != -1;
    EraseIf(m_elementList, [&](CNetElement& e) {
        if (e.m_nType == kAmplifier && e.m_nSubType == 1)
            return !bEarth;
        if ((e.m_nType == kSource && e.m_nSubType == kAerial) ||
            (e.m_nType == kSupply && e.m_nSubType == kDcPower)) {
            if (!bEarth)
                return true;
            e.m_nTerminals = 2;
            e.m_nNode[1] = m_nEarthNode;
        }
        return false;
    });
}

void CNetlist::RemoveShortedElements() {
    EraseIf(m_elementList, [](const CNetElement& e) {
        if (e.m_nType == kTransformer || e.m_nType == kTransistor)
            return false;
        // An element with a single terminal could carry no current either.
        return e.m_nTerminals < 2 || e.m_nNode[0] == e.m_nNode[1];
    });
}

void CNetlist::CheckEarthSurvives() {
    // An earth wired only to parts that were left out names a node no element has any more;
    // renumbering would not map it, so the circuit counts as one without earth.
    if (m_nEarthNode == -1)
        return;
    for (const auto& p : m_elementList)
        for (int i = 0; i < p->m_nTerminals; ++i)
            if (p->m_nNode[i] == m_nEarthNode)
                return;
    m_nEarthNode = -1;
}

int CNetlist::RenumberNodes() {
    std::vector<int> nodes;
    for (const auto& p : m_elementList)
        for (int i = 0; i < p->m_nTerminals; ++i)
            nodes.push_back(p->m_nNode[i]);
    std::sort(nodes.begin(), nodes.end());
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    auto NewNumber = [&](int nOld) {
        return int(std::lower_bound(nodes.begin(), nodes.end(), nOld) - nodes.begin()) + 1;
    };
    for (const auto& p : m_elementList)
        for (int i = 0; i < p->m_nTerminals; ++i)
            p->m_nNode[i] = NewNumber(p->m_nNode[i]);
    if (m_nEarthNode != -1 && std::binary_search(nodes.begin(), nodes.end(), m_nEarthNode))
        m_nEarthNode = NewNumber(m_nEarthNode);
    return int(nodes.size());
}

void CNetlist::SplitTransformers() {
    CElementList halves;
    EraseIf(m_elementList, [&](CNetElement& e) {
        if (e.m_nType != kTransformer)
            return false;
        const int nSub = e.m_nSubType;
        auto pPrimary = MakeElement(kInductor, -1, -1, 2);
        pPrimary->m_nNode[0] = e.m_nNode[0];
        pPrimary->m_nNode[1] = e.m_nNode[1];
        pPrimary->m_fValue[0] = 1.0f;
        std::snprintf(pPrimary->m_szName, sizeof pPrimary->m_szName, "L%dK1", e.m_nId);
        const bool bOutOfPhase = nSub == 3 || nSub == 6 || nSub == 9;
        auto pSecondary = MakeElement(kInductor, bOutOfPhase ? 1 : 0, -1, 2);
        pSecondary->m_nNode[0] = e.m_nNode[2];
        pSecondary->m_nNode[1] = e.m_nNode[3];
        const float fRatio = e.m_fValue[1] / e.m_fValue[0];
        pSecondary->m_fValue[0] = fRatio * fRatio;
        std::snprintf(pSecondary->m_szName, sizeof pSecondary->m_szName, "L%dK2", e.m_nId);
        halves.push_back(std::move(pPrimary));
        halves.push_back(std::move(pSecondary));
        m_transformerList.push_back(std::make_unique<CNetElement>(e));
        return true;
    });
    for (auto& p : halves)
        m_elementList.push_back(std::move(p));
}

void CNetlist::ReplaceInstruments() {
    CElementList substitutes;
    EraseIf(m_elementList, [&](CNetElement& e) {
        if (e.m_nType != kInstrument)
            return false;
        auto MakeSubstitute = [&](int nType, int nSubType, float fValue) {
            auto p = MakeElement(nType, nSubType, e.m_nId, e.m_nTerminals);
            std::copy(std::begin(e.m_nNode), std::end(e.m_nNode), p->m_nNode);
            p->m_fValue[0] = fValue;
            substitutes.push_back(std::move(p));
        };
        switch (e.m_nSubType) {
        case kAmmeter:
        case kGalvanometer:
            MakeSubstitute(kSupply, 1, 0.0f);
            break;
        case kVoltmeter:
            MakeSubstitute(kResistor, 1, kVoltmeterOhms);
            break;
        case kOhmmeter:
            MakeSubstitute(kSupply, 1, 1.0f);
            break;
        case kOscilloscope:
            for (int nPair = 0; nPair < 2; ++nPair) {
                auto p = MakeElement(kResistor, kProbe, 0, 2);
                p->m_nNode[0] = e.m_nNode[2 * nPair];
                p->m_nNode[1] = e.m_nNode[2 * nPair + 1];
                substitutes.push_back(std::move(p));
            }
            break;
        default:
            break;
        }
        m_instrumentList.push_back(std::make_unique<CNetElement>(e));
        return true;
    });
    for (auto& p : substitutes)
        m_elementList.push_back(std::move(p));
}

void CNetlist::MarkDanglingNodes() {
    // A node is dangling when fewer than two terminals reach it from elements that touch no
    // dangling node. Flags only ever get added, so working through the nodes whose count
    // drops below two reaches the same set as repeated passes over all nodes.
    const std::size_t nSize = std::size_t(m_nNodes) + 1;
    m_bDangling.assign(nSize, 0);
    std::vector<int> nCount(nSize, 0);
    for (const auto& p : m_elementList)
        for (int i = 0; i < p->m_nTerminals; ++i)
            ++nCount[std::size_t(p->m_nNode[i])];
    // Elements by node, CSR style: the elements of node n are at nStart[n]..nStart[n+1].
    std::vector<int> nStart(nSize + 1, 0);
    for (std::size_t n = 0; n < nSize; ++n)
        nStart[n + 1] = nStart[n] + nCount[n];
    std::vector<int> nAt(nStart.begin(), nStart.end() - 1);
    std::vector<int> nElementOf(std::size_t(nStart[nSize]));
    for (std::size_t k = 0; k < m_elementList.size(); ++k) {
        const CNetElement& e = *m_elementList[k];
        for (int i = 0; i < e.m_nTerminals; ++i)
            nElementOf[std::size_t(nAt[std::size_t(e.m_nNode[i])]++)] = int(k);
    }

    std::vector<char> bCounted(m_elementList.size(), 1);
    std::vector<int> work;
    for (int n = 1; n <= m_nNodes; ++n)
        if (nCount[std::size_t(n)] < 2)
            work.push_back(n);
    while (!work.empty()) {
        const int n = work.back();
        work.pop_back();
        if (m_bDangling[std::size_t(n)])
            continue;
        m_bDangling[std::size_t(n)] = 1;
        for (int j = nStart[std::size_t(n)]; j < nStart[std::size_t(n) + 1]; ++j) {
            const std::size_t k = std::size_t(nElementOf[std::size_t(j)]);
            if (!bCounted[k])
                continue;
            bCounted[k] = 0;
            const CNetElement& e = *m_elementList[k];
            for (int i = 0; i < e.m_nTerminals; ++i) {
                const std::size_t m = std::size_t(e.m_nNode[i]);
                if (--nCount[m] < 2 && !m_bDangling[m] && m >= 1)
                    work.push_back(int(m));
            }
        }
    }

    EraseIf(m_elementList, [](const CNetElement& e) { return e.m_nSubType == kProbe; });
    for (const auto& p : m_instrumentList) {
        CNetElement& e = *p;
        const bool bInput1 =
            e.m_nTerminals >= 2 && !IsDangling(e.m_nNode[0]) && !IsDangling(e.m_nNode[1]);
        e.m_fValue[2] = bInput1 ? 0.0f : kNoValue;
        const bool bInput2 =
            e.m_nTerminals >= 4 && !IsDangling(e.m_nNode[2]) && !IsDangling(e.m_nNode[3]);
        e.m_fValue[3] = IsOscilloscope(e) && !bInput2 ? kNoValue : 0.0f;
    }
}

int CNetlist::BuildNetlist(const QString& strCirPath) {
    std::string text;
    if (BuildNetlistText(&text) != 1)
        return -1;
    // Written aside and renamed into place, so a failed write leaves no partial netlist.
    QSaveFile file(strCirPath);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        file.cancelWriting();
        return -1;
    }
    return file.commit() ? 1 : -1;
}

int CNetlist::BuildNetlist(QByteArray* pBytes) {
    std::string text;
    const int nResult = BuildNetlistText(&text);
    *pBytes = nResult == 1 ? QByteArray(text.data(), qsizetype(text.size())) : QByteArray();
    return nResult;
}

int CNetlist::BuildNetlistText(std::string* pText) {
    // The steps below consume the element list; a second pass over it would find nothing of
    // what BuildElementList made.
    if (m_bBuilt)
        return -1;
    m_bBuilt = true;
    MergeConnections();
    RemoveEarthing();
    RemoveEarthlessKinds();
    RemoveShortedElements();
    CheckEarthSurvives();
    m_nNodes = RenumberNodes();
    SplitTransformers();
    ReplaceInstruments();
    MarkDanglingNodes();
    const int nResult = WriteNetlist(*pText);
    m_transformerList.clear();
    m_bDangling.clear();
    m_bDangling.shrink_to_fit();
    return nResult;
}

int CNetlist::WriteNetlist(std::string& out) {
    m_nInternalNode = m_nNodes;
    const std::size_t nSize = std::size_t(m_nNodes) + 1;

    // Sub-circuits: non-dangling nodes joined by any element that has terminals on both,
    // numbered in the order of their smallest node.
    CNodeClasses classes{int(nSize)};
    for (const auto& p : m_elementList) {
        int nFirst = -1;
        for (int i = 0; i < p->m_nTerminals; ++i) {
            const int n = p->m_nNode[i];
            if (IsDangling(n))
                continue;
            if (nFirst == -1)
                nFirst = n;
            else
                classes.Join(nFirst, n);
        }
    }
    std::vector<int> nSubOfRoot(nSize, -1);
    std::vector<int> nSub(nSize, -1);
    std::vector<int> nSmallest;
    for (int n = 1; n <= m_nNodes; ++n) {
        if (IsDangling(n))
            continue;
        int& k = nSubOfRoot[std::size_t(classes.Find(n))];
        if (k == -1) {
            k = int(nSmallest.size());
            nSmallest.push_back(n);
        }
        nSub[std::size_t(n)] = k;
    }
    if (nSmallest.empty())
        return -1;

    auto SubOf = [&](const CNetElement& e, int nFrom, int nTo) {
        int k = -1;
        for (int i = nFrom; i < nTo; ++i) {
            const int n = e.m_nNode[i];
            if (n < 1 || n > m_nNodes || IsDangling(n))
                return -1;
            if (k == -1)
                k = nSub[std::size_t(n)];
            else if (k != nSub[std::size_t(n)])
                return -1;
        }
        return k;
    };
    std::vector<std::vector<CNetElement*>> elements(nSmallest.size());
    for (const auto& p : m_elementList) {
        const int k = SubOf(*p, 0, p->m_nTerminals);
        if (k != -1)
            elements[std::size_t(k)].push_back(p.get());
    }
    std::vector<std::vector<std::pair<CNetElement*, int>>> channels(nSmallest.size());
    for (const auto& p : m_instrumentList) {
        if (!IsOscilloscope(*p) || p->m_nTerminals < 4)
            continue;
        for (int nChannel = 0; nChannel < 2; ++nChannel) {
            if (IsNoValue(p->m_fValue[2 + nChannel]))
                continue;
            const int k = SubOf(*p, 2 * nChannel, 2 * nChannel + 2);
            if (k != -1)
                channels[std::size_t(k)].emplace_back(p.get(), nChannel);
        }
    }

    AppendLine(out, {"Kest-generated Input file"});
    AppendLine(out, {".tran 0.1ms 600s 0 0.1ms"});
    for (std::size_t k = 0; k < nSmallest.size(); ++k) {
        const bool bFirst = k == 0;
        if (!bFirst) {
            AppendLine(out, {"******** Another circuit : connected by a single resist"});
            AppendLine(out, {"Ra", I(int(k)), " 0 ", I(nSmallest[k]), " ", F(0.123)});
        }
        const bool bEarthHere = m_nEarthNode != -1 && !IsDangling(m_nEarthNode) &&
                                m_nEarthNode >= 1 && m_nEarthNode <= m_nNodes &&
                                nSub[std::size_t(m_nEarthNode)] == int(k);
        WriteSubcircuit(out, elements[k], channels[k], bEarthHere ? m_nEarthNode : nSmallest[k],
                        bFirst);
    }

    for (const auto& p : m_transformerList) {
        const CNetElement& e = *p;
        bool bConnected = e.m_nTerminals >= 4;
        for (int i = 0; i < 4 && bConnected; ++i)
            bConnected = e.m_nNode[i] >= 1 && e.m_nNode[i] <= m_nNodes && !IsDangling(e.m_nNode[i]);
        if (bConnected)
            AppendLine(out, {"K", I(e.m_nId), " L", I(e.m_nId), "K1 L", I(e.m_nId), "K2 ",
                             F(e.m_fValue[2])});
    }
    AppendTrailer(out);
    return 1;
}

void CNetlist::WriteSubcircuit(std::string& out, const std::vector<CNetElement*>& elements,
                               const std::vector<std::pair<CNetElement*, int>>& channels, int nRef,
                               bool bFirst) {
    // Only the first sub-circuit has node 0: its reference. The others keep their numbers
    // and hang on node 0 through their "Ra" resistor.
    auto Ground = [&](CNetElement& e) {
        for (int i = 0; i < e.m_nTerminals; ++i)
            if (e.m_nNode[i] == nRef)
                e.m_nNode[i] = 0;
    };
    for (CNetElement* p : elements) {
        if (bFirst)
            Ground(*p);
        WriteElement(out, *p);
    }
    if (bFirst)
        for (const auto& p : m_instrumentList)
            Ground(*p);
    for (const auto& [p, nChannel] : channels) {
        const int a = p->m_nNode[2 * nChannel];
        const int b = p->m_nNode[2 * nChannel + 1];
        AppendLine(out,
                   {nChannel == 0 ? "R1O" : "R2O", I(p->m_nId), " ", I(a), " ", I(b), " 1e12"});
    }
}

void CNetlist::WriteElement(std::string& out, const CNetElement& e) {
    const std::string strId = I(e.m_nId);
    const std::string T1 = I(e.m_nNode[0]);
    const std::string T2 = I(e.m_nNode[1]);
    const std::string T3 = I(e.m_nNode[2]);
    const float* v = e.m_fValue;
    auto Generator = [&](int nWave, float fPeak, float f) {
        switch (nWave) {
        case kSine:
            AppendLine(out, {"V", strId, " ", T1, " ", T2, " SIN(0 ", F(fPeak), " ", F(f), ")"});
            break;
        case kSquare:
            AppendLine(out, {"V", strId, " ", T1, " ", T2, " PULSE(", F(fPeak), " 0 0 0 0 ",
                             F(1 / (2 * f)), "s ", F(1 / f), "s)"});
            break;
        case kTriangle:
            AppendLine(out,
                       {"V", strId, " ", T1, " ", T2, " PULSE(0 ", F(fPeak), " 0 ", F(1 / (2 * f)),
                        "s ", F(0.99 / double(2 * f)), "s 1ns ", F(1 / f), "s)"});
            break;
        default:
            break;
        }
    };

    switch (e.m_nType) {
    case kSupply:
        if (e.m_nSubType == kPowerSupply)
            AppendLine(out, {"V", strId, " ", T1, " ", T2, " SIN(0 ", F(v[0]), " ", F(v[1]), ")"});
        else
            AppendLine(out, {"V", strId, " ", T1, " ", T2, " ", F(v[0])});
        break;
    case kResistor:
        if (IsLamp(e.m_nType, e.m_nSubType))
            AppendLine(out, {"R", strId, " ", T1, " ", T2, " ", E(v[1] * v[1] / v[0])});
        else
            AppendLine(out, {"R", strId, " ", T1, " ", T2, " ", E(v[0])});
        break;
    case kTransistor: {
        const int nSub = e.m_nSubType;
        if (nSub == 1 || nSub == 2) {
            AppendLine(out, {"Q", strId, " ", T2, " ", T1, " ", T3, " QMOD", strId});
            AppendLine(out, {".model QMOD", strId, " ", nSub == 1 ? "NPN" : "PNP", "(BF=", F(v[0]),
                             " rb=100 tf=0.1ns cdc=2pf)"});
        } else if (nSub == 3 || nSub == 4) {
            AppendLine(out, {"J", strId, " ", T2, " ", T1, " ", T3, " JMOD", strId});
            AppendLine(
                out, {".model JMOD", strId, " ", nSub == 3 ? "NJF" : "PJF", "(BF=", F(v[0]), ")"});
        } else if (nSub >= 5 && nSub <= 8) {
            AppendLine(out, {"M", strId, " ", T2, " ", T1, " ", T3, " 0 MMOD", strId});
            AppendLine(out, {".model MMOD", strId, " ", nSub == 5 || nSub == 7 ? "NMOS" : "PMOS",
                             "(BF=", F(v[0]), ")"});
        }
        break;
    }
    case kCapacitor:
        AppendLine(out, {"C", strId, " ", T1, " ", T2, " ", E(double(v[0]) * 1e-6)});
        break;
    case kDiode:
        if (e.m_nSubType == kZener) {
            const int z = TruncChoice(v[0]);
            AppendLine(out, {"D", strId, " ", T1, " ", T2, " ", ZenerModelName(z)});
            AppendZenerModel(out, z);
        } else {
            AppendLine(out, {"D", strId, " ", T1, " ", T2, " D1N3493 OFF"});
        }
        break;
    case kInductor:
        if (e.m_nId != -1) {
            AppendLine(out, {"L", strId, " ", T1, " ", T2, " ", E(double(v[0]) * 0.001)});
        } else {
            const int B = m_nInternalNode;
            const bool bPrimary = e.m_nSubType == -1;
            const char* szR1 = bPrimary ? "R11" : "R21";
            const char* szR2 = bPrimary ? "R12" : "R22";
            const bool bSwapped = e.m_nSubType == 1;
            AppendLine(out, {e.m_szName, " ", I(bSwapped ? B + 2 : B + 1), " ",
                             I(bSwapped ? B + 1 : B + 2), " ", F(v[0])});
            AppendLine(out, {szR1, e.m_szName, " ", I(B + 1), " ", T1, " ", F(kWindingOhms)});
            AppendLine(out, {szR2, e.m_szName, " ", I(B + 2), " ", T2, " ", F(kWindingOhms)});
            m_nInternalNode += 2;
        }
        break;
    case kSource:
        if (e.m_nSubType == kAerial) {
            // An aerial is a generator of its chosen wave against earth; a wave index
            // outside the three choices takes the nearest one.
            const int nWave = std::clamp(TruncChoice(v[0]), 0, 2) + 1;
            Generator(nWave, float(double(v[1]) * 0.001), v[2]);
        } else {
            Generator(e.m_nSubType, v[0], v[1]);
        }
        break;
    case kAmplifier: {
        const int B = m_nInternalNode;
        AppendLine(out, {"Va", strId, "p ", I(B + 2), " 0 15"});
        AppendLine(out, {"Va", strId, "n ", I(B + 3), " 0 -15"});
        AppendLine(out,
                   {"X", strId, " ", T2, " ", T1, " ", I(B + 2), " ", I(B + 3), " ", T3, " AD"});
        m_nInternalNode += 4;
        break;
    }
    default:
        break;
    }
}

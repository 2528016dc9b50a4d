// The netlist builder against a plain, step-by-step rendering of the algorithm: rewriting
// every element on each merge, repeated passes for dangling nodes, a dense adjacency
// matrix and ordered node sets. Both must give the same text, lists and node numbers on
// many random circuits.

#include "Component.h"
#include "ComponentList.h"
#include "Netlist.h"
#include "NetlistText.h"
#include "NumberFormat.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct SRefElement {
    int nType = 0, nSubType = 0, nId = 0;
    std::string strName;
    int nTerminals = 0;
    int nNode[8] = {};
    float fValue[4] = {};
};
using RefList = std::vector<SRefElement>;

std::string Fmt(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* szFormat, ...) {
    char buffer[512];
    va_list args;
    va_start(args, szFormat);
    std::vsnprintf(buffer, sizeof buffer, szFormat, args);
    va_end(args);
    return "\r\n" + std::string(buffer);
}

class CReferenceNetlist {
public:
    RefList m_elements, m_instruments, m_transformers;
    int m_nEarth = -1, m_nN = 0, m_nB = 0;
    std::vector<int> m_dangling;
    std::string m_text;

    void BuildElementList(CVonnDoc& doc) {
        for (CComponent* pComp : *doc.m_pComponents) {
            for (int& n : pComp->m_nNode)
                n = -1;
            pComp->m_nIndex = -1;
        }
        int a = 1, nId = 0;
        for (CWire* pWire : *doc.m_pWires) {
            if (!pWire->IsComplete())
                continue;
            SRefElement e{4, 10, nId++, {}, 2, {a, a + 1}, {}};
            pWire->m_pCompA->m_nNode[pWire->m_nTermA] = a;
            pWire->m_pCompB->m_nNode[pWire->m_nTermB] = a + 1;
            a += 2;
            m_elements.push_back(e);
        }
        for (CComponent* pComp : *doc.m_pComponents) {
            if (pComp->IsInert() || pComp->m_nTerminals <= 0)
                continue;
            if (pComp->m_nType == 3 && pComp->m_nSubType >= 6 && pComp->m_nSubType <= 11 &&
                TruncChoice(pComp->m_fValue[2]) == 2)
                continue;
            if (pComp->m_nTerminals == 1 && pComp->m_nNode[0] == -1)
                continue;
            SRefElement e{
                pComp->m_nType, pComp->m_nSubType, nId++, {}, pComp->m_nTerminals, {}, {}};
            std::memcpy(e.fValue, pComp->m_fValue, sizeof e.fValue);
            for (int i = 0; i < e.nTerminals; ++i)
                e.nNode[i] = pComp->m_nNode[i] != -1 ? pComp->m_nNode[i] : a++;
            pComp->m_nIndex = e.nId;
            m_elements.push_back(e);
        }
        const CComponent* pFirst = nullptr;
        for (const CComponent* pComp : *doc.m_pComponents) {
            if (pComp->m_nType != 4 || pComp->m_nSubType != 13 || pComp->m_nNode[0] == -1)
                continue;
            if (!pFirst) {
                pFirst = pComp;
                continue;
            }
            m_elements.push_back(
                {4, 10, nId++, {}, 2, {pFirst->m_nNode[0], pComp->m_nNode[0]}, {}});
        }
    }

    static void MergeNodes(RefList& list, const std::vector<int>& nodes) {
        if (nodes.size() < 2)
            return;
        for (SRefElement& e : list)
            for (int t = 0; t < e.nTerminals; ++t)
                for (std::size_t k = 1; k < nodes.size(); ++k)
                    if (e.nNode[t] == nodes[k]) {
                        e.nNode[t] = nodes[0];
                        break;
                    }
    }

    int BuildNetlist() {
        for (std::size_t i = 0; i < m_elements.size();) {
            if (m_elements[i].nType != 4 || m_elements[i].nSubType == 13) {
                ++i;
                continue;
            }
            const int nPos = TruncChoice(m_elements[i].fValue[0]);
            auto All = [&] {
                std::vector<int> nodes;
                for (int t = 0; t < m_elements[i].nTerminals; ++t)
                    nodes.push_back(m_elements[i].nNode[t]);
                MergeNodes(m_elements, nodes);
            };
            auto Pair = [&](int a, int b) {
                MergeNodes(m_elements, {m_elements[i].nNode[a - 1], m_elements[i].nNode[b - 1]});
            };
            switch (m_elements[i].nSubType) {
            case 1:
            case 6:
            case 9:
                if (nPos == 1)
                    All();
                break;
            case 7:
                if (nPos == 0)
                    All();
                break;
            case 2:
                nPos == 1 ? Pair(1, 3) : Pair(1, 2);
                break;
            case 3:
                if (nPos == 1) {
                    Pair(1, 3);
                    Pair(2, 4);
                }
                break;
            case 4:
                if (nPos == 1) {
                    Pair(5, 3);
                    Pair(6, 4);
                } else {
                    Pair(5, 1);
                    Pair(6, 2);
                }
                break;
            case 5:
            case 8:
            case 10:
            case 11:
            case 12:
                All();
                break;
            }
            m_elements.erase(m_elements.begin() + long(i));
        }
        m_nEarth = -1;
        for (std::size_t i = 0; i < m_elements.size();) {
            if (m_elements[i].nType == 4 && m_elements[i].nSubType == 13) {
                m_nEarth = m_elements[i].nNode[0];
                m_elements.erase(m_elements.begin() + long(i));
            } else {
                ++i;
            }
        }
        for (std::size_t i = 0; i < m_elements.size();) {
            SRefElement& e = m_elements[i];
            const bool bNeedsEarth = (e.nType == 11 && e.nSubType == 1) ||
                                     (e.nType == 10 && e.nSubType == 4) ||
                                     (e.nType == 2 && e.nSubType == 2);
            if (bNeedsEarth && m_nEarth == -1) {
                m_elements.erase(m_elements.begin() + long(i));
                continue;
            }
            if (bNeedsEarth && e.nType != 11) {
                e.nTerminals = 2;
                e.nNode[1] = m_nEarth;
            }
            ++i;
        }
        for (std::size_t i = 0; i < m_elements.size();) {
            const SRefElement& e = m_elements[i];
            if (e.nType != 5 && e.nType != 6 && (e.nTerminals < 2 || e.nNode[0] == e.nNode[1]))
                m_elements.erase(m_elements.begin() + long(i));
            else
                ++i;
        }
        bool bEarthUsed = false;
        for (const SRefElement& e : m_elements)
            for (int t = 0; t < e.nTerminals; ++t)
                bEarthUsed = bEarthUsed || e.nNode[t] == m_nEarth;
        if (!bEarthUsed)
            m_nEarth = -1;

        std::vector<int> old;
        for (const SRefElement& e : m_elements)
            for (int t = 0; t < e.nTerminals; ++t)
                if (std::find(old.begin(), old.end(), e.nNode[t]) == old.end())
                    old.push_back(e.nNode[t]);
        std::sort(old.begin(), old.end());
        auto New = [&](int n) {
            return int(std::find(old.begin(), old.end(), n) - old.begin()) + 1;
        };
        for (SRefElement& e : m_elements)
            for (int t = 0; t < e.nTerminals; ++t)
                e.nNode[t] = New(e.nNode[t]);
        if (m_nEarth != -1)
            m_nEarth = New(m_nEarth);
        m_nN = int(old.size());

        for (std::size_t i = 0, n = m_elements.size(); i < n;) {
            SRefElement e = m_elements[i];
            if (e.nType != 5) {
                ++i;
                continue;
            }
            SRefElement p{
                9, -1, -1, "L" + std::to_string(e.nId) + "K1", 2, {e.nNode[0], e.nNode[1]}, {1.0f}};
            const bool bOut = e.nSubType == 3 || e.nSubType == 6 || e.nSubType == 9;
            const float r = e.fValue[1] / e.fValue[0];
            SRefElement s{9,      bOut ? 1 : 0,
                          -1,     "L" + std::to_string(e.nId) + "K2",
                          2,      {e.nNode[2], e.nNode[3]},
                          {r * r}};
            m_elements.push_back(p);
            m_elements.push_back(s);
            m_transformers.push_back(e);
            m_elements.erase(m_elements.begin() + long(i));
            --n;
        }
        for (std::size_t i = 0, n = m_elements.size(); i < n;) {
            SRefElement e = m_elements[i];
            if (e.nType != 1) {
                ++i;
                continue;
            }
            SRefElement sub = e;
            sub.fValue[1] = sub.fValue[2] = sub.fValue[3] = 0;
            if (e.nSubType == 1 || e.nSubType == 4 || e.nSubType == 3) {
                sub.nType = 2;
                sub.nSubType = 1;
                sub.fValue[0] = e.nSubType == 3 ? 1.0f : 0.0f;
                m_elements.push_back(sub);
            } else if (e.nSubType == 2) {
                sub.nType = 3;
                sub.nSubType = 1;
                sub.fValue[0] = 1e12f;
                m_elements.push_back(sub);
            } else if (e.nSubType == 5) {
                m_elements.push_back({3, -2, 0, {}, 2, {e.nNode[0], e.nNode[1]}, {}});
                m_elements.push_back({3, -2, 0, {}, 2, {e.nNode[2], e.nNode[3]}, {}});
            }
            m_instruments.push_back(e);
            m_elements.erase(m_elements.begin() + long(i));
            --n;
        }

        m_dangling.assign(std::size_t(m_nN) + 1, 0);
        for (bool bChanged = true; bChanged;) {
            bChanged = false;
            for (int i = 1; i <= m_nN; ++i) {
                if (m_dangling[std::size_t(i)])
                    continue;
                int nCount = 0;
                for (const SRefElement& e : m_elements) {
                    bool bTouches = false;
                    for (int t = 0; t < e.nTerminals; ++t)
                        bTouches = bTouches || m_dangling[std::size_t(e.nNode[t])];
                    if (bTouches)
                        continue;
                    for (int t = 0; t < e.nTerminals; ++t)
                        nCount += e.nNode[t] == i;
                }
                if (nCount < 2) {
                    m_dangling[std::size_t(i)] = 1;
                    bChanged = true;
                }
            }
        }
        std::erase_if(m_elements, [](const SRefElement& e) { return e.nSubType == -2; });
        for (SRefElement& e : m_instruments) {
            e.fValue[2] = m_dangling[std::size_t(e.nNode[0])] || m_dangling[std::size_t(e.nNode[1])]
                              ? kNoValue
                              : 0.0f;
            e.fValue[3] = e.nSubType == 5 && (m_dangling[std::size_t(e.nNode[2])] ||
                                              m_dangling[std::size_t(e.nNode[3])])
                              ? kNoValue
                              : 0.0f;
        }
        return WriteNetlist();
    }

    int WriteNetlist() {
        m_nB = m_nN;
        const std::size_t n1 = std::size_t(m_nN) + 1;
        std::vector<std::vector<int>> adj(n1, std::vector<int>(n1, 0));
        for (const SRefElement& e : m_elements)
            for (int i = 0; i < e.nTerminals; ++i)
                for (int j = i + 1; j < e.nTerminals; ++j) {
                    adj[std::size_t(e.nNode[i])][std::size_t(e.nNode[j])] = 1;
                    adj[std::size_t(e.nNode[j])][std::size_t(e.nNode[i])] = 1;
                }
        std::vector<int> S;
        for (int i = 1; i <= m_nN; ++i)
            if (!m_dangling[std::size_t(i)])
                S.push_back(i);
        if (S.empty())
            return -1;
        m_text = Fmt("Kest-generated Input file") + Fmt(".tran 0.1ms 600s 0 0.1ms");
        for (int k = 0; !S.empty(); ++k) {
            std::vector<int> C = {S.front()}, Q = {S.front()};
            S.erase(S.begin());
            while (!Q.empty()) {
                const int x = Q.front();
                Q.erase(Q.begin());
                for (int y = 1; y <= m_nN; ++y) {
                    if (adj[std::size_t(x)][std::size_t(y)] && !m_dangling[std::size_t(y)] &&
                        std::find(C.begin(), C.end(), y) == C.end()) {
                        C.insert(std::upper_bound(C.begin(), C.end(), y), y);
                        Q.insert(std::upper_bound(Q.begin(), Q.end(), y), y);
                        S.erase(std::find(S.begin(), S.end(), y));
                    }
                }
            }
            if (k > 0) {
                m_text += Fmt("******** Another circuit : connected by a single resist");
                m_text += Fmt("Ra%d %d %d %f", k, 0, C.front(), 0.123);
            }
            WriteSubcircuit(C, k == 0);
        }
        for (const SRefElement& e : m_transformers) {
            bool bOk = true;
            for (int t = 0; t < 4; ++t)
                bOk = bOk && !m_dangling[std::size_t(e.nNode[t])];
            if (bOk)
                m_text += Fmt("K%d L%dK1 L%dK2 %f", e.nId, e.nId, e.nId, double(e.fValue[2]));
        }
        AppendTrailer(m_text);
        return 1;
    }

    void WriteSubcircuit(std::vector<int> C, bool bFirst) {
        auto In = [&](int n) { return std::find(C.begin(), C.end(), n) != C.end(); };
        const int r = m_nEarth != -1 && In(m_nEarth) ? m_nEarth : C.front();
        for (SRefElement& e : m_elements) {
            bool bAll = true;
            for (int t = 0; t < e.nTerminals; ++t)
                bAll = bAll && In(e.nNode[t]);
            if (!bAll)
                continue;
            if (bFirst)
                for (int t = 0; t < e.nTerminals; ++t)
                    if (e.nNode[t] == r)
                        e.nNode[t] = 0;
            WriteElement(e);
        }
        if (bFirst) {
            C.erase(std::find(C.begin(), C.end(), r));
            C.insert(C.begin(), 0);
        }
        for (SRefElement& e : m_instruments) {
            if (bFirst)
                for (int t = 0; t < e.nTerminals; ++t)
                    if (e.nNode[t] == r)
                        e.nNode[t] = 0;
            if (e.nSubType != 5)
                continue;
            if (!IsNoValue(e.fValue[2]) && In(e.nNode[0]) && In(e.nNode[1]))
                m_text += Fmt("R1O%d %d %d 1e12", e.nId, e.nNode[0], e.nNode[1]);
            if (!IsNoValue(e.fValue[3]) && In(e.nNode[2]) && In(e.nNode[3]))
                m_text += Fmt("R2O%d %d %d 1e12", e.nId, e.nNode[2], e.nNode[3]);
        }
    }

    void WriteElement(const SRefElement& e) {
        const int id = e.nId, T1 = e.nNode[0], T2 = e.nNode[1], T3 = e.nNode[2];
        const float* v = e.fValue;
        auto Wave = [&](int nWave, float peak, float f) {
            if (nWave == 1)
                m_text += Fmt("V%d %d %d SIN(0 %f %f)", id, T1, T2, double(peak), double(f));
            else if (nWave == 2)
                m_text += Fmt("V%d %d %d PULSE(%f 0 0 0 0 %fs %fs)", id, T1, T2, double(peak),
                              double(1 / (2 * f)), double(1 / f));
            else if (nWave == 3)
                m_text += Fmt("V%d %d %d PULSE(0 %f 0 %fs %fs 1ns %fs)", id, T1, T2, double(peak),
                              double(1 / (2 * f)), 0.99 / double(2 * f), double(1 / f));
        };
        switch (e.nType) {
        case 2:
            if (e.nSubType == 3)
                m_text += Fmt("V%d %d %d SIN(0 %f %f)", id, T1, T2, double(v[0]), double(v[1]));
            else
                m_text += Fmt("V%d %d %d %f", id, T1, T2, double(v[0]));
            break;
        case 3: {
            const float r = e.nSubType >= 6 && e.nSubType <= 9 ? v[1] * v[1] / v[0] : v[0];
            m_text += Fmt("R%d %d %d ", id, T1, T2) + FormatExp(r);
            break;
        }
        case 6: {
            const int s = e.nSubType;
            if (s <= 2) {
                m_text += Fmt("Q%d %d %d %d QMOD%d", id, T2, T1, T3, id);
                m_text += Fmt(".model QMOD%d %s(BF=%f rb=100 tf=0.1ns cdc=2pf)", id,
                              s == 1 ? "NPN" : "PNP", double(v[0]));
            } else if (s <= 4) {
                m_text += Fmt("J%d %d %d %d JMOD%d", id, T2, T1, T3, id);
                m_text += Fmt(".model JMOD%d %s(BF=%f)", id, s == 3 ? "NJF" : "PJF", double(v[0]));
            } else {
                m_text += Fmt("M%d %d %d %d %d MMOD%d", id, T2, T1, T3, 0, id);
                m_text += Fmt(".model MMOD%d %s(BF=%f)", id, s == 5 || s == 7 ? "NMOS" : "PMOS",
                              double(v[0]));
            }
            break;
        }
        case 7:
            m_text += Fmt("C%d %d %d ", id, T1, T2) + FormatExp(double(v[0]) * 1e-6);
            break;
        case 8:
            if (e.nSubType == 5) {
                m_text += Fmt("D%d %d %d %s", id, T1, T2, ZenerModelName(TruncChoice(v[0])));
                AppendZenerModel(m_text, TruncChoice(v[0]));
            } else {
                m_text += Fmt("D%d %d %d D1N3493 OFF", id, T1, T2);
            }
            break;
        case 9:
            if (id != -1) {
                m_text += Fmt("L%d %d %d ", id, T1, T2) + FormatExp(double(v[0]) * 0.001);
            } else {
                const char* n = e.strName.c_str();
                const char* szR = e.nSubType == -1 ? "R1" : "R2";
                if (e.nSubType == 1)
                    m_text += Fmt("%s %d %d %f", n, m_nB + 2, m_nB + 1, double(v[0]));
                else
                    m_text += Fmt("%s %d %d %f", n, m_nB + 1, m_nB + 2, double(v[0]));
                m_text += Fmt("%s1%s %d %d %f", szR, n, m_nB + 1, T1, double(0.0005f));
                m_text += Fmt("%s2%s %d %d %f", szR, n, m_nB + 2, T2, double(0.0005f));
                m_nB += 2;
            }
            break;
        case 10:
            if (e.nSubType == 4)
                Wave(std::clamp(TruncChoice(v[0]), 0, 2) + 1, float(double(v[1]) * 0.001), v[2]);
            else
                Wave(e.nSubType, v[0], v[1]);
            break;
        case 11:
            m_text += Fmt("Va%dp %d 0 15", id, m_nB + 2);
            m_text += Fmt("Va%dn %d 0 -15", id, m_nB + 3);
            m_text += Fmt("X%d %d %d %d %d %d AD", id, T2, T1, m_nB + 2, m_nB + 3, T3);
            m_nB += 4;
            break;
        }
    }
};

void ExpectSameList(const CNetlist::CElementList& mine, const RefList& ref, int nSeed) {
    ASSERT_EQ(mine.size(), ref.size()) << "seed " << nSeed;
    for (std::size_t k = 0; k < ref.size(); ++k) {
        const CNetElement& a = *mine[k];
        const SRefElement& b = ref[k];
        EXPECT_EQ(a.m_nType, b.nType) << "seed " << nSeed << " element " << k;
        EXPECT_EQ(a.m_nSubType, b.nSubType) << "seed " << nSeed << " element " << k;
        EXPECT_EQ(a.m_nId, b.nId) << "seed " << nSeed << " element " << k;
        EXPECT_EQ(std::string(a.m_szName), b.strName) << "seed " << nSeed << " element " << k;
        ASSERT_EQ(a.m_nTerminals, b.nTerminals) << "seed " << nSeed << " element " << k;
        for (int t = 0; t < b.nTerminals; ++t)
            EXPECT_EQ(a.m_nNode[t], b.nNode[t]) << "seed " << nSeed << " element " << k;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(a.m_fValue[i], b.fValue[i]) << "seed " << nSeed << " element " << k;
    }
}

// A random learner's circuit: any kind, random settings, terminals wired at random (some to
// the same component), a few broken parts and a wire left without its end.
void MakeRandomCircuit(CVonnDoc& doc, std::mt19937& rng) {
    static const std::vector<const tagSComponentInfo*> kinds = [] {
        std::vector<const tagSComponentInfo*> all;
        for (int t = 1; t <= 11; ++t)
            for (int s = 1; s <= 16; ++s)
                if (const tagSComponentInfo* p = FindInfo(t, s))
                    all.push_back(p);
        return all;
    }();
    auto Pick = [&](int n) { return int(rng() % unsigned(n)); };
    const int nCount = 2 + Pick(28);
    std::vector<CComponent*> comps;
    for (int i = 0; i < nCount; ++i) {
        // Favour the parts that shape the nodes: connections and simple two-terminal parts.
        const tagSComponentInfo* pInfo = kinds[std::size_t(Pick(int(kinds.size())))];
        if (Pick(3) == 0)
            pInfo = FindInfo(4, 1 + Pick(13));
        else if (Pick(4) == 0)
            pInfo = FindInfo(Pick(2) ? 2 : 3, 1);
        auto* pComp = new CComponent(*pInfo, QPoint(10 * i, 0));
        if (pComp->m_nType == 4)
            pComp->m_fValue[0] = Pick(2) ? 1.1f : 0.1f;
        if (pComp->m_nType == 3 && pComp->m_nSubType >= 6 && pComp->m_nSubType <= 12)
            pComp->m_fValue[2] = float(Pick(3)) + 0.1f;
        if (pComp->m_nType == 8 && pComp->m_nSubType == 5)
            pComp->m_fValue[0] = float(Pick(14) - 2) + 0.1f;
        if (pComp->m_nType == 10 && pComp->m_nSubType == 4)
            pComp->m_fValue[0] = float(Pick(5)) + 0.1f;
        if (pComp->m_nType == 5)
            pComp->m_fValue[1] = float(10 + Pick(100));
        if (Pick(2))
            doc.m_pComponents->AddTail(pComp);
        else
            doc.m_pComponents->AddHead(pComp);
        comps.push_back(pComp);
    }
    std::vector<std::pair<CComponent*, int>> terminals;
    for (CComponent* pComp : comps)
        for (int t = 0; t < pComp->m_nTerminals; ++t)
            if (Pick(10) < 9)
                terminals.emplace_back(pComp, t);
    std::shuffle(terminals.begin(), terminals.end(), rng);
    for (std::size_t i = 0; i + 1 < terminals.size(); i += 2)
        doc.m_pWires->AddTail(new CWire(terminals[i].first, terminals[i].second,
                                        terminals[i + 1].first, terminals[i + 1].second));
    if (Pick(8) == 0)
        doc.m_pComponents->RemoveAndDelete(comps[std::size_t(Pick(int(comps.size())))]);
}

TEST(NetlistReference, SameTextListsAndNodesOnRandomCircuits) {
    int nWritten = 0, nSeveral = 0, nEarthed = 0, nScopes = 0, nTransformers = 0;
    constexpr int kCircuits = 3000;
    for (int nSeed = 0; nSeed < kCircuits; ++nSeed) {
        std::mt19937 rng{unsigned(nSeed)};
        CVonnDoc doc;
        MakeRandomCircuit(doc, rng);

        CReferenceNetlist ref;
        ref.BuildElementList(doc);
        std::vector<std::vector<int>> refNodes;
        std::vector<int> refIndex;
        for (const CComponent* pComp : *doc.m_pComponents) {
            refNodes.emplace_back(std::begin(pComp->m_nNode), std::end(pComp->m_nNode));
            refIndex.push_back(pComp->m_nIndex);
        }
        const int nRefResult = ref.BuildNetlist();

        CNetlist netlist;
        netlist.BuildElementList(doc);
        std::size_t k = 0;
        for (const CComponent* pComp : *doc.m_pComponents) {
            EXPECT_EQ(std::vector<int>(std::begin(pComp->m_nNode), std::end(pComp->m_nNode)),
                      refNodes[k]);
            EXPECT_EQ(pComp->m_nIndex, refIndex[k++]);
        }
        QByteArray bytes;
        const int nResult = netlist.BuildNetlist(&bytes);
        ASSERT_EQ(nResult, nRefResult) << "seed " << nSeed;
        nWritten += nResult == 1;
        nSeveral += ref.m_text.find("\r\nRa1 ") != std::string::npos;
        nEarthed += ref.m_nEarth != -1;
        nScopes += ref.m_text.find("\r\nR1O") != std::string::npos;
        nTransformers += ref.m_text.find("K1 L") != std::string::npos;
        EXPECT_EQ(bytes.toStdString(), nResult == 1 ? ref.m_text : std::string())
            << "seed " << nSeed;
        EXPECT_EQ(netlist.GetEarthNode(), ref.m_nEarth) << "seed " << nSeed;
        EXPECT_EQ(netlist.GetNodeCount(), ref.m_nN) << "seed " << nSeed;
        ExpectSameList(netlist.GetElementList(), ref.m_elements, nSeed);
        ExpectSameList(netlist.GetInstrumentList(), ref.m_instruments, nSeed);
        if (HasFailure())
            break;
    }
    // The circuits must reach the writer and its harder cases, or the comparison proves little.
    std::printf("%d of %d written: %d with several sub-circuits, %d earthed, %d with scope lines, "
                "%d with transformers\n",
                nWritten, kCircuits, nSeveral, nEarthed, nScopes, nTransformers);
    EXPECT_GT(nWritten, kCircuits / 4);
    EXPECT_GT(std::min({nSeveral, nEarthed, nScopes, nTransformers}), 20);
}

} // namespace

#include "Component.h"
#include "ComponentList.h"
#include "Netlist.h"
#include "NetlistText.h"
#include "NumberFormat.h"
#include "TestSupport.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A circuit built in code; components go to the tail, so list order is the order of Add.
class CCircuit {
public:
    CComponent* Add(int nType, int nSubType, std::initializer_list<float> values = {}) {
        const tagSComponentInfo* pInfo = FindInfo(nType, nSubType);
        EXPECT_NE(pInfo, nullptr) << nType << "," << nSubType;
        auto* pComp = new CComponent(*pInfo, QPoint(m_nX += 50, 100));
        int i = 0;
        for (float f : values)
            pComp->m_fValue[i++] = f;
        m_doc.m_pComponents->AddTail(pComp);
        return pComp;
    }
    void Wire(CComponent* pA, int i, CComponent* pB, int j) {
        m_doc.m_pWires->AddTail(new CWire(pA, i, pB, j));
    }
    // Joins all the given terminals through one seven-way junction.
    void Join(std::initializer_list<std::pair<CComponent*, int>> terminals) {
        CComponent* pJunction = Add(4, 8);
        int t = 0;
        for (auto [pComp, i] : terminals)
            Wire(pComp, i, pJunction, t++);
    }
    // Builds the netlist in memory; *pnResult gets BuildNetlist's answer.
    QByteArray Build(int* pnResult = nullptr) {
        m_netlist.BuildElementList(m_doc);
        QByteArray bytes;
        const int nResult = m_netlist.BuildNetlist(&bytes);
        if (pnResult)
            *pnResult = nResult;
        return bytes;
    }
    // The lines between the .tran line and the amplifier subcircuit.
    Lines Body() {
        int nResult = 0;
        const QByteArray bytes = Build(&nResult);
        EXPECT_EQ(nResult, 1);
        const QList<QByteArray> all = bytes.split('\n');
        Lines body;
        bool bIn = false;
        for (QByteArray line : all) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.startsWith(".subckt AD"))
                break;
            if (bIn)
                body.push_back(line.toStdString());
            if (line.startsWith(".tran"))
                bIn = true;
        }
        return body;
    }

    CVonnDoc m_doc;
    CNetlist m_netlist;

private:
    int m_nX = 0;
};

// Worked example 1: battery 3 V, resistor 1 ohm, signal lamp 1.8 W at 6 V in a loop.
void BuildExample1(CCircuit& c) {
    CComponent* pBattery = c.Add(2, 1, {3.0f});
    CComponent* pResistor = c.Add(3, 1, {1.0f});
    CComponent* pLamp = c.Add(3, 8, {1.8f, 6.0f, 0.1f});
    c.Wire(pBattery, 0, pResistor, 0);
    c.Wire(pResistor, 1, pLamp, 0);
    c.Wire(pLamp, 1, pBattery, 1);
}

TEST(NumberFormat, ExponentHasThreeDigitsWhateverTheCLibrary) {
    const struct {
        double f;
        const char* szExp;
    } cases[] = {
        {0.0, "0.000000e+000"},           {1.0, "1.000000e+000"},
        {10.0, "1.000000e+001"},          {2e-5, "2.000000e-005"},
        {-150.0, "-1.500000e+002"},       {double(1e12f), "1.000000e+012"},
        {9.9999995e+99, "9.999999e+099"}, {1e-120, "1.000000e-120"},
        {1e300, "1.000000e+300"},         {double(20.000002f), "2.000000e+001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatExp(c.f), c.szExp) << c.f;
    // Values that no circuit should produce still give text and never crash.
    EXPECT_EQ(FormatExp(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_FALSE(FormatExp(std::nan("")).empty());
    EXPECT_EQ(FormatFixed(double(0.0005f)), "0.000500");
    EXPECT_EQ(FormatFixed(0.123), "0.123000");
    EXPECT_EQ(FormatFixed(-2.5), "-2.500000");
    EXPECT_EQ(FormatFixed(1e30).size(), 38u);
    EXPECT_EQ(TruncChoice(2.1f), 2);
    EXPECT_EQ(TruncChoice(-0.9f), 0);
    EXPECT_EQ(TruncChoice(std::nanf("")), 0);
    EXPECT_EQ(TruncChoice(1e30f), 2000000000);
}

TEST(Netlist, WorkedExampleOneByteForByte) {
    CCircuit c;
    BuildExample1(c);
    int nResult = 0;
    const QByteArray bytes = c.Build(&nResult);
    EXPECT_EQ(nResult, 1);
    EXPECT_EQ(bytes,
              kest::test::ReadFileBytes(kest::test::DataPath("simulation/netlist/example1.cir")));

    // What playback needs: the elements in writing order with their final nodes.
    const auto& list = c.m_netlist.GetElementList();
    ASSERT_EQ(list.size(), 3u);
    const int expected[3][3] = {{3, 0, 3}, {4, 0, 2}, {5, 2, 3}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(list[k]->m_nId, expected[k][0]);
        EXPECT_EQ(list[k]->m_nNode[0], expected[k][1]);
        EXPECT_EQ(list[k]->m_nNode[1], expected[k][2]);
    }
    EXPECT_EQ(c.m_netlist.GetNodeCount(), 3);
    int nIndex = 3;
    for (const CComponent* pComp : *c.m_doc.m_pComponents)
        EXPECT_EQ(pComp->m_nIndex, nIndex++);
}

TEST(Netlist, WorkedExampleTwoKeepsTheAmmeterForPlayback) {
    CCircuit c;
    CComponent* pBattery = c.Add(2, 1, {3.0f});
    CComponent* pAmmeter = c.Add(1, 1);
    CComponent* pResistor = c.Add(3, 1, {1.0f});
    c.Wire(pBattery, 0, pAmmeter, 0);
    c.Wire(pAmmeter, 1, pResistor, 0);
    c.Wire(pResistor, 1, pBattery, 1);
    EXPECT_EQ(c.Build(),
              kest::test::ReadFileBytes(kest::test::DataPath("simulation/netlist/example2.cir")));

    const auto& instruments = c.m_netlist.GetInstrumentList();
    ASSERT_EQ(instruments.size(), 1u);
    EXPECT_EQ(instruments[0]->m_nId, 4);
    EXPECT_EQ(instruments[0]->m_nNode[0], 0);
    EXPECT_EQ(instruments[0]->m_nNode[1], 2);
    EXPECT_EQ(instruments[0]->m_fValue[2], 0.0f);
    EXPECT_EQ(pAmmeter->m_nIndex, 4);
}

TEST(Netlist, WritesTheFileAndRefusesAFileItCannotCreate) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CCircuit c;
    BuildExample1(c);
    c.m_netlist.BuildElementList(c.m_doc);
    const QString strPath = dir.filePath("kest.cir");
    ASSERT_EQ(c.m_netlist.BuildNetlist(strPath), 1);
    EXPECT_EQ(kest::test::ReadFileBytes(strPath),
              kest::test::ReadFileBytes(kest::test::DataPath("simulation/netlist/example1.cir")));

    // A folder that cannot hold the file: nothing is simulated and nothing is left behind.
    QFile blocker(dir.filePath("notafolder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    c.m_netlist.BuildElementList(c.m_doc);
    EXPECT_EQ(c.m_netlist.BuildNetlist(dir.filePath("notafolder/kest.cir")), -1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 2);
}

TEST(Netlist, NothingToSimulateWritesNoFile) {
    QTemporaryDir dir;
    CCircuit c;
    CComponent* pBattery = c.Add(2, 1);
    CComponent* pSwitch = c.Add(4, 1, {0.1f});
    CComponent* pLamp = c.Add(3, 8);
    c.Wire(pBattery, 0, pSwitch, 0);
    c.Wire(pSwitch, 1, pLamp, 0);
    c.Wire(pLamp, 1, pBattery, 1);
    c.m_netlist.BuildElementList(c.m_doc);
    EXPECT_EQ(c.m_netlist.BuildNetlist(dir.filePath("kest.cir")), -1);
    EXPECT_FALSE(QFile::exists(dir.filePath("kest.cir")));

    pSwitch->m_fValue[0] = 1.1f;
    EXPECT_EQ(c.Body(), (Lines{"V3 0 2 3.000000", "R5 0 2 2.000000e+001"}));

    CCircuit empty;
    int nResult = 0;
    EXPECT_TRUE(empty.Build(&nResult).isEmpty());
    EXPECT_EQ(nResult, -1);
}

// Each kind's lines, for the kind wired in parallel with a 1 ohm resistor added after it:
// the kind gets id 2 and nodes (0, 2).
TEST(Netlist, ElementLinesOfEveryTwoTerminalKind) {
    const std::string R = "R3 0 2 1.000000e+000";
    const struct {
        int nType, nSubType;
        std::initializer_list<float> values;
        Lines body;
    } cases[] = {
        {2, 1, {3.0f}, {"V2 0 2 3.000000", R}},
        {2, 3, {220.0f, 50.0f}, {"V2 0 2 SIN(0 220.000000 50.000000)", R}},
        {3, 1, {1.0f}, {"R2 0 2 1.000000e+000", R}},
        {3, 4, {20.0f}, {"R2 0 2 2.000000e+001", R}},
        {3, 6, {15.0f, 220.0f, 0.1f}, {"R2 0 2 3.226667e+003", R}},
        {3, 8, {1.8f, 6.0f, 1.1f}, {"R2 0 2 2.000000e+001", R}},
        {3, 10, {0.0001f, 0.00003f, 0.1f}, {"R2 0 2 1.000000e-004", R}},
        {3, 11, {0.0001f, 0.00003f, 0.1f}, {"R2 0 2 1.000000e-004", R}},
        {3, 12, {10.0f}, {"R2 0 2 1.000000e+001", R}},
        {3, 14, {8.0f}, {"R2 0 2 8.000000e+000", R}},
        {7, 2, {10.0f}, {"C2 0 2 1.000000e-005", R}},
        {7, 4, {0.05f}, {"C2 0 2 5.000000e-008", R}},
        {8, 1, {}, {"D2 0 2 D1N3493 OFF", R}},
        {8, 3, {}, {"D2 0 2 D1N3493 OFF", R}},
        {9, 1, {20.0f}, {"L2 0 2 2.000000e-002", R}},
        {10, 1, {1.0f, 100.0f}, {"V2 0 2 SIN(0 1.000000 100.000000)", R}},
        {10, 2, {5.0f, 1000.0f}, {"V2 0 2 PULSE(5.000000 0 0 0 0 0.000500s 0.001000s)", R}},
        {10,
         3,
         {1.0f, 100.0f},
         {"V2 0 2 PULSE(0 1.000000 0 0.005000s 0.004950s 1ns 0.010000s)", R}},
        // Instruments are replaced by elements appended after the others.
        {1, 1, {}, {R, "V2 0 2 0.000000"}},
        {1, 2, {}, {R, "R2 0 2 1.000000e+012"}},
        {1, 3, {}, {R, "V2 0 2 1.000000"}},
        {1, 4, {}, {R, "V2 0 2 0.000000"}},
    };
    for (const auto& k : cases) {
        CCircuit c;
        CComponent* pComp = c.Add(k.nType, k.nSubType, k.values);
        CComponent* pResistor = c.Add(3, 1, {1.0f});
        c.Wire(pComp, 0, pResistor, 0);
        c.Wire(pComp, 1, pResistor, 1);
        EXPECT_EQ(c.Body(), k.body) << k.nType << "," << k.nSubType;
    }
}

// Three-terminal kinds between base (terminal 1), collector (2) and emitter (3): the first
// resistor across base and collector, the second across collector and emitter; the base
// becomes node 0, the collector 2 and the emitter 3.
TEST(Netlist, ElementLinesOfThreeTerminalKinds) {
    const Lines resistors = {"R6 0 2 1.000000e+000", "R7 2 3 1.000000e+000"};
    const struct {
        int nSubType;
        Lines lines;
    } cases[] = {
        {1, {"Q5 2 0 3 QMOD5", ".model QMOD5 NPN(BF=20.000000 rb=100 tf=0.1ns cdc=2pf)"}},
        {2, {"Q5 2 0 3 QMOD5", ".model QMOD5 PNP(BF=20.000000 rb=100 tf=0.1ns cdc=2pf)"}},
        {3, {"J5 2 0 3 JMOD5", ".model JMOD5 NJF(BF=40.000000)"}},
        {4, {"J5 2 0 3 JMOD5", ".model JMOD5 PJF(BF=40.000000)"}},
        {5, {"M5 2 0 3 0 MMOD5", ".model MMOD5 NMOS(BF=60.000000)"}},
        {6, {"M5 2 0 3 0 MMOD5", ".model MMOD5 PMOS(BF=60.000000)"}},
        {7, {"M5 2 0 3 0 MMOD5", ".model MMOD5 NMOS(BF=80.000000)"}},
        {8, {"M5 2 0 3 0 MMOD5", ".model MMOD5 PMOS(BF=80.000000)"}},
        // A potentiometer's third terminal is not written.
        {-1, {"R5 0 2 1.000000e+001"}},
    };
    for (const auto& k : cases) {
        CCircuit c;
        CComponent* pDevice = k.nSubType > 0 ? c.Add(6, k.nSubType) : c.Add(3, 5);
        CComponent* pA = c.Add(3, 1, {1.0f});
        CComponent* pB = c.Add(3, 1, {1.0f});
        CComponent* pTee = c.Add(4, 10);
        c.Wire(pDevice, 0, pA, 0);
        c.Wire(pA, 1, pTee, 0);
        c.Wire(pTee, 1, pDevice, 1);
        c.Wire(pTee, 2, pB, 0);
        c.Wire(pB, 1, pDevice, 2);
        Lines expected = k.lines;
        expected.insert(expected.end(), resistors.begin(), resistors.end());
        EXPECT_EQ(c.Body(), expected) << k.nSubType;
    }
}

TEST(Netlist, AmplifierNeedsEarthAndTakesFourPrivateNodes) {
    for (bool bEarth : {true, false}) {
        CCircuit c;
        CComponent* pAmp = c.Add(11, 1);
        CComponent* pA = c.Add(3, 1, {1.0f});
        CComponent* pB = c.Add(3, 1, {1.0f});
        CComponent* pCross = c.Add(4, 12);
        CComponent* pEarth = bEarth ? c.Add(4, 13) : nullptr;
        c.Wire(pAmp, 0, pA, 0);
        c.Wire(pA, 1, pCross, 0);
        c.Wire(pCross, 1, pAmp, 1);
        c.Wire(pCross, 2, pB, 0);
        c.Wire(pB, 1, pAmp, 2);
        if (pEarth) {
            c.Wire(pCross, 3, pEarth, 0);
            // The earth node is the reference; B = N = 3.
            EXPECT_EQ(c.Body(), (Lines{"Va6p 5 0 15", "Va6n 6 0 -15", "X6 0 1 5 6 3 AD",
                                       "R7 1 0 1.000000e+000", "R8 0 3 1.000000e+000"}));
        } else {
            // Without the amplifier both resistors hang open at one end.
            int nResult = 0;
            c.Build(&nResult);
            EXPECT_EQ(nResult, -1);
            EXPECT_EQ(pAmp->m_nIndex, 5);
        }
    }
}

// An aerial or DC Power source and a resistor in a loop that the earth closes.
TEST(Netlist, AerialAndDcPowerNeedEarth) {
    const struct {
        int nType, nSubType;
        std::initializer_list<float> values;
        const char* szLine;
    } cases[] = {
        {10, 4, {1.1f, 5.0f, 1000.0f}, "V2 1 0 PULSE(0.005000 0 0 0 0 0.000500s 0.001000s)"},
        {10, 4, {0.1f, 100.0f, 50.0f}, "V2 1 0 SIN(0 0.100000 50.000000)"},
        {10,
         4,
         {2.1f, 1000.0f, 100.0f},
         "V2 1 0 PULSE(0 1.000000 0 0.005000s 0.004950s 1ns 0.010000s)"},
        // A wave index outside the three choices takes the nearest.
        {10,
         4,
         {7.1f, 1000.0f, 100.0f},
         "V2 1 0 PULSE(0 1.000000 0 0.005000s 0.004950s 1ns 0.010000s)"},
        {2, 2, {5.0f}, "V2 1 0 5.000000"},
    };
    for (const auto& k : cases) {
        for (bool bEarth : {true, false}) {
            CCircuit c;
            CComponent* pSource = c.Add(k.nType, k.nSubType, k.values);
            CComponent* pResistor = c.Add(3, 1, {1.0f});
            CComponent* pEarth = c.Add(4, 13);
            c.Wire(pSource, 0, pResistor, 0);
            if (bEarth) {
                c.Wire(pResistor, 1, pEarth, 0);
                EXPECT_EQ(c.Body(), (Lines{k.szLine, "R3 1 0 1.000000e+000"})) << k.szLine;
            } else {
                int nResult = 0;
                c.Build(&nResult);
                EXPECT_EQ(nResult, -1);
                EXPECT_EQ(pSource->m_nIndex, 1);
                EXPECT_EQ(pEarth->m_nIndex, -1); // single terminal, no wire
            }
        }
    }
}

TEST(Netlist, ZenerModelAfterEveryZenerAndNearestModelOutsideTheTable) {
    auto ModelOf = [](int z) {
        std::string text;
        AppendZenerModel(text, z);
        return text;
    };
    // The one model whose comment line has its own spacing, and a regular one.
    EXPECT_EQ(ModelOf(3), "\r\n.model D1N750\tD(Is=880.5E-18 Rs=.25 Ikf=0 N=1 Xti=3 Eg=1.11 "
                          "Cjo=175p M=.5516\r\n+\t\tVj=.75 Fc=.5 Isr=1.859n Nr=2 Bv=4.7 "
                          "Ibv=20.245m Nbv=1.6989\r\n+\t\tIbvl=1.9556m Nbvl=14.976 "
                          "Tbv1=-21.277u)\r\n*\t\tVz = 4.7 @ 20mA, Zz = 300 @ 1mA, Zz = 12.5 @ "
                          "5mA, Zz =2.6  @ 20mA");
    EXPECT_EQ(ModelOf(8), "\r\n.model D1N758\tD(Is=1.953f Rs=2.305 Ikf=0 N=1 Xti=3 Eg=1.11 "
                          "Cjo=68p M=.3856\r\n+\t\tVj=.75 Fc=.5 Isr=1.939n Nr=2 Bv=10 "
                          "Ibv=.16597 Nbv=.84122\r\n+\t\tIbvl=1.003m Nbvl=.20892 "
                          "Tbv1=650u)\r\n*\t\tVz = 10 @ 20mA, Zz = 24 @ 1mA, Zz = 7.25 @ 5mA, "
                          "Zz = 2.9 @ 20mA");
    const char* names[] = {"D1N747", "D1N748", "D1N749", "D1N750", "D1N751",
                           "D1N753", "D1N755", "D1N756", "D1N758"};
    for (int z = 0; z < 9; ++z) {
        EXPECT_EQ(ZenerModelName(z), std::string(names[z]));
        EXPECT_EQ(ModelOf(z).find(std::string(".model ") + names[z] + "\t"), 2u);
    }

    const struct {
        float fIndex;
        const char* szName;
    } cases[] = {{4.1f, "D1N751"}, {12.1f, "D1N758"}, {-3.0f, "D1N747"}, {std::nanf(""), "D1N747"}};
    for (const auto& k : cases) {
        CCircuit c;
        CComponent* pZ1 = c.Add(8, 5, {k.fIndex});
        CComponent* pZ2 = c.Add(8, 5, {k.fIndex});
        c.Wire(pZ1, 0, pZ2, 0);
        c.Wire(pZ1, 1, pZ2, 1);
        const Lines body = c.Body();
        ASSERT_EQ(body.size(), 10u) << k.szName;
        EXPECT_EQ(body[0], std::string("D2 0 2 ") + k.szName);
        EXPECT_EQ(body[1].rfind(std::string(".model ") + k.szName + "\t", 0), 0u);
        EXPECT_EQ(body[5], std::string("D3 0 2 ") + k.szName);
        EXPECT_EQ(Lines(body.begin() + 1, body.begin() + 5), Lines(body.begin() + 6, body.end()));
    }
}

// Each switch terminal t gets a resistor from it to one common hub; two terminals that the
// switch joins end on one node. The pattern gives, for each terminal, the first terminal
// that shares its node.
TEST(Netlist, SwitchesOfEveryKindInBothPositions) {
    const struct {
        int nSubType;
        const char* szOpen;   // position 0
        const char* szClosed; // position 1
    } cases[] = {
        {1, "01", "00"},         {6, "01", "00"},    {9, "01", "00"},
        {7, "00", "01"},         {2, "002", "010"},  {3, "0123", "0101"},
        {4, "012301", "012323"}, {5, "00", "00"},    {8, "0000000", "0000000"},
        {10, "000", "000"},      {11, "000", "000"}, {12, "0000", "0000"},
    };
    for (const auto& k : cases) {
        for (int nPosition : {0, 1}) {
            CCircuit c;
            CComponent* pSwitch = c.Add(4, k.nSubType, {nPosition + 0.1f});
            CComponent* pHub = c.Add(4, 8);
            std::vector<CComponent*> resistors;
            for (int t = 0; t < pSwitch->m_nTerminals; ++t) {
                resistors.push_back(c.Add(3, 1));
                c.Wire(pSwitch, t, resistors.back(), 0);
                c.Wire(resistors.back(), 1, pHub, t);
            }
            int nResult = 0;
            c.Build(&nResult);
            std::vector<int> nodes;
            for (const CComponent* pResistor : resistors)
                for (const auto& p : c.m_netlist.GetElementList())
                    if (p->m_nId == pResistor->m_nIndex)
                        nodes.push_back(p->m_nNode[0]);
            ASSERT_EQ(nodes.size(), resistors.size());
            std::string pattern;
            for (std::size_t t = 0; t < nodes.size(); ++t)
                pattern +=
                    char('0' + (std::find(nodes.begin(), nodes.end(), nodes[t]) - nodes.begin()));
            EXPECT_EQ(pattern, nPosition ? k.szClosed : k.szOpen)
                << "4," << k.nSubType << " position " << nPosition;
            // Terminals the switch joins to nothing only reach their own resistor.
            const bool bAnyJoined =
                std::set<char>(pattern.begin(), pattern.end()).size() < pattern.size();
            EXPECT_EQ(nResult, bAnyJoined ? 1 : -1);
        }
    }
}

// Battery and resistor in a loop whose lower rail also goes through a three-way junction to
// an earth: the earth node, not the smallest node, becomes node 0.
TEST(Netlist, EarthIsTheReferenceOfTheFirstSubcircuit) {
    CCircuit c;
    CComponent* pBattery = c.Add(2, 1, {3.0f});
    CComponent* pResistor = c.Add(3, 1, {1.0f});
    CComponent* pTee = c.Add(4, 10);
    CComponent* pEarth = c.Add(4, 13);
    c.Wire(pBattery, 0, pResistor, 0);
    c.Wire(pResistor, 1, pTee, 0);
    c.Wire(pTee, 1, pBattery, 1);
    c.Wire(pTee, 2, pEarth, 0);
    EXPECT_EQ(c.Body(), (Lines{"V4 1 0 3.000000", "R5 1 0 1.000000e+000"}));
    EXPECT_EQ(c.m_netlist.GetEarthNode(), 2);
}

// Two battery-resistor loops: apart they are two sub-circuits; an earth on each makes their
// earthed rails one node and the whole one circuit.
TEST(Netlist, TwoEarthsOnDifferentNetsMakeOneNode) {
    for (bool bEarths : {false, true}) {
        CCircuit c;
        for (int nLoop = 0; nLoop < 2; ++nLoop) {
            CComponent* pBattery = c.Add(2, 1, {3.0f + float(nLoop)});
            CComponent* pResistor = c.Add(3, 1, {1.0f});
            c.Wire(pBattery, 0, pResistor, 0);
            if (bEarths) {
                CComponent* pTee = c.Add(4, 10);
                c.Wire(pResistor, 1, pTee, 0);
                c.Wire(pTee, 1, pBattery, 1);
                c.Wire(pTee, 2, c.Add(4, 13), 0);
            } else {
                c.Wire(pResistor, 1, pBattery, 1);
            }
        }
        const Lines body = c.Body();
        bool bRa = false;
        for (const std::string& line : body)
            bRa = bRa || line.rfind("Ra", 0) == 0;
        EXPECT_EQ(bRa, !bEarths);
        if (bEarths) {
            // The second earth is tied to the first by an element after all components.
            EXPECT_EQ(body, (Lines{"V8 1 0 3.000000", "R9 1 0 1.000000e+000", "V12 3 0 4.000000",
                                   "R13 3 0 1.000000e+000"}));
        } else {
            EXPECT_EQ(body, (Lines{"V4 0 2 3.000000", "R5 0 2 1.000000e+000",
                                   "******** Another circuit : connected by a single resist",
                                   "Ra1 0 3 0.123000", "V6 3 4 4.000000", "R7 3 4 1.000000e+000"}));
        }
    }
}

TEST(Netlist, EarthThatSurvivesInNoElementMeansNoEarth) {
    // The earth hangs on an open switch only; its number would otherwise never be
    // renumbered and could name another node.
    CCircuit c;
    CComponent* pBattery = c.Add(2, 1, {3.0f});
    CComponent* pResistor = c.Add(3, 1, {1.0f});
    CComponent* pTee = c.Add(4, 10);
    CComponent* pSwitch = c.Add(4, 1, {0.1f});
    CComponent* pEarth = c.Add(4, 13);
    c.Wire(pBattery, 0, pResistor, 0);
    c.Wire(pResistor, 1, pTee, 0);
    c.Wire(pTee, 1, pBattery, 1);
    c.Wire(pTee, 2, pSwitch, 0);
    c.Wire(pSwitch, 1, pEarth, 0);
    EXPECT_EQ(c.Body(), (Lines{"V5 0 2 3.000000", "R6 0 2 1.000000e+000"}));
    EXPECT_EQ(c.m_netlist.GetEarthNode(), -1);

    pSwitch->m_fValue[0] = 1.1f;
    EXPECT_EQ(c.Body(), (Lines{"V5 1 0 3.000000", "R6 1 0 1.000000e+000"}));
}

TEST(Netlist, ShortedElementsAndBrokenPartsAreLeftOut) {
    CCircuit c;
    BuildExample1(c);
    CComponent* pShorted = c.Add(3, 1, {5.0f});
    c.Wire(pShorted, 0, pShorted, 1);
    CComponent* pAmmeter = c.Add(1, 1);
    c.Wire(pAmmeter, 0, pAmmeter, 1);
    CComponent* pBrokenLamp = c.Add(3, 7, {5.0f, 5.0f, 2.1f});
    CComponent* pBlownFuse = c.Add(3, 10, {0.0001f, 0.00003f, 2.1f});
    c.Wire(pBrokenLamp, 0, pBlownFuse, 0);
    c.Wire(pBrokenLamp, 1, pBlownFuse, 1);
    CComponent* pLoose = c.Add(2, 2); // one terminal, no wire
    EXPECT_EQ(c.Body(), (Lines{"V7 0 3 3.000000", "R8 0 2 1.000000e+000", "R9 2 3 2.000000e+001"}));
    EXPECT_TRUE(c.m_netlist.GetInstrumentList().empty());
    EXPECT_EQ(pShorted->m_nIndex, 10);
    EXPECT_EQ(pBrokenLamp->m_nIndex, -1);
    EXPECT_EQ(pBlownFuse->m_nIndex, -1);
    EXPECT_EQ(pLoose->m_nIndex, -1);
    EXPECT_EQ(c.m_netlist.GetElementList().size(), 3u);
}

TEST(Netlist, IncompleteWiresAreIgnored) {
    // A wire at the head of the list that lost one end takes no id and no nodes; its other
    // end's component, now unwired, comes last and hangs open.
    CCircuit c;
    BuildExample1(c);
    CComponent* pGone = c.Add(3, 1);
    CComponent* pKept = c.Add(3, 1);
    c.m_doc.m_pWires->AddHead(new CWire(pGone, 0, pKept, 0));
    c.m_doc.m_pComponents->RemoveAndDelete(pGone);
    ASSERT_FALSE((*c.m_doc.m_pWires->begin())->IsComplete());
    EXPECT_EQ(c.Build(),
              kest::test::ReadFileBytes(kest::test::DataPath("simulation/netlist/example1.cir")));
    EXPECT_EQ(pKept->m_nIndex, 6);
    c.m_doc.m_pWires->RemoveIncomplete();
}

TEST(Netlist, DanglingBranchesAreNotWritten) {
    CCircuit c;
    CComponent* pBattery = c.Add(2, 1, {3.0f});
    CComponent* pResistor = c.Add(3, 1, {1.0f});
    CComponent* pStub1 = c.Add(3, 1, {7.0f});
    CComponent* pStub2 = c.Add(3, 1, {8.0f});
    c.Join({{pBattery, 0}, {pResistor, 0}, {pStub1, 0}});
    c.Wire(pStub1, 1, pStub2, 0); // a chain that ends open
    c.Wire(pResistor, 1, pBattery, 1);
    const Lines body = c.Body();
    EXPECT_EQ(body, (Lines{"V5 0 3 3.000000", "R6 0 3 1.000000e+000"}));
}

// A battery with a resistor; the oscilloscope's input 1 across the battery, its input 2
// (when wired) across a second resistor that hangs on the battery's first terminal and on
// nothing but the probe at its other end.
TEST(Netlist, OscilloscopeProbesCountForDanglingAndGetTheirOwnLines) {
    for (bool bInput2 : {false, true}) {
        CCircuit c;
        CComponent* pBattery = c.Add(2, 1, {3.0f});
        CComponent* pResistor = c.Add(3, 1, {1.0f});
        CComponent* pScope = c.Add(1, 5);
        CComponent* pProbed = c.Add(3, 1, {2.0f});
        if (bInput2) {
            c.Join({{pBattery, 0}, {pResistor, 0}, {pScope, 0}, {pProbed, 0}});
            c.Join({{pBattery, 1}, {pResistor, 1}, {pScope, 1}, {pScope, 3}});
            c.Wire(pProbed, 1, pScope, 2);
        } else {
            c.Join({{pBattery, 0}, {pResistor, 0}, {pScope, 0}});
            c.Join({{pBattery, 1}, {pResistor, 1}, {pScope, 1}});
        }
        const Lines body = c.Body();
        const auto& instruments = c.m_netlist.GetInstrumentList();
        ASSERT_EQ(instruments.size(), 1u);
        EXPECT_EQ(instruments[0]->m_fValue[2], 0.0f);
        if (bInput2) {
            // Nodes: battery's first terminal 1 -> 0, second 2, the probed node 3.
            EXPECT_EQ(body, (Lines{"V9 0 2 3.000000", "R10 0 2 1.000000e+000",
                                   "R12 0 3 2.000000e+000", "R1O11 0 2 1e12", "R2O11 3 2 1e12"}));
            EXPECT_EQ(instruments[0]->m_fValue[3], 0.0f);
        } else {
            EXPECT_EQ(body, (Lines{"V6 0 2 3.000000", "R7 0 2 1.000000e+000", "R1O8 0 2 1e12"}));
            EXPECT_TRUE(IsNoValue(instruments[0]->m_fValue[3]));
        }
        // The probes themselves never reach the element list.
        for (const auto& p : c.m_netlist.GetElementList())
            EXPECT_NE(p->m_nSubType, -2);
    }
}

TEST(Netlist, MeterWithAnUnconnectedInputIsMarked) {
    CCircuit c;
    BuildExample1(c);
    CComponent* pVoltmeter = c.Add(1, 2);
    CComponent* pStub = c.Add(3, 1);
    c.Wire(pVoltmeter, 0, pStub, 0); // reaches nothing that carries current
    c.Body();
    const auto& instruments = c.m_netlist.GetInstrumentList();
    ASSERT_EQ(instruments.size(), 1u);
    EXPECT_EQ(instruments[0]->m_nId, pVoltmeter->m_nIndex);
    EXPECT_TRUE(IsNoValue(instruments[0]->m_fValue[2]));
    EXPECT_EQ(instruments[0]->m_fValue[3], 0.0f);
}

// Power supply across the primary, a resistor across the secondary.
TEST(Netlist, TransformerSecondaryIsAnotherSubcircuitTiedByRa) {
    const struct {
        int nSubType;
        float fTurns2;
        Lines secondary;
    } cases[] = {
        {1, 50.0f, {"L5K2 7 8 1.000000"}},
        {3, 100.0f, {"L5K2 8 7 4.000000"}},
    };
    for (const auto& k : cases) {
        CCircuit c;
        CComponent* pSupply = c.Add(2, 3, {220.0f, 50.0f});
        CComponent* pTransformer = c.Add(5, k.nSubType, {50.0f, k.fTurns2, 0.2f});
        CComponent* pLoad = c.Add(3, 1, {1.0f});
        c.Wire(pSupply, 0, pTransformer, 0);
        c.Wire(pSupply, 1, pTransformer, 1);
        c.Wire(pTransformer, 2, pLoad, 0);
        c.Wire(pTransformer, 3, pLoad, 1);
        Lines expected = {"V4 0 2 SIN(0 220.000000 50.000000)",
                          "L5K1 5 6 1.000000",
                          "R11L5K1 5 0 0.000500",
                          "R12L5K1 6 2 0.000500",
                          "******** Another circuit : connected by a single resist",
                          "Ra1 0 3 0.123000",
                          "R6 3 4 1.000000e+000"};
        expected.insert(expected.end(), k.secondary.begin(), k.secondary.end());
        expected.insert(expected.end(),
                        {"R21L5K2 7 3 0.000500", "R22L5K2 8 4 0.000500", "K5 L5K1 L5K2 0.200000"});
        EXPECT_EQ(c.Body(), expected) << "5," << k.nSubType;
    }
}

TEST(Netlist, OneBuildUsesTheListsUp) {
    CCircuit c;
    BuildExample1(c);
    c.m_netlist.BuildElementList(c.m_doc);
    QByteArray bytes;
    EXPECT_EQ(c.m_netlist.BuildNetlist(&bytes), 1);
    EXPECT_EQ(c.m_netlist.BuildNetlist(&bytes), -1);
    EXPECT_TRUE(bytes.isEmpty());
    c.m_netlist.Clear();
    EXPECT_TRUE(c.m_netlist.GetElementList().empty());
    EXPECT_EQ(c.m_netlist.GetEarthNode(), -1);
}

} // namespace

#include "Component.h"
#include "ComponentList.h"
#include "EngineProtocol.h"
#include "Netlist.h"
#include "ProgramState.h"
#include "ResultFiles.h"
#include "SoundService.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QFile>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the simulation asks the sound service for.
class CSoundRecorder : public CSoundService {
public:
    CSoundRecorder() { SetSoundService(this); }
    ~CSoundRecorder() override { SetSoundService(nullptr); }
    void PlayEffect(const char* szName, bool bLooped) override {
        m_events.push_back(std::string(szName) + (bLooped ? " looped" : ""));
    }
    void StopEffects() override { m_events.push_back("stop"); }
    std::vector<std::string> m_events;
};

// A circuit whose netlist is built, with result files written by hand.
class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override { ProgramState().InitProgramFolder(); }
    void TearDown() override {
        Netlist().Clear();
        CVonnDoc::DeleteRunFiles();
    }

    CComponent* Add(int nType, int nSubType, std::initializer_list<float> values = {}) {
        auto* pComp = new CComponent(*FindInfo(nType, nSubType), QPoint(m_nX += 50, 100));
        int i = 0;
        for (float f : values)
            pComp->m_fValue[i++] = f;
        m_doc.m_pComponents->AddTail(pComp);
        return pComp;
    }
    void Wire(CComponent* pA, int i, CComponent* pB, int j) {
        m_doc.m_pWires->AddTail(new CWire(pA, i, pB, j));
    }
    // A source of kind (2,1) in a loop with each given two-terminal part, all in parallel.
    std::vector<CComponent*> Loop(std::initializer_list<std::pair<int, int>> kinds) {
        CComponent* pBattery = Add(2, 1, {6});
        std::vector<CComponent*> parts;
        CComponent* pTop = Add(4, 8);
        CComponent* pBottom = Add(4, 8);
        Wire(pBattery, 0, pTop, 0);
        Wire(pBattery, 1, pBottom, 0);
        int t = 1;
        for (auto [nType, nSubType] : kinds) {
            CComponent* pPart = Add(nType, nSubType);
            Wire(pTop, t, pPart, 0);
            Wire(pPart, 1, pBottom, t);
            ++t;
            parts.push_back(pPart);
        }
        return parts;
    }
    void Build() {
        Netlist().BuildElementList(m_doc);
        QByteArray bytes;
        ASSERT_EQ(Netlist().BuildNetlist(&bytes), 1);
    }
    // Node numbers of a component's first two terminals in the written netlist.
    std::pair<int, int> Nodes(const CComponent* pComp) {
        for (const auto& e : Netlist().GetElementList())
            if (e->m_nId == pComp->m_nIndex)
                return {e->m_nNode[0], e->m_nNode[1]};
        for (const auto& e : Netlist().GetInstrumentList())
            if (e->m_nId == pComp->m_nIndex)
                return {e->m_nNode[0], e->m_nNode[1]};
        ADD_FAILURE() << "no element";
        return {0, 0};
    }
    // Writes one step: pComp's first terminal at 0 V, its second at fVolts.
    void WriteAcross(const CComponent* pComp, float fVolts, const QByteArray& currents = {}) {
        const auto [a, b] = Nodes(pComp);
        QByteArray text = "time = 1.000000e-04\n";
        text += QByteArray::number(a) + ",0\n";
        text += QByteArray::number(b) + "," + QByteArray::number(double(fVolts)) + "\n";
        WriteFiles(text, currents);
    }
    void WriteFiles(const QByteArray& voltages, const QByteArray& currents) {
        const QString strFolder = ProgramState().RunFolder();
        QFile v(strFolder + QStringLiteral("/temp.dat"));
        ASSERT_TRUE(v.open(QIODevice::WriteOnly));
        v.write(voltages);
        v.close();
        QFile a(strFolder + QStringLiteral("/amp.dat"));
        ASSERT_TRUE(a.open(QIODevice::WriteOnly));
        a.write(currents);
    }
    int Step() { return m_doc.ReadResults(Netlist().GetNodeCount(), 0); }

    CVonnDoc m_doc;
    CSoundRecorder m_sound;
    int m_nX = 0;
};

} // namespace

TEST_F(PlaybackTest, LampLightsBurnsAndStaysLit) {
    CComponent* pLamp = Loop({{3, 8}})[0]; // rated 1.8 W at 6 V
    pLamp->m_fValue[2] = 0.1f;
    Build();
    struct Case {
        float fVolts;
        float fState;
        int nAnswer;
    } cases[] = {
        {5.0f, 0.1f, 1}, // 0.833 of its rating: stays off
        {5.2f, 1.1f, 1}, // 0.866: lights
        {3.0f, 1.1f, 1}, // a lit lamp stays lit on less
        {7.0f, 2.1f, 0}, // burns out
        {6.0f, 2.1f, 1}, // and stays burnt
    };
    for (const Case& c : cases) {
        WriteAcross(pLamp, c.fVolts);
        EXPECT_EQ(Step(), c.nAnswer) << c.fVolts;
        EXPECT_EQ(pLamp->m_fValue[2], c.fState) << c.fVolts;
    }
    EXPECT_EQ(pLamp->PictureId(), 421);
    EXPECT_EQ(m_sound.m_events, std::vector<std::string>{"burn.wav"});
}

TEST_F(PlaybackTest, TwoFusesBlowTogetherAndNothingElseMovesThatStep) {
    auto parts = Loop({{3, 10}, {3, 10}, {3, 8}, {1, 2}});
    CComponent* pLamp = parts[2];
    CComponent* pMeter = parts[3];
    pMeter->m_fValue[3] = 1.5f;
    Build();
    WriteAcross(parts[0], 6.0f);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(parts[0]->m_fValue[2], 2.1f);
    EXPECT_EQ(parts[1]->m_fValue[2], 2.1f);
    EXPECT_EQ(parts[0]->PictureId(), 427);
    EXPECT_EQ(pLamp->m_fValue[2], 0.0f);
    EXPECT_EQ(pMeter->m_fValue[3], 1.5f);
    EXPECT_EQ(m_sound.m_events, (std::vector<std::string>{"burn.wav", "burn.wav"}));
}

TEST_F(PlaybackTest, BellRingsStopsAndStaysQuietAfterItsFirstStop) {
    CComponent* pBell = Loop({{3, 12}})[0];
    Build();
    const float volts[] = {6, 6, 0, 6};
    const float states[] = {1.1f, 1.1f, 0.1f, 1.1f};
    for (int i = 0; i < 4; ++i) {
        WriteAcross(pBell, volts[i]);
        EXPECT_EQ(Step(), 1);
        EXPECT_EQ(pBell->m_fValue[2], states[i]) << i;
    }
    EXPECT_EQ(pBell->PictureId(), 435);
    EXPECT_EQ(m_sound.m_events, (std::vector<std::string>{"bellring.wav looped", "stop"}));
}

TEST_F(PlaybackTest, MetersReadTheirBranchCurrentsAndVoltages) {
    auto parts = Loop({{1, 1}, {1, 3}, {1, 2}, {1, 4}});
    Build();
    const QByteArray ammeter = "V" + QByteArray::number(parts[0]->m_nIndex) + "#BRANCH";
    const QByteArray ohmmeter = "v" + QByteArray::number(parts[1]->m_nIndex) + "#branch";
    const QByteArray currents = "vother#branch\n1.0\n" + ammeter + "\n-2.500000e-02\n" + ammeter +
                                "\n9.0\n" + ohmmeter + "\n0.000000e+00\n";
    WriteAcross(parts[2], -4.5f, currents);
    EXPECT_EQ(Step(), 1);
    EXPECT_FLOAT_EQ(parts[0]->m_fValue[3], -0.025f); // the first matching name wins
    EXPECT_EQ(parts[1]->m_fValue[3], 999999.0f);     // no current: the cap
    EXPECT_FLOAT_EQ(parts[2]->m_fValue[3], 4.5f);    // V(T1) - V(T2)
    parts[3]->m_fValue[3] = 0.125f;
    WriteAcross(parts[2], 1.0f, ohmmeter + "\n2e-6\n");
    EXPECT_EQ(Step(), 1);
    EXPECT_FLOAT_EQ(parts[1]->m_fValue[3], 0.5f);
    EXPECT_FLOAT_EQ(parts[0]->m_fValue[3], -0.025f); // not in the file: unchanged
    EXPECT_EQ(parts[3]->m_fValue[3], 0.125f);
}

TEST_F(PlaybackTest, UnconnectedVoltmeterReadsZero) {
    auto parts = Loop({{3, 1}});
    CComponent* pMeter = Add(1, 2);
    CComponent* pDangling = Add(3, 1);
    Wire(pMeter, 0, pDangling, 0);
    pMeter->m_fValue[3] = 7.0f;
    Build();
    WriteAcross(parts[0], 6.0f);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(pMeter->m_fValue[3], 0.0f);
}

TEST_F(PlaybackTest, BadResultFilesSkipTheStepWithoutTouchingAnything) {
    CComponent* pLamp = Loop({{3, 8}})[0];
    pLamp->m_fValue[2] = 0.1f;
    Build();
    const auto [a, b] = Nodes(pLamp);
    const QByteArray good =
        "time = 1e-4\n" + QByteArray::number(a) + ",0\n" + QByteArray::number(b) + ",9.0\n";
    const int n = Netlist().GetNodeCount();
    struct Case {
        const char* pszWhat;
        QByteArray voltages;
        QByteArray currents;
        int nWParam;
    } cases[] = {
        {"no time line", QByteArray::number(a) + ",0\n" + QByteArray::number(b) + ",9\n", "", n},
        {"malformed line", good + "3;1.0\n", "", n},
        {"garbage number", good + "1,abc\n", "", n},
        {"node beyond wParam", good + QByteArray::number(n + 1) + ",1\n", "", n},
        {"negative node", good + "-1,1\n", "", n},
        {"huge node", good + "99999999999999999999,1\n", "", n},
        {"negative wParam", good, "", -1},
        {"absurd wParam", good, "", 2'000'000'000},
        {"name without current", good, "v1#branch\n", n},
        {"current not a number", good, "v1#branch\nnan\n", n},
        {"name too long", good, QByteArray(300, 'v') + "\n1.0\n", n},
    };
    for (const Case& c : cases) {
        WriteFiles(c.voltages, c.currents);
        EXPECT_EQ(m_doc.ReadResults(c.nWParam, 0), 1) << c.pszWhat;
        EXPECT_EQ(pLamp->m_fValue[2], 0.1f) << c.pszWhat;
    }
    CVonnDoc::DeleteRunFiles();
    EXPECT_EQ(Step(), 1); // files missing
    EXPECT_EQ(pLamp->m_fValue[2], 0.1f);
    WriteFiles(good, "");
    EXPECT_EQ(Step(), 0); // the same step, well formed, burns the lamp
}

TEST(StepResults, ReadsEveryNumberForm) {
    CStepResults step;
    ASSERT_TRUE(step.ParseVoltages("time = 2.5e-3\r\n1,1.5\r\n2, -3\r\n\r\n3,4.000000e+000\r\n", 3,
                                   nullptr));
    EXPECT_FLOAT_EQ(step.Time(), 0.0025f);
    EXPECT_TRUE(step.IsKnown(0));
    EXPECT_EQ(step.Voltage(0), 0.0f);
    EXPECT_FLOAT_EQ(step.Voltage(2), -3.0f);
    EXPECT_FLOAT_EQ(step.Voltage(3), 4.0f);
    ASSERT_TRUE(step.ParseVoltages("time = 0\n1,1\n", 3, nullptr));
    EXPECT_FALSE(step.IsKnown(2));
    EXPECT_FALSE(step.IsKnown(4));
    EXPECT_FALSE(step.IsKnown(-1));
    ASSERT_TRUE(step.ParseCurrents("V12#Branch\n1e-3\nx\n2\n", nullptr));
    ASSERT_NE(step.FindBranchCurrent(12), nullptr);
    EXPECT_FLOAT_EQ(*step.FindBranchCurrent(12), 0.001f);
    EXPECT_EQ(step.FindBranchCurrent(1), nullptr);
}

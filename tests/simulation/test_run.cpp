// Runs circuits through the real engine and checks what the components show.
#include "Component.h"
#include "ComponentList.h"
#include "EngineProtocol.h"
#include "EngineRunner.h"
#include "Netlist.h"
#include "ProgramState.h"
#include "ScopeWnd.h"
#include "SoundService.h"
#include "TestSupport.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace {

int CountOpenDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                   .size());
}

bool HasUnreapedChildren() {
    return !(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

bool RunFilesExist() {
    const QDir dir(ProgramState().RunFolder());
    return dir.exists(QStringLiteral("kest.cir")) || dir.exists(QStringLiteral("temp.dat")) ||
           dir.exists(QStringLiteral("amp.dat"));
}

class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ProgramState().InitProgramFolder());
        // ngspice and its code models must be there: a missing one is a failure, not a skip.
        ASSERT_TRUE(QFile::exists(ProgramState().ProgramFile(QStringLiteral("engine"))));
        m_nDescriptors = CountOpenDescriptors();
        m_messages.clear();
        ProgramState().m_pfnShowMessage = [this](const QString& s) { m_messages << s; };
    }
    void TearDown() override {
        ProgramState().m_pfnShowMessage = nullptr;
        if (HasFailure())
            std::fprintf(stderr, "engine log: %s\n", qPrintable(m_strEngineLog));
    }

    bool Open(CVonnDoc& doc, const char* pszExample) {
        QString strError;
        const QString strPath =
            kest::test::BinPath(QStringLiteral("examples/")) + QLatin1String(pszExample);
        const bool bOk = doc.OnOpenDocument(strPath, &strError);
        EXPECT_TRUE(bOk) << pszExample << ": " << strError.toStdString();
        return bOk;
    }

    // Runs until the document has played nSteps result steps (or the engine is gone).
    void Run(CVonnDoc& doc, int nSteps) {
        doc.m_engineOptions = {QLatin1String(CEngineProtocol::kFastOption)};
        QObject::connect(&doc, &CVonnDoc::SimulationFailed, &doc,
                         [this](const QString& s) { m_strEngineLog += s; });
        // Stop at exactly nSteps: the engine in fast mode is always one step ahead.
        QObject::connect(&doc, &CVonnDoc::ReadingsChanged, &doc, [&doc, nSteps] {
            if (doc.m_nResultSteps >= nSteps)
                EngineRunner().Terminate();
        });
        doc.StartSimulation();
        QElapsedTimer timer;
        timer.start();
        while (doc.m_nResultSteps < nSteps && EngineRunner().IsRunning() && timer.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EngineRunner().Terminate();
    }

    CComponent* At(CVonnDoc& doc, int nIndex) {
        return *std::next(doc.m_pComponents->begin(), nIndex);
    }
    CComponent* Find(CVonnDoc& doc, int nType, int nSubType, int nNth = 0) {
        for (CComponent* p : *doc.m_pComponents)
            if (p->m_nType == nType && p->m_nSubType == nSubType && nNth-- == 0)
                return p;
        return nullptr;
    }

    void ExpectClean(CVonnDoc& doc) {
        doc.StopSimulation();
        QCoreApplication::processEvents(); // deleted notifiers
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(EngineRunner().IsRunning());
        EXPECT_FALSE(HasUnreapedChildren());
        EXPECT_FALSE(RunFilesExist());
        EXPECT_EQ(CountOpenDescriptors(), m_nDescriptors);
    }

    int m_nDescriptors = 0;
    QStringList m_messages;
    QString m_strEngineLog;
};

} // namespace

TEST_F(RunTest, MetersOnADivider) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "divider.kst"));
    Run(doc, 20);
    EXPECT_GE(doc.m_nResultSteps, 20);
    EXPECT_NEAR(Find(doc, 1, 2)->m_fValue[3], 6.0, 1e-4);   // volts
    EXPECT_NEAR(Find(doc, 1, 1)->m_fValue[3], 0.003, 1e-7); // amperes
    ExpectClean(doc);
    EXPECT_TRUE(IsNoValue(Find(doc, 1, 2)->m_fValue[3]));
}

TEST_F(RunTest, AmmeterInTheLampCircuitReadsThreeVoltsOverTwentyOneOhms) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "lamp.kst"));
    Run(doc, 5);
    EXPECT_NEAR(Find(doc, 1, 1)->m_fValue[3], 3.0 / 21.0, 1e-5);
    EXPECT_EQ(Find(doc, 3, 8)->m_fValue[2], 0.1f); // 2.86 V on a 6 V lamp: dark
    ExpectClean(doc);
}

TEST_F(RunTest, ALampBurnsOutAndTheRunStartsAgainWithoutIt) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "lamps.kst"));
    int nRestarts = 0;
    QObject::connect(&doc, &CVonnDoc::RunRestarted, [&] { ++nRestarts; });
    Run(doc, 10);
    CComponent* pBig = Find(doc, 3, 6, 0);
    CComponent* pSmall = Find(doc, 3, 6, 1);
    if (pBig->m_fValue[1] < pSmall->m_fValue[1])
        std::swap(pBig, pSmall);
    EXPECT_EQ(pSmall->m_fValue[2], 2.1f);
    EXPECT_EQ(pBig->m_fValue[2], 1.1f);
    EXPECT_EQ(nRestarts, 1);
    // The new netlist leaves the burnt lamp out.
    const QByteArray netlist =
        kest::test::ReadFileBytes(ProgramState().RunFolder() + QStringLiteral("/kest.cir"));
    EXPECT_FALSE(netlist.contains("\r\nR" + QByteArray::number(pSmall->m_nIndex) + " "));
    ExpectClean(doc);
    EXPECT_EQ(pSmall->m_fValue[2], 0.1f); // Construct makes it whole
}

struct FuseCase {
    float fOhms;
    bool bBlows;
};

class FuseTest : public RunTest, public ::testing::WithParamInterface<FuseCase> {};

// A fuse of 1e-4 Ohm standing 3e-5 V blows above 0.3 A.
TEST_P(FuseTest, BlowsAboveItsRating) {
    CVonnDoc doc;
    auto* pBattery = new CComponent(*FindInfo(2, 1), QPoint(0, 0));
    pBattery->m_fValue[0] = 3.0f;
    auto* pR = new CComponent(*FindInfo(3, 1), QPoint(100, 0));
    pR->m_fValue[0] = GetParam().fOhms;
    auto* pFuse = new CComponent(*FindInfo(3, 10), QPoint(200, 0));
    for (CComponent* p : {pBattery, pR, pFuse})
        doc.m_pComponents->AddTail(p);
    doc.m_pWires->AddTail(new CWire(pBattery, 1, pR, 0));
    doc.m_pWires->AddTail(new CWire(pR, 1, pFuse, 0));
    doc.m_pWires->AddTail(new CWire(pFuse, 1, pBattery, 0));
    Run(doc, 3);
    EXPECT_EQ(pFuse->m_fValue[2], GetParam().bBlows ? 2.1f : 0.1f) << GetParam().fOhms;
    // After the blow nothing is left to simulate: no engine, run mode stays.
    EXPECT_EQ(EngineRunner().IsRunning(), false);
    EXPECT_TRUE(doc.IsRunning());
    ExpectClean(doc);
}

INSTANTIATE_TEST_SUITE_P(Currents, FuseTest,
                         ::testing::Values(FuseCase{9.5f, true}, FuseCase{10.5f, false}));

TEST_F(RunTest, TheFuseExampleBlows) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "fuse.kst"));
    Run(doc, 5);
    EXPECT_EQ(Find(doc, 3, 10)->m_fValue[2], 2.1f);
    ExpectClean(doc);
}

TEST_F(RunTest, BellRingsWithItsSound) {
    struct CRecorder : CSoundService {
        QStringList events;
        void PlayEffect(const char* sz, bool b) override {
            events << QString::fromLatin1(sz) + (b ? "+" : "");
        }
        void StopEffects() override { events << QStringLiteral("stop"); }
    } recorder;
    SetSoundService(&recorder);
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "bell.kst"));
    Run(doc, 5);
    EXPECT_EQ(Find(doc, 3, 12)->m_fValue[2], 1.1f);
    EXPECT_EQ(recorder.events, QStringList{QStringLiteral("bellring.wav+")});
    ExpectClean(doc);
    SetSoundService(nullptr);
}

TEST_F(RunTest, OhmmetersAcrossAResistorAndACapacitor) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "ohmmeter.kst"));
    Run(doc, 5);
    float fResistor = 0, fCapacitor = 0;
    for (CComponent* p : *doc.m_pComponents)
        if (p->m_nType == 1 && p->m_nSubType == 3)
            (p->m_pWire[1] && p->m_pWire[1]->m_pCompB->m_nType == 7 ? fCapacitor : fResistor) =
                p->m_fValue[3];
    EXPECT_NEAR(fResistor, 0.0047, 1e-7); // megaohms
    EXPECT_EQ(fCapacitor, 999999.0f);
    ExpectClean(doc);
}

TEST_F(RunTest, TransformerSecondaryCarriesHalfThePrimaryVoltage) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "transformer.kst"));
    float fPeak = 0;
    QObject::connect(&doc, &CVonnDoc::ReadingsChanged,
                     [&] { fPeak = std::max(fPeak, std::fabs(Find(doc, 1, 2)->m_fValue[3])); });
    Run(doc, 400);                // two cycles of 50 Hz
    EXPECT_NEAR(fPeak, 6.0, 0.4); // 12 V peak, 100 : 50 turns, coupling 0.99
    ExpectClean(doc);
}

TEST_F(RunTest, OscilloscopeChannelsFollowTheAmplifier) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "amplifier.kst"));
    CComponent* pScope = Find(doc, 1, 5);
    ASSERT_TRUE(pScope->m_pScope->IsVisible());
    Run(doc, 25); // a quarter period of 100 Hz
    EXPECT_NEAR(pScope->m_fValue[2], 0.5, 0.01);
    EXPECT_NEAR(pScope->m_fValue[3], -5.0, 0.1);
    EXPECT_GE(pScope->m_pScope->m_nSamples, 24);
    EXPECT_EQ(pScope->m_pScope->m_strReading1, QStringLiteral("= 0.50 V"));
    ExpectClean(doc);
    EXPECT_EQ(pScope->m_pScope->m_nSamples, 0);
}

TEST_F(RunTest, NothingToSimulateStartsNoEngineAndLeavesNoFile) {
    CVonnDoc doc;
    auto* pBattery = new CComponent(*FindInfo(2, 1), QPoint(0, 0));
    auto* pSwitch = new CComponent(*FindInfo(4, 1), QPoint(100, 0));
    auto* pR = new CComponent(*FindInfo(3, 1), QPoint(200, 0));
    doc.m_pComponents->AddTail(pBattery);
    doc.m_pComponents->AddTail(pSwitch);
    doc.m_pComponents->AddTail(pR);
    doc.m_pWires->AddTail(new CWire(pBattery, 0, pSwitch, 0));
    doc.m_pWires->AddTail(new CWire(pSwitch, 1, pR, 0));
    doc.m_pWires->AddTail(new CWire(pR, 1, pBattery, 1));
    EXPECT_FALSE(doc.StartSimulation());
    EXPECT_TRUE(doc.IsRunning());
    EXPECT_FALSE(EngineRunner().IsRunning());
    EXPECT_FALSE(RunFilesExist());
    // Clicking the switch closes the loop and runs it.
    doc.m_engineOptions = {QLatin1String(CEngineProtocol::kFastOption)};
    doc.ToggleSwitchWhileRunning(pSwitch);
    EXPECT_TRUE(EngineRunner().IsRunning());
    EXPECT_EQ(pSwitch->m_fValue[0], 1.1f);
    ExpectClean(doc);
    EXPECT_EQ(pSwitch->m_fValue[0], 0.1f);
}

TEST_F(RunTest, EngineThatDiesOnItsOwnIsReaped) {
    CVonnDoc doc;
    ASSERT_TRUE(Open(doc, "divider.kst"));
    doc.StartSimulation(); // paced: it waits between steps
    ASSERT_TRUE(EngineRunner().IsRunning());
    ::kill(EngineRunner().Pid(), SIGKILL);
    QElapsedTimer timer;
    timer.start();
    while (EngineRunner().IsRunning() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(EngineRunner().IsRunning());
    EXPECT_FALSE(HasUnreapedChildren());
    EXPECT_TRUE(doc.IsRunning());
    ExpectClean(doc);
}

TEST_F(RunTest, RefusedCircuitSaysWhyAndMissingEngineIsReported) {
    CVonnDoc doc;
    auto* pBattery = new CComponent(*FindInfo(2, 1), QPoint(0, 0));
    auto* pAmmeter = new CComponent(*FindInfo(1, 1), QPoint(100, 0));
    doc.m_pComponents->AddTail(pBattery);
    doc.m_pComponents->AddTail(pAmmeter);
    doc.m_pWires->AddTail(new CWire(pBattery, 0, pAmmeter, 0));
    doc.m_pWires->AddTail(new CWire(pAmmeter, 1, pBattery, 1));
    QString strReason;
    QObject::connect(&doc, &CVonnDoc::SimulationFailed, [&](const QString& s) { strReason = s; });
    Run(doc, 1);
    EXPECT_EQ(doc.m_nResultSteps, 0);
    EXPECT_TRUE(strReason.contains(QStringLiteral("singular"), Qt::CaseInsensitive))
        << strReason.toStdString();
    ExpectClean(doc);

    const QString strSaved = ProgramState().m_strProgramFolder;
    QTemporaryDir empty;
    ProgramState().m_strProgramFolder = empty.path();
    ASSERT_TRUE(Open(doc, "divider.kst"));
    EXPECT_FALSE(doc.StartSimulation());
    ProgramState().m_strProgramFolder = strSaved;
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Error in executing Engine.exe")});
    EXPECT_FALSE(RunFilesExist());
    ExpectClean(doc);
}

TEST(SimulateCommand, PrintsEveryComponentAfterTheSteps) {
    QProcess kest;
    kest.start(kest::test::BinPath(QStringLiteral("kest")),
               {QStringLiteral("--simulate"),
                kest::test::BinPath(QStringLiteral("examples/divider.kst")),
                QStringLiteral("--steps"), QStringLiteral("10")});
    ASSERT_TRUE(kest.waitForFinished(60000));
    EXPECT_EQ(kest.exitCode(), 0) << kest.readAllStandardError().toStdString();
    const QList<QByteArray> lines = kest.readAllStandardOutput().split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], "index,type,subtype,value0,value1,value2,value3");
    EXPECT_TRUE(lines.contains("1,1,2,2.1,0,-6789,6")) << lines.join('|').toStdString();
    EXPECT_TRUE(lines.contains("5,1,1,1.1,0,-6789,0.003"));

    QTemporaryDir dir;
    QFile bad(dir.filePath(QStringLiteral("bad.kst")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(20, '\0'));
    bad.close();
    struct Case {
        QString strFile;
        const char* pszMessage;
    } cases[] = {{bad.fileName(), "Unexpected file format."},
                 {dir.filePath(QStringLiteral("none.kst")), "Failed to open document."}};
    for (const Case& c : cases) {
        kest.start(kest::test::BinPath(QStringLiteral("kest")),
                   {QStringLiteral("--simulate"), c.strFile});
        ASSERT_TRUE(kest.waitForFinished(60000));
        EXPECT_EQ(kest.exitCode(), 2);
        EXPECT_TRUE(kest.readAllStandardError().contains(c.pszMessage));
    }
}

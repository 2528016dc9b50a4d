#include "BatchCommands.h"
#include "Component.h"
#include "ComponentList.h"
#include "TestSupport.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Runs kest's command line in this process and collects what it prints on stderr.
struct SCommandResult {
    int nExit = -1;
    bool bHandled = false;
    QByteArray stderrBytes;
};

SCommandResult RunKest(const QStringList& args, const QString& strStderrFile) {
    std::vector<QByteArray> storage{QByteArray("kest")};
    for (const QString& arg : args)
        storage.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::fflush(stderr);
    const int nSaved = ::dup(STDERR_FILENO);
    const int nFile =
        ::open(QFile::encodeName(strStderrFile).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(nFile, STDERR_FILENO);
    ::close(nFile);
    SCommandResult result;
    result.nExit = RunBatchCommand(int(argv.size()) - 1, argv.data(), &result.bHandled);
    std::fflush(stderr);
    ::dup2(nSaved, STDERR_FILENO);
    ::close(nSaved);
    result.stderrBytes = kest::test::ReadFileBytes(strStderrFile);
    return result;
}

class NetlistCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_strErr = m_dir.filePath("stderr.txt");
    }
    QString Path(const char* szName) const { return m_dir.filePath(QString::fromLatin1(szName)); }
    // Saves worked example 1, with its switch-free loop opened by a switch when asked.
    QString SaveExample(const char* szName, bool bOpenSwitch) {
        CVonnDoc doc;
        auto Add = [&](int nType, int nSubType) {
            auto* p = new CComponent(*FindInfo(nType, nSubType), QPoint(40, 40));
            doc.m_pComponents->AddTail(p);
            return p;
        };
        CComponent* pBattery = Add(2, 1);
        CComponent* pResistor = Add(3, 1);
        CComponent* pLamp = Add(3, 8);
        pBattery->m_fValue[0] = 3.0f;
        doc.m_pWires->AddTail(new CWire(pBattery, 0, pResistor, 0));
        doc.m_pWires->AddTail(new CWire(pResistor, 1, pLamp, 0));
        if (bOpenSwitch) {
            CComponent* pSwitch = Add(4, 1);
            pSwitch->m_fValue[0] = 0.1f;
            doc.m_pWires->AddTail(new CWire(pLamp, 1, pSwitch, 0));
            doc.m_pWires->AddTail(new CWire(pSwitch, 1, pBattery, 1));
        } else {
            doc.m_pWires->AddTail(new CWire(pLamp, 1, pBattery, 1));
        }
        QString strError;
        EXPECT_TRUE(doc.OnSaveDocument(Path(szName), &strError)) << strError.toStdString();
        return Path(szName);
    }

    QTemporaryDir m_dir;
    QString m_strErr;
};

TEST_F(NetlistCommand, WritesTheNetlistRunWouldWrite) {
    const QString strCircuit = SaveExample("example1.kst", false);
    const SCommandResult r = RunKest({"--netlist", strCircuit, Path("out.cir")}, m_strErr);
    EXPECT_TRUE(r.bHandled);
    EXPECT_EQ(r.nExit, 0);
    EXPECT_TRUE(r.stderrBytes.isEmpty());
    EXPECT_EQ(kest::test::ReadFileBytes(Path("out.cir")),
              kest::test::ReadFileBytes(kest::test::DataPath("simulation/netlist/example1.cir")));
}

TEST_F(NetlistCommand, NothingToSimulateExitsThreeWithoutAFile) {
    const QString strCircuit = SaveExample("open.kst", true);
    const SCommandResult r = RunKest({"--netlist", strCircuit, Path("out.cir")}, m_strErr);
    EXPECT_EQ(r.nExit, 3);
    EXPECT_FALSE(QFile::exists(Path("out.cir")));
}

TEST_F(NetlistCommand, UnreadableCircuitsAndBadUsageExitTwo) {
    QFile junk(Path("junk.kst"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a circuit at all");
    junk.close();
    const QString strGood = SaveExample("good.kst", false);
    QFile blocker(Path("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const struct {
        QStringList args;
        const char* szMessage;
    } cases[] = {
        {{"--netlist", Path("missing.kst"), Path("out.cir")}, "Failed to open document.\n"},
        {{"--netlist", Path("junk.kst"), Path("out.cir")}, "Unexpected file format.\n"},
        {{"--netlist", strGood}, "usage: kest --netlist CIRCUIT.kst OUT.cir\n"},
        {{"--netlist", strGood, Path("out.cir"), "extra"},
         "usage: kest --netlist CIRCUIT.kst OUT.cir\n"},
        {{strGood, "--netlist", Path("out.cir")}, "usage: kest --netlist CIRCUIT.kst OUT.cir\n"},
        // An output that cannot be written is a failure, never a success.
        {{"--netlist", strGood, Path("file/out.cir")}, nullptr},
    };
    for (const auto& k : cases) {
        const SCommandResult r = RunKest(k.args, m_strErr);
        EXPECT_TRUE(r.bHandled);
        EXPECT_EQ(r.nExit, 2) << k.args.join(' ').toStdString();
        if (k.szMessage)
            EXPECT_EQ(r.stderrBytes, QByteArray(k.szMessage));
        else
            EXPECT_FALSE(r.stderrBytes.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(Path("out.cir")));

    const SCommandResult none = RunKest({strGood}, m_strErr);
    EXPECT_FALSE(none.bHandled);
}

// The program itself, when this build has it: no display, no platform chosen.
TEST_F(NetlistCommand, ProgramNeedsNoDisplay) {
    const QString strKest = kest::test::BinPath("kest");
    if (!QFile::exists(strKest))
        GTEST_SKIP() << "kest is not built in this tree";
    const QString strCircuit = SaveExample("example1.kst", false);
    QProcess kest;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    kest.setProcessEnvironment(env);
    kest.start(strKest, {"--netlist", strCircuit, Path("out.cir")});
    ASSERT_TRUE(kest.waitForFinished(30000));
    EXPECT_EQ(kest.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(kest.exitCode(), 0) << kest.readAllStandardError().toStdString();
    EXPECT_EQ(kest::test::ReadFileBytes(Path("out.cir")),
              kest::test::ReadFileBytes(kest::test::DataPath("simulation/netlist/example1.cir")));

    kest.start(strKest, {"--netlist", SaveExample("open.kst", true), Path("none.cir")});
    ASSERT_TRUE(kest.waitForFinished(30000));
    EXPECT_EQ(kest.exitCode(), 3);
    EXPECT_FALSE(QFile::exists(Path("none.cir")));
}

} // namespace

#include "FakeUi.h"
#include "ProgManager.h"
#include "SetupEngine.h"
#include "SetupText.h"
#include "UnattendedUi.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

const char kScript[] = "[General]\nDisks=1\nOriginalSize=1000\nInstallPath=kest\n\n"
                       "[Disk1]\na.bin a.bin\nkest kest\n";

class Flow : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(m_tmp.path()).mkpath("disk1");
        ASSERT_TRUE(WriteBytes(m_tmp.path() + "/disk1/Setup.ini", kScript));
        ASSERT_TRUE(WriteBytes(m_tmp.path() + "/disk1/a.bin", Pattern(3000)));
        ASSERT_TRUE(WriteBytes(m_tmp.path() + "/disk1/kest", "#!/bin/sh\nexit 0\n"));
    }
    bool Run(CSetupUi& ui, qint64 nFree = -1) {
        CSetupEngine engine(&ui, &m_progManager, m_tmp.path() + "/disk1");
        engine.m_nPauseMs = 0;
        if (nFree >= 0)
            engine.m_freeBytes = [nFree](const QString&) { return nFree; };
        return engine.Run();
    }
    QString Dest() const { return m_tmp.path() + "/dest"; }

    QTemporaryDir m_tmp;
    CProgManager m_progManager{m_tmp.path() + "/data"};
};

TEST_F(Flow, QuitFromAPageOrABrokenScriptEndsIncomplete) {
    const QString incomplete = QStringLiteral("error:") + SetupText::kIncomplete;
    {
        // Escape on the welcome page, Resume, then Exit Setup.
        CFakeUi ui;
        ui.m_anWelcome = {2, 1001};
        ui.m_anQuit = {1013, 1001};
        EXPECT_FALSE(Run(ui));
        EXPECT_EQ(ui.m_astrLog,
                  QStringList({"licence", "welcome", "quit", "welcome", "quit", incomplete}));
    }
    {
        ASSERT_TRUE(WriteBytes(m_tmp.path() + "/disk1/Setup.ini",
                               "[General]\nDisks=2\nOriginalSize=1\nInstallPath=k\n[Disk1]\n"));
        CFakeUi ui;
        EXPECT_FALSE(Run(ui));
        EXPECT_EQ(ui.m_astrLog, QStringList({incomplete})) << "no page before the script";
    }
}

TEST_F(Flow, ExistingCopyBackReopensTheDestinationWithTheLastDirectory) {
    QDir().mkpath(Dest());
    ASSERT_TRUE(WriteBytes(Dest() + "/kest", "old"));
    CFakeUi ui;
    ui.m_astrDestinations = {Dest(), Dest()};
    ui.m_anExisting = {1011, 1000};
    EXPECT_TRUE(Run(ui));
    EXPECT_EQ(ui.m_astrLog, QStringList({"licence", "welcome", "destination:kest", "existing",
                                         "destination:" + Dest(), "existing", "installing:a.bin",
                                         "installing:kest", "done"}));
    EXPECT_EQ(ui.m_nSteps, 2);
    EXPECT_EQ(m_progManager.ReceivedCommands().size(), 8);
}

TEST_F(Flow, NotEnoughSpaceAsksUntilTheUserQuits) {
    CFakeUi ui;
    ui.m_astrDestinations = {Dest()};
    ui.m_anDiskSpace = {1000, 1001, 1001};
    ui.m_anQuit = {1013, 1001};
    EXPECT_FALSE(Run(ui, 1000 * 1024 - 1));
    EXPECT_EQ(ui.m_astrLog.mid(3),
              QStringList({"diskspace", "diskspace", "quit", "diskspace", "quit",
                           QStringLiteral("error:") + SetupText::kIncomplete}));
}

QStringList RunUnattended(const QString& strSource, const QString& strDest,
                          const QStringList& astrDisks, CProgManager* pProgManager, bool* pOk) {
    FILE* pOut = std::tmpfile();
    CUnattendedUi ui(strDest, astrDisks, pOut);
    CSetupEngine engine(&ui, pProgManager, strSource);
    engine.m_nPauseMs = 0;
    *pOk = engine.Run();
    std::rewind(pOut);
    QByteArray text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pOut)) > 0)
        text.append(buffer, static_cast<qsizetype>(n));
    std::fclose(pOut);
    return QString::fromLocal8Bit(text).split('\n', Qt::SkipEmptyParts);
}

TEST_F(Flow, UnattendedPrintsEachPageAndEndsWithItsOutcome) {
    bool bOk = false;
    QStringList out = RunUnattended(m_tmp.path() + "/disk1", Dest(), {}, &m_progManager, &bOk);
    EXPECT_TRUE(bOk);
    EXPECT_TRUE(out.contains(SetupText::kLicenceQuestion));
    EXPECT_TRUE(out.contains(SetupText::kInProgress));
    EXPECT_TRUE(out.contains("Installing: kest"));
    EXPECT_EQ(out.last(), SetupText::kDone);

    // A missing source file: its message, then the end.
    ASSERT_TRUE(QFile::remove(m_tmp.path() + "/disk1/a.bin"));
    out = RunUnattended(m_tmp.path() + "/disk1", Dest(), {}, &m_progManager, &bOk);
    EXPECT_FALSE(bOk);
    EXPECT_TRUE(out.contains(SetupText::kExistingCopy));
    EXPECT_EQ(out.mid(out.size() - 2),
              QStringList({SetupText::kCannotRead, SetupText::kIncomplete}));

    // A destination that cannot be created quits instead of asking forever.
    ASSERT_TRUE(WriteBytes(m_tmp.path() + "/file", "x"));
    out = RunUnattended(m_tmp.path() + "/disk1", m_tmp.path() + "/file/sub", {}, &m_progManager,
                        &bOk);
    EXPECT_FALSE(bOk);
    EXPECT_TRUE(out.contains(SetupText::kCannotCreateDestination));
    EXPECT_EQ(out.last(), SetupText::kIncomplete);
}

} // namespace

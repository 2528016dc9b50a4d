#include "FakeUi.h"
#include "SetupEngine.h"
#include "SetupText.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using kest::test::DataPath;
using kest::test::ReadFileBytes;

// A disk folder, a destination and an engine set up for a 1000 KB installation.
class CopyStage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        QDir(m_tmp.path()).mkpath("disk1");
        QDir(m_tmp.path()).mkpath("disk2");
        QDir(m_tmp.path()).mkpath("dest");
        m_engine.m_strDestination = m_tmp.path() + "/dest";
        m_engine.m_nInstalledSize = 1000;
        m_engine.m_nChunkSize = 10240;
    }
    QString Disk(int n) const { return m_tmp.path() + QStringLiteral("/disk%1/").arg(n); }
    QString Dest(const QString& name) const { return m_tmp.path() + "/dest/" + name; }

    QTemporaryDir m_tmp;
    CFakeUi m_ui;
    CSetupEngine m_engine{&m_ui, nullptr, m_tmp.path() + "/disk1"};
};

TEST_F(CopyStage, ChunksStepTheBarOncePerReadIncludingTheEmptyLast) {
    const struct {
        int m_nBytes;
        int m_nSteps;
    } cases[] = {{25600, 3}, {20480, 3}, {0, 1}, {10239, 1}};
    for (const auto& c : cases) {
        const QByteArray data = Pattern(c.m_nBytes, c.m_nBytes);
        ASSERT_TRUE(WriteBytes(Disk(1) + "file.bin", data));
        m_ui.m_nSteps = 0;
        EXPECT_EQ(m_engine.CopyFile("file.bin", "file.bin"), CSetupEngine::kCopied);
        EXPECT_EQ(m_ui.m_nSteps, c.m_nSteps) << c.m_nBytes;
        EXPECT_EQ(ReadFileBytes(Dest("file.bin")), data) << c.m_nBytes;
    }
}

TEST_F(CopyStage, ExpandsIntoSubfoldersAndMarksProgramsExecutable) {
    ASSERT_TRUE(QFile::copy(DataPath("setup/sample.tx_"), Disk(1) + "drag.wa_"));
    EXPECT_EQ(m_engine.CopyFile("drag.wa_", "sound\\deep\\drag.wav"), CSetupEngine::kCopied);
    EXPECT_EQ(ReadFileBytes(Dest("sound/deep/drag.wav")),
              ReadFileBytes(DataPath("setup/sample.txt")));
    EXPECT_FALSE(QFileInfo(Dest("sound/deep/drag.wav")).isExecutable());

    ASSERT_TRUE(WriteBytes(Disk(1) + "prog", "\x7f"
                                             "ELF and the rest"));
    EXPECT_EQ(m_engine.CopyFile("prog", "prog"), CSetupEngine::kCopied);
    EXPECT_TRUE(QFileInfo(Dest("prog")).isExecutable());
}

TEST_F(CopyStage, ResultCodesForEachFailure) {
    ASSERT_TRUE(WriteBytes(Disk(1) + "ok.bin", Pattern(30000)));
    ASSERT_TRUE(QFile::copy(DataPath("setup/truncated.tx_"), Disk(1) + "cut.tx_"));
    EXPECT_EQ(m_engine.CopyFile("missing.bin", "missing.bin"), CSetupEngine::kCannotOpenSource);
    EXPECT_EQ(m_engine.CopyFile("cut.tx_", "cut.txt"), CSetupEngine::kCannotReadSource);
    EXPECT_EQ(m_engine.CopyFile("ok.bin", "..\\escaped.bin"), CSetupEngine::kCannotCreateTarget);
    EXPECT_FALSE(QFile::exists(m_tmp.path() + "/escaped.bin"));
    EXPECT_EQ(m_engine.CopyFile("ok.bin", "/tmp/escaped.bin"), CSetupEngine::kCannotCreateTarget);

    // A plain file where a folder must go: the target cannot be created.
    ASSERT_TRUE(WriteBytes(Dest("sound"), "x"));
    EXPECT_EQ(m_engine.CopyFile("ok.bin", "sound/a.bin"), CSetupEngine::kCannotCreateTarget);

    // A full device: the write fails.
    ASSERT_TRUE(QFile::link("/dev/full", Dest("full.bin")));
    EXPECT_EQ(m_engine.CopyFile("ok.bin", "full.bin"), CSetupEngine::kCannotWriteTarget);
}

TEST_F(CopyStage, AbortStopsAtAChunkBoundaryAndKeepsThePartlyCopiedFile) {
    const QByteArray data = Pattern(50000);
    ASSERT_TRUE(WriteBytes(Disk(1) + "big.bin", data));
    m_ui.m_nAbortAtEvent = 2;
    EXPECT_EQ(m_engine.CopyFile("big.bin", "big.bin"), CSetupEngine::kAborted);
    EXPECT_EQ(ReadFileBytes(Dest("big.bin")), data.left(2 * 10240));
    EXPECT_EQ(m_ui.m_nSteps, 1) << "the aborted chunk does not step the bar";
}

TEST_F(CopyStage, SecondDiskComesFromThePromptedFolder) {
    ASSERT_TRUE(WriteBytes(Disk(1) + "a.bin", Pattern(100, 1)));
    ASSERT_TRUE(WriteBytes(Disk(2) + "b.bin", Pattern(100, 2)));
    m_engine.m_nDisks = 2;
    m_engine.m_aSourceNames = {{"a.bin"}, {"b.bin"}};
    m_engine.m_aTargetNames = {{"a.bin"}, {"sub\\b.bin"}};
    // Exit Setup at the prompt, then Resume, then the folder without its trailing slash.
    m_ui.m_astrDiskFolders = {QString(), m_tmp.path() + "/disk2"};
    m_ui.m_anQuit = {1013};
    EXPECT_TRUE(m_engine.CopyFiles());
    EXPECT_EQ(m_ui.m_astrLog, QStringList({"installing:a.bin", "nextdisk:" + Disk(1), "quit",
                                           "nextdisk:" + Disk(1), "installing:b.bin"}));
    EXPECT_EQ(m_engine.m_strSourceFolder, Disk(2));
    EXPECT_EQ(ReadFileBytes(Dest("sub/b.bin")), Pattern(100, 2));
    EXPECT_TRUE(m_engine.m_aSourceNames.empty()) << "the lists are released after the copy";
}

TEST_F(CopyStage, FailuresShowTheirMessageAndEndTheStage) {
    const struct {
        QStringList m_astrSources;
        QStringList m_astrTargets;
        int m_nAbortAt;
        QStringList m_astrLog;
    } cases[] = {
        {{"missing"},
         {"missing"},
         0,
         {"installing:missing", QStringLiteral("error:") + SetupText::kCannotRead}},
        {{"a.bin"},
         {"../a.bin"},
         0,
         {"installing:a.bin", QStringLiteral("error:") + SetupText::kCannotWrite}},
        {{"a.bin", "a.bin"}, {"x", "y"}, 1, {"installing:a.bin"}},
    };
    ASSERT_TRUE(WriteBytes(Disk(1) + "a.bin", Pattern(10)));
    for (const auto& c : cases) {
        CFakeUi ui;
        ui.m_nAbortAtEvent = c.m_nAbortAt;
        CSetupEngine engine(&ui, nullptr, Disk(1));
        engine.m_strDestination = m_tmp.path() + "/dest";
        engine.m_nInstalledSize = 1000;
        engine.m_nDisks = 1;
        engine.m_aSourceNames = {c.m_astrSources};
        engine.m_aTargetNames = {c.m_astrTargets};
        EXPECT_FALSE(engine.CopyFiles());
        EXPECT_EQ(ui.m_astrLog, c.m_astrLog);
    }
}

} // namespace

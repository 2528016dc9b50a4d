#include "FakeUi.h"
#include "ProgManager.h"
#include "SetupEngine.h"
#include "SetupText.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList Items(const CProgManager& progManager) {
    return QDir(progManager.GroupFolder("Electronics")).entryList({"*.desktop"}, QDir::Files);
}

QString ReadText(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ProgramGroup, EightCommandsInOrderAndOneItemPerTitleAfterTwoRuns) {
    QTemporaryDir tmp;
    CProgManager progManager(tmp.path() + "/data");
    for (int nRun = 0; nRun < 2; ++nRun) {
        CFakeUi ui;
        CSetupEngine engine(&ui, &progManager, tmp.path());
        engine.m_nPauseMs = 0;
        engine.m_strDestination = "/opt/KEST";
        engine.Finish();
        EXPECT_EQ(ui.m_astrLog, QStringList({"done"}));
    }
    const QStringList eight = {
        "[CreateGroup(Electronics, 0)]", "[ShowGroup(Electronics, 1, 0)]",
        "[ReplaceItem(KEST 1.0)]",       "[AddItem(/opt/KEST/kest, KEST 1.0)]",
        "[ReplaceItem(KEST Help)]",      "[AddItem(winhlp32 /opt/KEST/kest.html, KEST Help)]",
        "[ReplaceItem(KEST 1.0)]",       "[AddItem(/opt/KEST/kest, KEST 1.0)]",
    };
    EXPECT_EQ(progManager.ReceivedCommands(), eight + eight);
    EXPECT_EQ(Items(progManager), QStringList({"KEST_1.0.desktop", "KEST_Help.desktop"}));
    const QString item = ReadText(progManager.GroupFolder("Electronics") + "/KEST_1.0.desktop");
    EXPECT_TRUE(item.contains("\nName=KEST 1.0\n"));
    EXPECT_TRUE(item.contains("\nExec=\"/opt/KEST/kest\"\n"));
    EXPECT_TRUE(ReadText(progManager.GroupFolder("Electronics") + "/KEST_Help.desktop")
                    .contains("\nExec=xdg-open \"/opt/KEST/kest.html\"\n"));
    EXPECT_TRUE(ReadText(tmp.path() + "/data/desktop-directories/Electronics.directory")
                    .contains("Name=Electronics"));
}

TEST(ProgramGroup, AddItemWithoutReplaceItemKeepsBoth) {
    QTemporaryDir tmp;
    CProgManager progManager(tmp.path());
    EXPECT_TRUE(progManager.Execute("[CreateGroup(Electronics, 0)]"));
    EXPECT_TRUE(progManager.Execute("[AddItem(/a/kest, KEST 1.0)]"));
    EXPECT_TRUE(progManager.Execute("[AddItem(/a/kest, KEST 1.0)]"));
    EXPECT_EQ(Items(progManager).size(), 2);
    EXPECT_TRUE(progManager.Execute("[ReplaceItem(KEST 1.0)]"));
    EXPECT_TRUE(Items(progManager).isEmpty());
    EXPECT_FALSE(progManager.Execute("AddItem(/a/kest, KEST 1.0)"));
    EXPECT_FALSE(progManager.Execute("[ShowGroup(Nowhere, 1, 0)]"));
}

TEST(ProgramGroup, LongAndOddDestinationsArriveWhole) {
    QTemporaryDir tmp;
    CProgManager progManager(tmp.path());
    CFakeUi ui;
    CSetupEngine engine(&ui, &progManager, tmp.path());
    engine.m_nPauseMs = 0;
    engine.m_strDestination = "/media/" + QString(150, 'd') + "/a, b $x \"q\" 100%";
    engine.Finish();
    EXPECT_EQ(progManager.ReceivedCommands().at(3),
              "[AddItem(" + engine.m_strDestination + "/kest, KEST 1.0)]");
    EXPECT_EQ(CProgManager::ExecLine(engine.m_strDestination + "/kest"),
              "\"/media/" + QString(150, 'd') + "/a, b \\$x \\\"q\\\" 100%%/kest\"");
    const QString item = ReadText(progManager.GroupFolder("Electronics") + "/KEST_1.0.desktop");
    EXPECT_TRUE(item.contains("a, b \\\\$x \\\\\"q\\\\\" 100%%/kest\"\n")) << item.toStdString();
}

TEST(ProgramGroup, AMenuThatCannotBeWrittenStillEndsWithTheCompletionPage) {
    QTemporaryDir tmp;
    ASSERT_TRUE(WriteBytes(tmp.path() + "/data", "not a folder"));
    CProgManager progManager(tmp.path() + "/data");
    CFakeUi ui;
    CSetupEngine engine(&ui, &progManager, tmp.path());
    engine.m_nPauseMs = 0;
    engine.m_strDestination = "/opt/KEST";
    engine.Finish();
    EXPECT_EQ(ui.m_astrLog, QStringList({"done"}));
    EXPECT_EQ(progManager.ReceivedCommands().size(), 8);
}

} // namespace

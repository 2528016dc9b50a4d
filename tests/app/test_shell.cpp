#include "AppFixture.h"

#include "ChildFrame.h"
#include "CommandIds.h"
#include "ComponentList.h"
#include "HelpWindow.h"
#include "MainFrame.h"
#include "PaletteMenus.h"
#include "ShellRegistration.h"
#include "TestSupport.h"
#include "VonnDoc.h"
#include "VonnView.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

QStringList Labels(const QMenu* pMenu) {
    QStringList labels;
    for (QAction* pAction : pMenu->actions()) {
        if (!pAction->isVisible())
            continue;
        if (pAction->isSeparator())
            labels << QStringLiteral("-");
        else if (pAction->menu())
            labels << pAction->text() + QStringLiteral(" {") +
                          Labels(pAction->menu()).join(QLatin1Char('|')) + QStringLiteral("}");
        else
            labels << pAction->text();
    }
    return labels;
}

QStringList BarTitles(CMainFrame* pFrame) {
    QStringList titles;
    for (QAction* pAction : pFrame->menuBar()->actions())
        titles << pAction->text();
    return titles;
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

} // namespace

TEST_F(CAppTest, StartsWithUntitledCircuitsNumberedOverTheRun) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    CMainFrame* pFrame = m_pApp->MainFrame();
    ASSERT_EQ(m_pApp->Frames().size(), 1);
    EXPECT_EQ(pFrame->windowTitle(), QStringLiteral("Selvik Electronics Workbench - Untitled-1"));
    EXPECT_TRUE(pFrame->findChildren<QStatusBar*>().isEmpty());
    EXPECT_TRUE(pFrame->findChildren<QToolBar*>().isEmpty());
    m_pApp->Frames().first()->close();
    Settle();
    EXPECT_EQ(pFrame->windowTitle(), QStringLiteral("Selvik Electronics Workbench"));
    m_pApp->OnFileNew();
    m_pApp->OnFileNew();
    EXPECT_EQ(pFrame->windowTitle(), QStringLiteral("Selvik Electronics Workbench - Untitled-3"));
}

TEST_F(CAppTest, CommandLineFileOpensThatCircuitAndEntersTheProfileExactly) {
    const QString strPath = WriteDemoCircuit(QStringLiteral("lamp.kst"));
    ASSERT_EQ(Start({strPath}), CVonnApp::Started);
    ASSERT_EQ(m_pApp->Frames().size(), 1);
    EXPECT_EQ(m_pApp->Frames().first()->GetDocument()->GetTitle(), QStringLiteral("lamp.kst"));
    EXPECT_EQ(m_pApp->MainFrame()->windowTitle(),
              QStringLiteral("Selvik Electronics Workbench - lamp.kst"));
    // Opening it again activates the window that shows it.
    m_pApp->OnFileNew();
    EXPECT_EQ(m_pApp->OpenDocumentFile(strPath), m_pApp->Frames().first());
    EXPECT_EQ(m_pApp->Frames().size(), 2);
    m_pApp->ExitInstance(0);
    m_pApp.reset();
    EXPECT_EQ(
        ProfileText(),
        QStringLiteral("[Recent File List]\nFile1=%1\n[Settings]\nPreviewPages=0\n").arg(strPath));
}

TEST_F(CAppTest, RecentFileListKeepsFourNewestFirst) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << WriteDemoCircuit(QStringLiteral("c%1.kst").arg(i));
    for (const QString& p : paths)
        ASSERT_TRUE(m_pApp->OpenDocumentFile(p));
    ASSERT_TRUE(m_pApp->OpenDocumentFile(paths[2])); // already open: moves nothing
    EXPECT_EQ(m_pApp->RecentFiles().Files(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    CMainFrame* pFrame = m_pApp->MainFrame();
    pFrame->UpdateMenus();
    ASSERT_NE(pFrame->Action(Cmd::RecentFile + 3), nullptr);
    EXPECT_TRUE(pFrame->Action(Cmd::RecentFile)->text().startsWith(QStringLiteral("&1 ")));
    // An unreadable file is reported with the document's message and leaves the list.
    m_pApp->CloseAllDocuments();
    QFile::remove(paths[4]);
    pFrame->OnCommand(Cmd::RecentFile);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Failed to open document.")});
    EXPECT_EQ(m_pApp->RecentFiles().Files().size(), 3);
    EXPECT_TRUE(ProfileText().startsWith(
        QStringLiteral("[Recent File List]\nFile1=%1\nFile2=%2\nFile3=%3\n[Settings]")
            .arg(paths[3], paths[2], paths[1])));
}

TEST_F(CAppTest, MenusCarryEveryItemAndTheirEnabledRules) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    CMainFrame* pFrame = m_pApp->MainFrame();
    EXPECT_EQ(BarTitles(pFrame),
              (QStringList{"&File", "&Edit", "&Components", "&Window", "&Help"}));
    const QList<QMenu*> menus = pFrame->MenuBarMenus();
    EXPECT_EQ(Labels(menus[0]), (QStringList{"&New\tCtrl+N",
                                             "&Open...\tCtrl+O",
                                             "&Close\tCtrl+W",
                                             "-",
                                             "&Save\tCtrl+S",
                                             "Save &As...",
                                             "R&evert",
                                             "-",
                                             "&Run\tCtrl+R",
                                             "Cons&truct\tCtrl+U",
                                             "-",
                                             "&Print...\tCtrl+P",
                                             "Print Pre&view",
                                             "Print Size...",
                                             "P&rint Setup...",
                                             "-",
                                             "Preferences... {Sound Volume...|Workbench Size...}",
                                             "-",
                                             "Recent File",
                                             "-",
                                             "&Quit\tCtrl+Q"}));
    EXPECT_EQ(Labels(menus[1]),
              (QStringList{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Paste\tCtrl+V", "&Copy\tCtrl+C",
                           "-", "&Delete\tDel", "&Select all components\tCtrl+A",
                           "Delete all components\tCtrl+Shift+X",
                           "Remove all connections\tCtrl+Shift+Y"}));
    EXPECT_EQ(Labels(menus[3]), (QStringList{"&Cascade", "&Tile", "&Arrange Icons"}));
    EXPECT_EQ(Labels(menus[4]),
              (QStringList{"&Help Topics\tF1", "-", "&About 'Selvik Electronics Workbench' ..."}));

    pFrame->UpdateMenus();
    EXPECT_TRUE(pFrame->Action(Cmd::FileSave)->isEnabled());
    EXPECT_TRUE(pFrame->Action(Cmd::PrintSetup)->isEnabled());
    EXPECT_FALSE(pFrame->Action(Cmd::Revert)->isEnabled());
    EXPECT_TRUE(pFrame->Action(Cmd::Run)->isEnabled());
    EXPECT_FALSE(pFrame->Action(Cmd::Construct)->isEnabled());
    EXPECT_FALSE(pFrame->Action(Cmd::RecentFile)->isEnabled()); // empty list
    m_pApp->Frames().first()->GetDocument()->SetModifiedFlag(true);
    pFrame->UpdateMenus();
    EXPECT_TRUE(pFrame->Action(Cmd::Revert)->isEnabled());

    // No circuit: menu 128, whose Print Setup has no handler.
    m_pApp->Frames().first()->GetDocument()->SetModifiedFlag(false);
    m_pApp->Frames().first()->close();
    Settle();
    pFrame->UpdateMenus();
    EXPECT_EQ(BarTitles(pFrame), (QStringList{"&File", "&Help"}));
    EXPECT_EQ(Labels(pFrame->MenuBarMenus()[0]),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "-", "P&rint Setup...", "-",
                           "Recent File", "-", "&Quit\tCtrl+Q"}));
    EXPECT_FALSE(pFrame->Action(Cmd::PrintSetupNoCircuit)->isEnabled());
    EXPECT_TRUE(pFrame->Action(Cmd::FileNew)->isEnabled());
    // A new circuit brings the circuit menu back with Components between Edit and Window.
    m_pApp->OnFileNew();
    EXPECT_EQ(BarTitles(pFrame),
              (QStringList{"&File", "&Edit", "&Components", "&Window", "&Help"}));
}

TEST_F(CAppTest, AcceleratorsReachTheActiveViewAndCtrlUIsBoundToNothing) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    CMainFrame* pFrame = m_pApp->MainFrame();
    pFrame->show();
    QApplication::setActiveWindow(pFrame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(pFrame));
    CVonnView* pView = pFrame->ActiveView();
    QWindow* pWindow = pFrame->windowHandle();
    QTest::keyClick(pWindow, Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(pView->IsRunning());
    EXPECT_FALSE(CPaletteMenus::Instance().ComponentsMenu()->actions().first()->isEnabled());
    EXPECT_TRUE(pView->ConstructButton()->isEnabled());
    EXPECT_FALSE(pView->RunButton()->isEnabled());
    QTest::keyClick(pWindow, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(pView->IsRunning());
    QTest::keyClick(pWindow, Qt::Key_E, Qt::ControlModifier);
    EXPECT_FALSE(pView->IsRunning());
    EXPECT_TRUE(CPaletteMenus::Instance().ComponentsMenu()->actions().first()->isEnabled());
    QTest::keyClick(pWindow, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_pApp->Frames().size(), 2);
    QTest::keyClick(pWindow, Qt::Key_W, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(m_pApp->Frames().size(), 1);
    // The table binds exactly these keys.
    QStringList keys;
    for (const auto& a : CMainFrame::Accelerators())
        keys << QString::fromLatin1(a.szKey);
    EXPECT_EQ(keys.size(), 24);
    EXPECT_FALSE(keys.contains(QStringLiteral("Ctrl+U")));
}

TEST_F(CAppTest, RunInOneViewGreysRunEverywhereAndANewViewStartsDisabled) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    CVonnView* pFirst = m_pApp->Frames().first()->GetView();
    pFirst->OnCommand(Cmd::Run);
    CVonnView* pSecond = m_pApp->OnFileNew()->GetView();
    EXPECT_FALSE(pSecond->RunButton()->isEnabled());
    EXPECT_FALSE(pSecond->ConstructButton()->isEnabled());
    EXPECT_FALSE(pSecond->IsCommandEnabled(Cmd::Run));
    // Activating a view in construction mode enables the Components groups again.
    EXPECT_TRUE(CPaletteMenus::Instance().ComponentsMenu()->actions().first()->isEnabled());
    pSecond->OnCommand(Cmd::TextKind);
    EXPECT_EQ(pSecond->m_nMode, CVonnView::ModePlace);
    pFirst->OnAddComponent(130);
    EXPECT_EQ(m_messages,
              QStringList{QStringLiteral(" Please add new component in\nCONSTRUCTION mode.")});
    pFirst->OnCommand(Cmd::Construct);
    EXPECT_TRUE(pSecond->RunButton()->isEnabled());
}

TEST_F(CAppTest, ClosingAModifiedCircuitAsksToSave) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    CChildFrame* pChild = m_pApp->Frames().first();
    pChild->GetDocument()->SetModifiedFlag(true);
    m_eAnswer = CVonnApp::Cancel;
    pChild->close();
    Settle();
    EXPECT_EQ(m_questions, QStringList{QStringLiteral("Save changes to Untitled-1?")});
    ASSERT_EQ(m_pApp->Frames().size(), 1);
    // Yes saves through Save As under the chosen name, with ".kst" added.
    const QString strBase = m_dir.path() + QStringLiteral("/saved");
    m_pApp->m_pfnGetSaveFileName = [&](const QString& strDefault) {
        EXPECT_EQ(strDefault, QStringLiteral("Untitled-1.kst"));
        return strBase;
    };
    m_eAnswer = CVonnApp::Yes;
    pChild->close();
    Settle();
    EXPECT_TRUE(m_pApp->Frames().isEmpty());
    EXPECT_EQ(QFileInfo(strBase + QStringLiteral(".kst")).size(), 28);
    EXPECT_EQ(m_pApp->RecentFiles().Files().value(0), strBase + QStringLiteral(".kst"));
}

TEST_F(CAppTest, RevertReopensTheSavedFileOrGivesANewCircuit) {
    const QString strPath = WriteDemoCircuit(QStringLiteral("lamp.kst"));
    ASSERT_EQ(Start({strPath}), CVonnApp::Started);
    CChildFrame* pChild = m_pApp->Frames().first();
    pChild->GetDocument()->m_nBenchWidth = 2000;
    pChild->GetDocument()->SetModifiedFlag(true);
    m_eAnswer = CVonnApp::Yes;
    pChild->GetView()->OnCommand(Cmd::Revert);
    Settle();
    EXPECT_EQ(m_questions, QStringList{QStringLiteral("Revert to the previously saved version?")});
    ASSERT_EQ(m_pApp->Frames().size(), 1);
    CVonnDoc* pDoc = m_pApp->Frames().first()->GetDocument();
    EXPECT_EQ(pDoc->m_nBenchWidth, 1280);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pDoc->m_pComponents->GetCount(), 5);

    // A circuit that was never saved comes back as a new empty one.
    CChildFrame* pNew = m_pApp->OnFileNew();
    pNew->GetDocument()->SetModifiedFlag(true);
    pNew->GetView()->OnCommand(Cmd::Revert);
    Settle();
    ASSERT_EQ(m_pApp->Frames().size(), 2);
    EXPECT_EQ(m_pApp->MainFrame()->ActiveChild()->GetDocument()->GetTitle(),
              QStringLiteral("Untitled-2"));
    EXPECT_TRUE(m_pApp->MainFrame()->ActiveChild()->GetDocument()->m_pComponents->IsEmpty());
}

TEST_F(CAppTest, HelpTopicsShowsTheProgramsHelpPage) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    CMainFrame* pFrame = m_pApp->MainFrame();
    EXPECT_TRUE(pFrame->ExecuteCommand(Cmd::HelpTopics));
    ASSERT_NE(pFrame->HelpWindow(), nullptr);
    EXPECT_TRUE(pFrame->HelpWindow()->isVisible());
    EXPECT_TRUE(pFrame->HelpWindow()->Browser()->toPlainText().contains(
        QStringLiteral("Running a circuit")));
}

TEST_F(CAppTest, DroppedCircuitFilesOpen) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    const QString strPath = WriteDemoCircuit(QStringLiteral("dropped.kst"));
    CMainFrame* pFrame = m_pApp->MainFrame();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(strPath),
                  QUrl::fromLocalFile(m_dir.path() + QStringLiteral("/notes.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pFrame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pFrame, &drop);
    ASSERT_EQ(m_pApp->Frames().size(), 2);
    EXPECT_EQ(pFrame->ActiveChild()->GetDocument()->GetPathName(), strPath);
}

TEST_F(CAppTest, StartRegistersTheCircuitTypeAndUnregisterRemovesItWithTheProfile) {
    ASSERT_EQ(Start(), CVonnApp::Started);
    const QByteArray desktop = kest::test::ReadFileBytes(CShellRegistration::DesktopEntryPath());
    EXPECT_TRUE(desktop.contains("MimeType=application/x-kest;\n"));
    EXPECT_TRUE(desktop.contains("/kest\" %f\n"));
    EXPECT_TRUE(kest::test::ReadFileBytes(CShellRegistration::MimePackagePath())
                    .contains("<glob pattern=\"*.kst\"/>"));
    m_pApp->ExitInstance(0);
    ASSERT_FALSE(ProfileText().isEmpty());

    m_pApp = std::make_unique<CVonnApp>();
    EXPECT_EQ(m_pApp->InitInstance({QStringLiteral("/Unregister")}), CVonnApp::Unregistered);
    m_pApp->ExitInstance(0);
    EXPECT_EQ(
        m_messages.value(0),
        QStringLiteral(
            "System registry entries have been removed and the INI file (if any) was deleted."));
    EXPECT_FALSE(QFileInfo::exists(CShellRegistration::DesktopEntryPath()));
    EXPECT_FALSE(QFileInfo::exists(CShellRegistration::MimePackagePath()));
    EXPECT_TRUE(ProfileText().isEmpty());
}

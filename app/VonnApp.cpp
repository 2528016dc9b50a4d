#include "VonnApp.h"

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "CommandIds.h"
#include "MainFrame.h"
#include "PaletteMenus.h"
#include "ProgramState.h"
#include "ResourceArt.h"
#include "ShellRegistration.h"
#include "SingleInstance.h"
#include "Sound.h"
#include "SoundService.h"
#include "VonnDoc.h"
#include "VonnView.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <cstdio>
#include <initializer_list>

namespace {

CVonnApp* g_pApp = nullptr;
const QString kSettingsSection = QStringLiteral("Settings");

bool IsSwitch(const QString& strArg, std::initializer_list<const char*> names) {
    for (const char* szName : names)
        for (const char* szPrefix : {"/", "-", "--"})
            if (strArg.compare(QLatin1String(szPrefix) + QLatin1String(szName),
                               Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

} // namespace

CVonnApp::CVonnApp() {
    g_pApp = this;
    m_strInstanceName = CSingleInstance::DefaultName();
    m_pfnAskSave = [](const QString& strText) {
        const auto button = QMessageBox::warning(
            QApplication::activeWindow(), QString::fromLatin1(kProductTitle), strText,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        return button == QMessageBox::Yes ? Yes : button == QMessageBox::No ? No : Cancel;
    };
    m_pfnGetOpenFileName = [] {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"),
                                            QString(), QString::fromLatin1(kFilter));
    };
    m_pfnGetSaveFileName = [](const QString& strDefault) {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), QStringLiteral("Save As"),
                                            strDefault, QString::fromLatin1(kFilter));
    };
}

CVonnApp::~CVonnApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

CVonnApp* CVonnApp::Instance() {
    return g_pApp;
}

QString CVonnApp::HelpFilePath() {
    return ProgramState().ProgramFile(QStringLiteral("kest.html"));
}

namespace {
// The simulation's effects go to the workbench's sound.
class CWorkbenchSound : public CSoundService {
public:
    void PlayEffect(const char* szName, bool bLooped) override { ::PlayEffect(szName, bLooped); }
    void StopEffects() override { ::StopEffects(); }
};
CWorkbenchSound g_sound;
} // namespace

CVonnApp::EStart CVonnApp::InitInstance(const QStringList& args) {
    CProgramState& state = ProgramState();
    SetSoundService(&g_sound);
    // What happens before the application object starts: the scroll-bar metrics.
    state.m_nVScrollWidth = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    state.m_nHScrollHeight = state.m_nVScrollWidth;
    if (!state.m_pfnShowMessage)
        state.m_pfnShowMessage = [](const QString& strText) {
            QMessageBox::warning(QApplication::activeWindow(), QString::fromLatin1(kProductTitle),
                                 strText, QMessageBox::Ok);
        };
    if (!state.m_pfnAskYesNo)
        state.m_pfnAskYesNo = [](const QString& strText) {
            return QMessageBox::warning(
                       QApplication::activeWindow(), QString::fromLatin1(kProductTitle), strText,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
        };

    bool bUnregister = false, bPrint = false;
    QString strFile;
    for (const QString& strArg : args) {
        if (IsSwitch(strArg, {"unregister", "unregserver"}))
            bUnregister = true;
        else if (IsSwitch(strArg, {"p", "pt", "print-to"}))
            bPrint = true;
        else if (IsSwitch(strArg, {"dde", "embedding", "automation"}))
            continue;
        else if (strFile.isEmpty() && !strArg.startsWith(QLatin1Char('-')))
            strFile = QFileInfo(strArg).absoluteFilePath();
    }

    // 1. One instance: a later start hands its file to the first and ends.
    if (!bUnregister && !bPrint) {
        m_pSingleInstance = std::make_unique<CSingleInstance>(m_strInstanceName);
        if (!m_pSingleInstance->Claim(strFile))
            return HandedOver;
        connect(m_pSingleInstance.get(), &CSingleInstance::MessageReceived, this,
                &CVonnApp::OnInstanceMessage);
    }
    // 2, 3. Oscilloscope counter and program folder.
    state.m_nScopeCounter = 1;
    if (state.ProgramFolder().isEmpty() && !state.InitProgramFolder())
        return Failed;
    // 4. The main window's class: its icon and look.
    QApplication::setWindowIcon(CResourceArt::AppIcon());
    QApplication::setApplicationDisplayName(QString());
    m_bClassRegistered = 1;
    // 5. Drawing tools.
    state.CreateDrawTools();
    // 7. Profile settings with a recent-file list of four.
    m_profile = CProfileFile();
    m_profile.Load();
    m_recent.ReadList(m_profile);
    m_nPreviewPages = m_profile.GetInt(kSettingsSection, QStringLiteral("PreviewPages"), 0);
    // 12 (unregister): remove the shell registration and the profile, report and end.
    if (bUnregister) {
        const bool bOk = CShellRegistration::Unregister(m_profile.Path());
        state.ShowMessage(bOk ? QStringLiteral("System registry entries have been removed and the "
                                               "INI file (if any) was deleted.")
                              : QStringLiteral("Not all of the system registry entries (or INI "
                                               "file) were removed."));
        m_bWriteProfile = false;
        return Unregistered;
    }
    if (bPrint) {
        // Printing from the command line comes with the printing commands.
        std::fprintf(stderr, "kest: printing from the command line is not available yet\n");
        return Failed;
    }
    // 9, 10. Main frame, accepting dropped files.
    m_pMainFrame = std::make_unique<CMainFrame>();
    // 11. Shell registration of ".kst".
    if (m_bRegisterShell)
        CShellRegistration::Register(state.ProgramFile(QStringLiteral("kest")));
    // 12. The command line's request.
    if (strFile.isEmpty()) {
        if (!OnFileNew())
            return Failed;
    } else if (!OpenDocumentFile(strFile)) {
        return Failed;
    }
    // 13. Always maximised.
    if (m_bShowMainWindow) {
        // Without a window manager a maximised window keeps its size: give it the screen.
        if (QScreen* pScreen = QGuiApplication::primaryScreen())
            m_pMainFrame->setGeometry(pScreen->availableGeometry());
        m_pMainFrame->showMaximized();
        m_pMainFrame->update();
    }
    return Started;
}

int CVonnApp::ExitInstance(int nExitCode) {
    SaveProfile();
    if (m_pMainFrame) {
        CloseAllDocuments();
        m_pMainFrame.reset();
    }
    ProgramState().DeleteDrawTools();
    CPaletteMenus::Instance().Destroy();
    ProgramState().m_strProgramFolder.clear();
    m_bClassRegistered = 0;
    m_pSingleInstance.reset();
    return nExitCode;
}

void CVonnApp::SaveProfile() {
    if (m_bClassRegistered == 0 || !m_bWriteProfile)
        return;
    m_recent.WriteList(m_profile);
    m_profile.WriteInt(kSettingsSection, QStringLiteral("PreviewPages"), m_nPreviewPages);
    m_profile.Save();
}

QList<CChildFrame*> CVonnApp::Frames() const {
    QList<CChildFrame*> frames;
    if (m_pMainFrame)
        for (QMdiSubWindow* pSub : m_pMainFrame->MdiArea()->subWindowList())
            if (auto* pFrame = qobject_cast<CChildFrame*>(pSub))
                frames.append(pFrame);
    return frames;
}

void CVonnApp::OnCommand(int nId) {
    switch (nId) {
    case Cmd::About: {
        CAboutDlg dlg(m_pMainFrame.get());
        dlg.exec();
        break;
    }
    case Cmd::FileNew:
        OnFileNew();
        break;
    case Cmd::FileOpen:
        OnFileOpen();
        break;
    case Cmd::PrintSetup:
        OnPrintSetup();
        break;
    case Cmd::FileSave:
    case Cmd::FileSaveAs:
        if (m_pMainFrame && m_pMainFrame->ActiveChild())
            DoSave(m_pMainFrame->ActiveChild()->GetDocument(), nId == Cmd::FileSaveAs);
        break;
    default:
        if (nId >= Cmd::RecentFile && nId < Cmd::RecentFile + CRecentFileList::kSize) {
            const int i = nId - Cmd::RecentFile;
            if (i < m_recent.Files().size()) {
                const QString strPath = m_recent.Files()[i];
                if (!OpenDocumentFile(strPath)) {
                    // A file that can no longer be opened leaves the list.
                    m_recent.Remove(i);
                    SaveProfile();
                }
            }
        }
        break;
    }
}

void CVonnApp::OnPrintSetup() {
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>();
    QPageSetupDialog dlg(m_pPrinter.get(), m_pMainFrame.get());
    dlg.exec();
}

CChildFrame* CVonnApp::CreateFrame(CVonnDoc* pDoc) {
    auto* pFrame = new CChildFrame(pDoc);
    m_pMainFrame->MdiArea()->addSubWindow(pFrame);
    CVonnView* pView = pFrame->GetView();
    connect(pView, &CVonnView::RevertRequested, this,
            [this, pFrame](const QString& strPath) { Revert(pFrame, strPath); });
    pFrame->show();
    pView->OnInitialUpdate();
    m_pMainFrame->MdiArea()->setActiveSubWindow(pFrame);
    m_pMainFrame->UpdateMenus();
    m_pMainFrame->UpdateCaption();
    return pFrame;
}

CChildFrame* CVonnApp::OnFileNew() {
    if (!m_pMainFrame)
        return nullptr;
    auto* pDoc = new CVonnDoc;
    if (!pDoc->OnNewDocument()) {
        delete pDoc;
        return nullptr;
    }
    pDoc->SetTitle(QStringLiteral("Untitled-%1").arg(++m_nUntitled));
    return CreateFrame(pDoc);
}

void CVonnApp::OnFileOpen() {
    const QString strPath = m_pfnGetOpenFileName ? m_pfnGetOpenFileName() : QString();
    if (!strPath.isEmpty())
        OpenDocumentFile(strPath);
}

CChildFrame* CVonnApp::OpenDocumentFile(const QString& strPath) {
    if (!m_pMainFrame)
        return nullptr;
    const QString strFull = QFileInfo(strPath).absoluteFilePath();
    const QString strCanonical = QFileInfo(strPath).canonicalFilePath();
    for (CChildFrame* pFrame : Frames()) {
        const QString strOpen = pFrame->GetDocument()->GetPathName();
        if (!strOpen.isEmpty() &&
            (strOpen == strFull ||
             (!strCanonical.isEmpty() && QFileInfo(strOpen).canonicalFilePath() == strCanonical))) {
            m_pMainFrame->MdiArea()->setActiveSubWindow(pFrame);
            return pFrame;
        }
    }
    auto* pDoc = new CVonnDoc;
    QString strError;
    if (!pDoc->OnOpenDocument(strFull, &strError)) {
        delete pDoc;
        ProgramState().ShowMessage(strError.isEmpty() ? QString::fromLatin1(CVonnDoc::kFailedToOpen)
                                                      : strError);
        return nullptr;
    }
    AddToRecentFileList(strFull);
    return CreateFrame(pDoc);
}

void CVonnApp::AddToRecentFileList(const QString& strPath) {
    m_recent.Add(strPath);
    // Written at once, so that the list survives a crash and other starts see it.
    SaveProfile();
}

bool CVonnApp::DoSave(CVonnDoc* pDoc, bool bAskName) {
    if (!pDoc)
        return false;
    QString strPath = pDoc->GetPathName();
    if (bAskName || strPath.isEmpty()) {
        QString strDefault = strPath.isEmpty() ? pDoc->GetTitle() : strPath;
        if (QFileInfo(strDefault).suffix().isEmpty())
            strDefault += QStringLiteral(".kst");
        strPath = m_pfnGetSaveFileName ? m_pfnGetSaveFileName(strDefault) : QString();
        if (strPath.isEmpty())
            return false;
        if (QFileInfo(strPath).suffix().isEmpty())
            strPath += QStringLiteral(".kst");
    }
    QString strError;
    if (!pDoc->OnSaveDocument(strPath, &strError)) {
        ProgramState().ShowMessage(strError.isEmpty() ? QString::fromLatin1(CVonnDoc::kFailedToSave)
                                                      : strError);
        return false;
    }
    AddToRecentFileList(pDoc->GetPathName());
    return true;
}

bool CVonnApp::SaveModified(CVonnDoc* pDoc) {
    if (!pDoc || !pDoc->IsModified())
        return true;
    const QString strName = pDoc->GetPathName().isEmpty() ? pDoc->GetTitle() : pDoc->GetPathName();
    switch (m_pfnAskSave ? m_pfnAskSave(QStringLiteral("Save changes to %1?").arg(strName)) : No) {
    case Yes:
        return DoSave(pDoc, false);
    case No:
        return true;
    case Cancel:
        break;
    }
    return false;
}

bool CVonnApp::SaveAllModified() {
    for (CChildFrame* pFrame : Frames())
        if (!SaveModified(pFrame->GetDocument()))
            return false;
    return true;
}

void CVonnApp::CloseAllDocuments() {
    for (CChildFrame* pFrame : Frames()) {
        m_pMainFrame->MdiArea()->removeSubWindow(pFrame);
        delete pFrame;
    }
    if (m_pMainFrame)
        m_pMainFrame->UpdateMenus();
}

void CVonnApp::Revert(CChildFrame* pFrame, const QString& strPath) {
    // The request comes from inside the view's own handler: finish it first.
    QTimer::singleShot(0, this, [this, pFrame, strPath] {
        if (!Frames().contains(pFrame))
            return;
        m_pMainFrame->MdiArea()->removeSubWindow(pFrame);
        delete pFrame;
        if (strPath.isEmpty())
            OnFileNew();
        else
            OpenDocumentFile(strPath);
        m_pMainFrame->UpdateMenus();
    });
}

void CVonnApp::OnInstanceMessage(const QString& strMessage) {
    if (!m_pMainFrame)
        return;
    if (!strMessage.isEmpty())
        OpenDocumentFile(strMessage);
    if (m_pMainFrame->isMinimized())
        m_pMainFrame->showMaximized();
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
}

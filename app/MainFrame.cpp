#include "MainFrame.h"

#include "ChildFrame.h"
#include "CommandIds.h"
#include "HelpWindow.h"
#include "Mixer.h"
#include "PaletteMenus.h"
#include "ProfileFile.h"
#include "ResourceArt.h"
#include "VolumeDlg.h"
#include "VonnApp.h"
#include "VonnView.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QWhatsThis>

namespace {

bool IsCircuitFile(const QUrl& url) {
    return url.isLocalFile() &&
           url.toLocalFile().endsWith(QStringLiteral(".kst"), Qt::CaseInsensitive);
}

} // namespace

const std::vector<CMainFrame::SAccelerator>& CMainFrame::Accelerators() {
    static const std::vector<SAccelerator> kTable = {
        {"Ctrl+A", Cmd::SelectAll},
        {"Ctrl+C", Cmd::Copy},
        {"Ctrl+E", Cmd::Construct},
        {"Ctrl+N", Cmd::FileNew},
        {"Ctrl+O", Cmd::FileOpen},
        {"Ctrl+P", Cmd::Print},
        {"Ctrl+Q", Cmd::Quit},
        {"Ctrl+R", Cmd::Run},
        {"Ctrl+S", Cmd::FileSave},
        {"Ctrl+V", Cmd::Paste},
        {"Backspace", Cmd::Delete},
        {"Del", Cmd::Delete},
        {"Shift+Del", Cmd::Cut},
        {"F1", Cmd::HelpTopics},
        {"Shift+F1", Cmd::ContextHelp},
        {"F6", Cmd::NextPane},
        {"Shift+F6", Cmd::PrevPane},
        {"Ctrl+Ins", Cmd::Copy},
        {"Shift+Ins", Cmd::Paste},
        {"Ctrl+W", Cmd::FileClose},
        {"Ctrl+X", Cmd::Cut},
        {"Ctrl+Shift+X", Cmd::DeleteAll},
        {"Ctrl+Shift+Y", Cmd::RemoveConnections},
        {"Ctrl+Z", Cmd::Undo},
    };
    return kTable;
}

CMainFrame::CMainFrame() {
    setWindowTitle(QString::fromLatin1(kProductTitle));
    setWindowIcon(CResourceArt::AppIcon());
    m_pMdiArea = new QMdiArea(this);
    m_pMdiArea->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    BuildMenus();
    ShowMenuBar(false);
    for (const SAccelerator& a : Accelerators()) {
        auto* pShortcut = new QShortcut(QKeySequence(QString::fromLatin1(a.szKey)), this);
        pShortcut->setContext(Qt::WindowShortcut);
        const int nId = a.nCommand;
        connect(pShortcut, &QShortcut::activated, this, [this, nId] { ExecuteCommand(nId); });
        connect(pShortcut, &QShortcut::activatedAmbiguously, this,
                [this, nId] { ExecuteCommand(nId); });
        m_shortcuts.push_back(pShortcut);
    }
    setAcceptDrops(true);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::MakeAction(std::map<int, QAction*>& actions, QMenu* pMenu, const char* szText,
                                int nId) {
    QAction* pAction = pMenu->addAction(QString::fromLatin1(szText));
    pAction->setData(nId);
    pAction->setObjectName(QStringLiteral("cmd%1").arg(nId));
    connect(pAction, &QAction::triggered, this, [this, nId] { ExecuteCommand(nId); });
    actions[nId] = pAction;
    return pAction;
}

void CMainFrame::BuildMenus() {
    auto newMenu = [this](std::vector<QMenu*>& menus, const char* szTitle) {
        auto* pMenu = new QMenu(QString::fromLatin1(szTitle), this);
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateMenus);
        menus.push_back(pMenu);
        return pMenu;
    };
    const char* szAbout = "&About 'Selvik Electronics Workbench' ...";

    // Menu 128: no circuit open.
    QMenu* pFile = newMenu(m_menus128, "&File");
    MakeAction(m_actions128, pFile, "&New\tCtrl+N", Cmd::FileNew);
    MakeAction(m_actions128, pFile, "&Open...\tCtrl+O", Cmd::FileOpen);
    pFile->addSeparator();
    MakeAction(m_actions128, pFile, "P&rint Setup...", Cmd::PrintSetupNoCircuit);
    pFile->addSeparator();
    MakeAction(m_actions128, pFile, "Recent File", Cmd::RecentFile);
    pFile->addSeparator();
    MakeAction(m_actions128, pFile, "&Quit\tCtrl+Q", Cmd::Quit);
    QMenu* pHelp = newMenu(m_menus128, "&Help");
    MakeAction(m_actions128, pHelp, "&Help Topics\tF1", Cmd::HelpTopics);
    pHelp->addSeparator();
    MakeAction(m_actions128, pHelp, szAbout, Cmd::About);

    // Menu 129: a circuit window is active.
    pFile = newMenu(m_menus129, "&File");
    MakeAction(m_actions129, pFile, "&New\tCtrl+N", Cmd::FileNew);
    MakeAction(m_actions129, pFile, "&Open...\tCtrl+O", Cmd::FileOpen);
    MakeAction(m_actions129, pFile, "&Close\tCtrl+W", Cmd::FileClose);
    pFile->addSeparator();
    MakeAction(m_actions129, pFile, "&Save\tCtrl+S", Cmd::FileSave);
    MakeAction(m_actions129, pFile, "Save &As...", Cmd::FileSaveAs);
    MakeAction(m_actions129, pFile, "R&evert", Cmd::Revert);
    pFile->addSeparator();
    MakeAction(m_actions129, pFile, "&Run\tCtrl+R", Cmd::Run);
    MakeAction(m_actions129, pFile, "Cons&truct\tCtrl+U", Cmd::Construct);
    pFile->addSeparator();
    MakeAction(m_actions129, pFile, "&Print...\tCtrl+P", Cmd::Print);
    MakeAction(m_actions129, pFile, "Print Pre&view", Cmd::PrintPreview);
    MakeAction(m_actions129, pFile, "Print Size...", Cmd::PrintSize);
    MakeAction(m_actions129, pFile, "P&rint Setup...", Cmd::PrintSetup);
    pFile->addSeparator();
    auto* pPrefs = new QMenu(QStringLiteral("Preferences..."), pFile);
    connect(pPrefs, &QMenu::aboutToShow, this, &CMainFrame::UpdateMenus);
    MakeAction(m_actions129, pPrefs, "Sound Volume...", Cmd::SoundVolume);
    MakeAction(m_actions129, pPrefs, "Workbench Size...", Cmd::WorkbenchSize);
    pFile->addMenu(pPrefs);
    pFile->addSeparator();
    MakeAction(m_actions129, pFile, "Recent File", Cmd::RecentFile);
    pFile->addSeparator();
    MakeAction(m_actions129, pFile, "&Quit\tCtrl+Q", Cmd::Quit);
    QMenu* pEdit = newMenu(m_menus129, "&Edit");
    MakeAction(m_actions129, pEdit, "&Undo\tCtrl+Z", Cmd::Undo);
    pEdit->addSeparator();
    MakeAction(m_actions129, pEdit, "Cu&t\tCtrl+X", Cmd::Cut);
    MakeAction(m_actions129, pEdit, "&Paste\tCtrl+V", Cmd::Paste);
    MakeAction(m_actions129, pEdit, "&Copy\tCtrl+C", Cmd::Copy);
    pEdit->addSeparator();
    MakeAction(m_actions129, pEdit, "&Delete\tDel", Cmd::Delete);
    MakeAction(m_actions129, pEdit, "&Select all components\tCtrl+A", Cmd::SelectAll);
    MakeAction(m_actions129, pEdit, "Delete all components\tCtrl+Shift+X", Cmd::DeleteAll);
    MakeAction(m_actions129, pEdit, "Remove all connections\tCtrl+Shift+Y", Cmd::RemoveConnections);
    QMenu* pWindow = newMenu(m_menus129, "&Window");
    MakeAction(m_actions129, pWindow, "&Cascade", Cmd::Cascade);
    MakeAction(m_actions129, pWindow, "&Tile", Cmd::Tile);
    MakeAction(m_actions129, pWindow, "&Arrange Icons", Cmd::ArrangeIcons);
    pHelp = newMenu(m_menus129, "&Help");
    MakeAction(m_actions129, pHelp, "&Help Topics\tF1", Cmd::HelpTopics);
    pHelp->addSeparator();
    MakeAction(m_actions129, pHelp, szAbout, Cmd::About);
}

void CMainFrame::ShowMenuBar(bool bCircuit) {
    if (bCircuit == m_bCircuitMenu && !menuBar()->actions().isEmpty())
        return;
    m_bCircuitMenu = bCircuit;
    QMenuBar* pBar = menuBar();
    pBar->clear();
    for (QMenu* pMenu : bCircuit ? m_menus129 : m_menus128)
        pBar->addMenu(pMenu);
    // The circuit menu bar carries the Components menu once it has been built.
    if (bCircuit && CPaletteMenus::Instance().IsBuilt())
        CPaletteMenus::Instance().BuildComponentsMenu(pBar, this);
    UpdateMenus();
}

QList<QMenu*> CMainFrame::MenuBarMenus() const {
    QList<QMenu*> menus;
    for (QAction* pAction : menuBar()->actions())
        if (pAction->menu())
            menus.append(pAction->menu());
    return menus;
}

QAction* CMainFrame::Action(int nId) const {
    if (nId > Cmd::RecentFile && nId < Cmd::RecentFile + CRecentFileList::kSize) {
        const size_t i = size_t(nId - Cmd::RecentFile);
        return i < m_recentActions.size() ? m_recentActions[i] : nullptr;
    }
    if (nId == Cmd::RecentFile && !m_recentActions.empty())
        return m_recentActions.front();
    const auto& actions = m_bCircuitMenu ? m_actions129 : m_actions128;
    const auto it = actions.find(nId);
    return it == actions.end() ? nullptr : it->second;
}

CChildFrame* CMainFrame::ActiveChild() const {
    return qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
}

CVonnView* CMainFrame::ActiveView() const {
    CChildFrame* pChild = ActiveChild();
    return pChild ? pChild->GetView() : nullptr;
}

bool CMainFrame::IsCommandEnabled(int nId) const {
    if (CVonnView* pView = ActiveView(); pView && pView->HandlesCommand(nId))
        return pView->IsCommandEnabled(nId);
    const bool bChild = ActiveChild() != nullptr;
    switch (nId) {
    case Cmd::FileNew:
    case Cmd::FileOpen:
    case Cmd::PrintSetup:
    case Cmd::Quit:
    case Cmd::About:
    case Cmd::HelpTopics:
    case Cmd::HelpIndex:
    case Cmd::DefaultHelp:
    case Cmd::ContextHelp:
    case Cmd::SoundVolume:
        return true;
    case Cmd::FileClose:
    case Cmd::FileSave:
    case Cmd::FileSaveAs:
    case Cmd::Cascade:
    case Cmd::Tile:
    case Cmd::ArrangeIcons:
        return bChild;
    default:
        if (nId >= Cmd::RecentFile && nId < Cmd::RecentFile + CRecentFileList::kSize)
            return CVonnApp::Instance() &&
                   nId - Cmd::RecentFile < CVonnApp::Instance()->RecentFiles().Files().size();
        return false;
    }
}

bool CMainFrame::ExecuteCommand(int nId) {
    if (!IsCommandEnabled(nId))
        return false;
    OnCommand(nId);
    return true;
}

void CMainFrame::OnCommand(int nId) {
    CVonnApp* pApp = CVonnApp::Instance();
    if (CVonnView* pView = ActiveView(); pView && pView->OnCommand(nId)) {
        UpdateMenus();
        return;
    }
    switch (nId) {
    case Cmd::SoundVolume: {
        CAlsaMixer mixer;
        RunSoundVolumeCommand(mixer, this);
        break;
    }
    case Cmd::HelpTopics:
    case Cmd::HelpIndex:
    case Cmd::DefaultHelp:
        ShowHelp();
        break;
    case Cmd::ContextHelp:
        QWhatsThis::enterWhatsThisMode();
        break;
    case Cmd::Quit:
        close();
        break;
    case Cmd::Cascade:
        m_pMdiArea->cascadeSubWindows();
        break;
    case Cmd::Tile:
        m_pMdiArea->tileSubWindows();
        break;
    case Cmd::ArrangeIcons:
        ArrangeIcons();
        break;
    case Cmd::FileClose:
        if (CChildFrame* pChild = ActiveChild())
            pChild->close();
        break;
    default:
        if (pApp)
            pApp->OnCommand(nId);
        break;
    }
    UpdateMenus();
}

void CMainFrame::ArrangeIcons() {
    int x = 0;
    const int y = m_pMdiArea->viewport()->height();
    for (QMdiSubWindow* pSub : m_pMdiArea->subWindowList())
        if (pSub->isMinimized()) {
            pSub->move(x, y - pSub->height());
            x += pSub->width();
        }
}

void CMainFrame::ShowHelp() {
    if (!m_pHelp)
        m_pHelp = new CHelpWindow(this);
    m_pHelp->ShowHelp(CVonnApp::HelpFilePath());
}

void CMainFrame::FillRecentFiles(QMenu* pMenu, QAction* pPlaceholder) {
    for (QAction* pAction : m_recentActions) {
        pMenu->removeAction(pAction);
        pAction->deleteLater();
    }
    m_recentActions.clear();
    const QStringList files =
        CVonnApp::Instance() ? CVonnApp::Instance()->RecentFiles().Files() : QStringList();
    pPlaceholder->setVisible(files.isEmpty());
    pPlaceholder->setEnabled(false);
    for (int i = 0; i < files.size(); ++i) {
        auto* pAction =
            new QAction(CRecentFileList::MenuText(i, files[i], QDir::currentPath()), pMenu);
        const int nId = Cmd::RecentFile + i;
        pAction->setData(nId);
        pAction->setObjectName(QStringLiteral("cmd%1").arg(nId));
        connect(pAction, &QAction::triggered, this, [this, nId] { ExecuteCommand(nId); });
        pMenu->insertAction(pPlaceholder, pAction);
        m_recentActions.push_back(pAction);
    }
}

void CMainFrame::UpdateMenus() {
    ShowMenuBar(!m_pMdiArea->subWindowList().isEmpty());
    auto& actions = m_bCircuitMenu ? m_actions129 : m_actions128;
    for (auto& [nId, pAction] : actions)
        if (nId != Cmd::RecentFile)
            pAction->setEnabled(IsCommandEnabled(nId));
    QAction* pPlaceholder = actions[Cmd::RecentFile];
    FillRecentFiles(qobject_cast<QMenu*>(pPlaceholder->parent()), pPlaceholder);
    if (CPaletteMenus::Instance().IsBuilt())
        if (CVonnView* pView = ActiveView())
            CPaletteMenus::Instance().EnableGroups(!pView->IsRunning());
}

void CMainFrame::UpdateCaption() {
    const QString strTitle = QString::fromLatin1(kProductTitle);
    CChildFrame* pChild = ActiveChild();
    setWindowTitle(pChild ? strTitle + QStringLiteral(" - ") + pChild->windowTitle() : strTitle);
}

void CMainFrame::BuildComponentsMenu() {
    CPaletteMenus::Instance().BuildComponentsMenu(menuBar(), this);
}

void CMainFrame::OnSubWindowActivated() {
    UpdateMenus();
    if (CChildFrame* pChild = ActiveChild())
        pChild->ActivateFrame();
    UpdateCaption();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent) {
    CVonnApp* pApp = CVonnApp::Instance();
    if (pApp && !pApp->SaveAllModified()) {
        pEvent->ignore();
        return;
    }
    if (pApp)
        pApp->CloseAllDocuments();
    QMainWindow::closeEvent(pEvent);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent) {
    const QMimeData* pData = pEvent->mimeData();
    if (pData->hasUrls())
        for (const QUrl& url : pData->urls())
            if (IsCircuitFile(url)) {
                pEvent->acceptProposedAction();
                return;
            }
}

void CMainFrame::dropEvent(QDropEvent* pEvent) {
    CVonnApp* pApp = CVonnApp::Instance();
    if (!pApp)
        return;
    for (const QUrl& url : pEvent->mimeData()->urls())
        if (IsCircuitFile(url))
            pApp->OpenDocumentFile(url.toLocalFile());
    pEvent->acceptProposedAction();
    activateWindow();
}

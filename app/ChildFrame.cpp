#include "ChildFrame.h"

#include "MainFrame.h"
#include "PaletteMenus.h"
#include "ResourceArt.h"
#include "VonnApp.h"
#include "VonnDoc.h"
#include "VonnView.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CVonnDoc* pDoc, QWidget* pParent) : QMdiSubWindow(pParent), m_pDoc(pDoc) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(CResourceArt::DocumentIcon());
    m_pDoc->setParent(this);
    m_pView = new CVonnView(m_pDoc, this);
    setWidget(m_pView);
    connect(m_pDoc, &CVonnDoc::TitleChanged, this, &CChildFrame::UpdateCaption);
    UpdateCaption();
    resize(640, 480);
}

CChildFrame::~CChildFrame() {
    // The view goes before the document it shows.
    delete m_pView;
    m_pView = nullptr;
}

void CChildFrame::UpdateCaption() {
    setWindowTitle(m_pDoc->GetTitle());
    if (CVonnApp::Instance() && CVonnApp::Instance()->MainFrame())
        CVonnApp::Instance()->MainFrame()->UpdateCaption();
}

void CChildFrame::ActivateFrame() {
    m_pView->setFocus();
    if (CVonnApp::Instance() && CVonnApp::Instance()->MainFrame())
        CVonnApp::Instance()->MainFrame()->BuildComponentsMenu();
    m_pView->OnActivateView(true);
}

void CChildFrame::CloseWithoutPrompt() {
    m_bSkipPrompt = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* pEvent) {
    if (!m_bSkipPrompt && CVonnApp::Instance() && !CVonnApp::Instance()->SaveModified(m_pDoc)) {
        pEvent->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(pEvent);
}

#include "SetupWindow.h"

#include "ProgManager.h"
#include "SetupEngine.h"
#include "SetupPages.h"
#include "SetupText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

CGuiUi::CGuiUi(QWidget* pParent) : m_pParent(pParent) {}

CGuiUi::~CGuiUi() {
    delete m_pProgress;
}

int CGuiUi::ShowLicence() {
    CLicenceDlg page(m_pParent);
    return page.exec();
}

int CGuiUi::ShowWelcome() {
    CWelcomeDlg page(m_pParent);
    return page.exec();
}

int CGuiUi::ShowDestination(QString& strDir) {
    CDestinationDlg page(strDir, m_pParent);
    const int nId = page.exec();
    if (nId == 1000)
        strDir = page.m_strDir;
    return nId;
}

int CGuiUi::ShowExistingCopy() {
    CExistingCopyDlg page(m_pParent);
    return page.exec();
}

int CGuiUi::ShowDiskSpace() {
    CDiskSpaceDlg page(m_pParent);
    return page.exec();
}

int CGuiUi::ShowQuitConfirm() {
    CQuitConfirmDlg page(m_pParent);
    return page.exec();
}

void CGuiUi::ShowError(const QString& strMessage) {
    CErrorDlg page(strMessage, m_pParent);
    page.exec();
}

void CGuiUi::ShowDone() {
    CDoneDlg page(m_pParent);
    page.exec();
}

CProgressDlg* CGuiUi::Progress() {
    if (!m_pProgress)
        m_pProgress = new CProgressDlg(m_pParent);
    return m_pProgress;
}

void CGuiUi::ShowProgress(bool bShow) {
    if (bShow)
        Progress()->show();
    else if (m_pProgress)
        m_pProgress->hide();
}

void CGuiUi::SetInstalling(const QString& strName) {
    Progress()->SetInstalling(strName);
}

void CGuiUi::StepProgress() {
    Progress()->StepIt();
}

void CGuiUi::ProcessEvents() {
    QCoreApplication::processEvents();
}

bool CGuiUi::IsAborted() const {
    return m_pProgress && m_pProgress->m_nAbort == 1;
}

int CGuiUi::ShowNextDisk(QString& strPath) {
    CNextDiskDlg page(strPath, m_pParent);
    const int nId = page.exec();
    if (nId == 1000)
        strPath = page.m_strPath;
    return nId;
}

CSetupView::CSetupView(QWidget* pParent) : QWidget(pParent) {
    // Every pixel is painted from the back buffer: no separate erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_nTimer = startTimer(500);
}

CSetupView::~CSetupView() = default;

void CSetupView::PaintBackground(QPainter& painter) {
    const int nHeight = height();
    const int nBands = nHeight / 10 + 1;
    for (int k = 0; k < nBands; ++k) {
        const int v = (128 - 2 * k) & 0xff;
        painter.fillRect(0, k * 10, width() + 1, 10, QColor(0, v, v));
    }
    QFont font = QApplication::font();
    const int nSystemHeight = QFontMetrics(font).height();
    const QScreen* pScreen = screen();
    const bool bSmall = pScreen && pScreen->geometry().width() <= 640;
    font.setPixelSize(bSmall ? nSystemHeight * 2 : nSystemHeight * 5 / 2);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    painter.setFont(font);
    const QString title = QString::fromLatin1(SetupText::kTitle);
    const int nAscent = QFontMetrics(font).ascent();
    painter.setPen(Qt::black);
    painter.drawText(25, 25 + nAscent, title);
    painter.setPen(Qt::white);
    painter.drawText(20, 20 + nAscent, title);
}

void CSetupView::paintEvent(QPaintEvent*) {
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    {
        QPainter painter(&buffer);
        PaintBackground(painter);
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

void CSetupView::timerEvent(QTimerEvent* pEvent) {
    if (pEvent->timerId() != m_nTimer)
        return;
    killTimer(m_nTimer);
    m_nTimer = 0;
    m_pUi = std::make_unique<CGuiUi>(this);
    m_pProgManager = std::make_unique<CProgManager>();
    m_pEngine = std::make_unique<CSetupEngine>(m_pUi.get(), m_pProgManager.get(),
                                               QCoreApplication::applicationDirPath());
    m_bCompleted = m_pEngine->Run();
    window()->close();
}

CMainFrame::CMainFrame() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    if (const QScreen* pScreen = QApplication::primaryScreen())
        setGeometry(pScreen->geometry());
    m_pView = new CSetupView(this);
    setCentralWidget(m_pView);
}

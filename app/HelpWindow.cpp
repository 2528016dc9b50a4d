#include "HelpWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CHelpWindow::CHelpWindow(QWidget* pParent) : QWidget(pParent, Qt::Window) {
    setWindowTitle(QStringLiteral("Selvik Electronics Workbench Help"));
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(false);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pBrowser);
    resize(640, 560);
}

bool CHelpWindow::ShowHelp(const QString& strHelpFile) {
    const bool bFound = QFileInfo(strHelpFile).isFile();
    if (bFound)
        m_pBrowser->setSource(QUrl::fromLocalFile(strHelpFile));
    else
        m_pBrowser->setPlainText(
            QStringLiteral("Unable to open the help file %1.").arg(strHelpFile));
    show();
    raise();
    activateWindow();
    return bFound;
}

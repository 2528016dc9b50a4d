#include "AboutDlg.h"

#include "ResourceArt.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint) {
    // 329 x 194 dialog units; the picture fills the dialog from its top-left corner.
    setFixedSize(494, 315);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(pal);
    auto* pPicture = new QLabel(this);
    pPicture->setPixmap(QPixmap::fromImage(CResourceArt::AboutPicture()));
    pPicture->setGeometry(0, 0, 494, 315);
    pPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setGeometry(366, 278, 108, 23);
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
}

QPoint CAboutDlg::CentredPosition(QSize windowSize, QSize screenSize) {
    return QPoint((screenSize.width() - windowSize.width()) / 2,
                  (screenSize.height() - windowSize.height()) / 2);
}

void CAboutDlg::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        move(pScreen->geometry().topLeft() +
             CentredPosition(frameGeometry().size(), pScreen->geometry().size()));
}

#include "WorkbenchSizeDlg.h"

#include "ProgramState.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CWorkbenchSizeDlg::CWorkbenchSizeDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(QStringLiteral("Workbench Size"));
    auto* pGrid = new QGridLayout(this);
    m_pHeight = new QLineEdit(this);
    m_pHeight->setObjectName(QStringLiteral("edit1014"));
    m_pWidth = new QLineEdit(this);
    m_pWidth->setObjectName(QStringLiteral("edit1015"));
    pGrid->addWidget(new QLabel(QStringLiteral("Height :"), this), 0, 0);
    pGrid->addWidget(m_pHeight, 0, 1);
    pGrid->addWidget(new QLabel(QStringLiteral("pixels"), this), 0, 2);
    pGrid->addWidget(new QLabel(QStringLiteral("Width :"), this), 1, 0);
    pGrid->addWidget(m_pWidth, 1, 1);
    pGrid->addWidget(new QLabel(QStringLiteral("pixels"), this), 1, 2);
    auto* pButtons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    pGrid->addWidget(pButtons, 2, 0, 1, 3);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CWorkbenchSizeDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CWorkbenchSizeDlg::LoadValues() {
    m_pHeight->setText(QString::number(m_nHeight));
    m_pWidth->setText(QString::number(m_nWidth));
}

bool CWorkbenchSizeDlg::ReadEdit(QLineEdit* pEdit, unsigned* pnValue) {
    const QString strText = pEdit->text().trimmed();
    bool bOk = !strText.isEmpty() && !strText.startsWith(QLatin1Char('-')) &&
               !strText.startsWith(QLatin1Char('+'));
    const qulonglong nValue = bOk ? strText.toULongLong(&bOk) : 0;
    QString strPrompt;
    if (!bOk)
        strPrompt = QStringLiteral("Please enter a positive integer.");
    else if (nValue < kMin || nValue > kMax)
        strPrompt =
            QStringLiteral("Please enter an integer between %1 and %2.").arg(kMin).arg(kMax);
    if (!strPrompt.isEmpty()) {
        ProgramState().ShowMessage(strPrompt);
        pEdit->setFocus();
        pEdit->selectAll();
        return false;
    }
    *pnValue = unsigned(nValue);
    return true;
}

bool CWorkbenchSizeDlg::SaveValues() {
    unsigned nHeight = 0, nWidth = 0;
    if (!ReadEdit(m_pHeight, &nHeight) || !ReadEdit(m_pWidth, &nWidth))
        return false;
    m_nHeight = nHeight;
    m_nWidth = nWidth;
    return true;
}

void CWorkbenchSizeDlg::accept() {
    if (SaveValues())
        QDialog::accept();
}

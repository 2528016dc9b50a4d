#include "SetupPages.h"

#include "SetupPaths.h"
#include "SetupText.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QString Text(const char* psz) {
    return QString::fromLatin1(psz);
}

QString IdName(int nId) {
    return QStringLiteral("id%1").arg(nId);
}

} // namespace

CSetupPage::CSetupPage(QWidget* pParent, int nWidthDlu, int nHeightDlu) : QDialog(pParent) {
    setWindowTitle(Text(SetupText::kTitle));
    setModal(true);
    auto* pMain = new QHBoxLayout(this);
    auto* pPicture = new QLabel(this);
    pPicture->setObjectName(QStringLiteral("picture132"));
    pPicture->setPixmap(DrawPicture132());
    pPicture->setFixedSize(33, 33);
    pMain->addWidget(pPicture, 0, Qt::AlignTop | Qt::AlignLeft);
    auto* pRight = new QVBoxLayout;
    pMain->addLayout(pRight, 1);
    m_pTexts = new QVBoxLayout;
    pRight->addLayout(m_pTexts, 1);
    m_pButtons = new QHBoxLayout;
    m_pButtons->addStretch(1);
    pRight->addLayout(m_pButtons);

    // Dialog units: a quarter of the average character width, an eighth of the line height.
    const QFontMetrics fm(font());
    resize(nWidthDlu * fm.averageCharWidth() / 4, nHeightDlu * fm.height() / 8);
}

void CSetupPage::reject() {
    done(2);
}

void CSetupPage::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (const QScreen* pScreen = screen())
        move(pScreen->availableGeometry().center() - rect().center());
}

QLabel* CSetupPage::AddText(const QString& strText) {
    auto* pLabel = new QLabel(strText, this);
    pLabel->setWordWrap(true);
    m_pTexts->addWidget(pLabel);
    return pLabel;
}

void CSetupPage::AddSeparator() {
    auto* pLine = new QFrame(this);
    pLine->setFrameShape(QFrame::HLine);
    pLine->setFrameShadow(QFrame::Sunken);
    m_pTexts->addWidget(pLine);
}

void CSetupPage::AddWidget(QWidget* pWidget) {
    m_pTexts->addWidget(pWidget);
}

QPushButton* CSetupPage::AddButton(const QString& strText, int nId, int nEndId, bool bDefault) {
    auto* pButton = new QPushButton(strText, this);
    pButton->setObjectName(IdName(nId));
    pButton->setAutoDefault(false);
    pButton->setDefault(bDefault);
    if (nEndId != 0)
        connect(pButton, &QPushButton::clicked, this, [this, nEndId] { done(nEndId); });
    m_pButtons->addWidget(pButton);
    return pButton;
}

void CSetupPage::ShowErrorOver(const QString& strMessage) {
    // Hiding a page would end its modal loop: the error page goes on top of it instead.
    CErrorDlg error(strMessage, this);
    error.exec();
}

CLicenceDlg::CLicenceDlg(QWidget* pParent) : CSetupPage(pParent, 292, 198) {
    AddText(Text(SetupText::kLicenceIntro));
    auto* pEdit = new QPlainTextEdit(this);
    pEdit->setObjectName(IdName(1003));
    pEdit->setReadOnly(true);
    pEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QString licence;
    for (const char* pszPart : SetupText::kLicenceParts)
        licence += Text(pszPart);
    licence.remove(QLatin1Char('\r'));
    pEdit->setPlainText(licence);
    AddWidget(pEdit);
    AddText(Text(SetupText::kLicenceQuestion));
    AddButton(QStringLiteral("Accept"), 1004, 1004, true);
    AddButton(QStringLiteral("No"), 1005, 1005);
}

CWelcomeDlg::CWelcomeDlg(QWidget* pParent) : CSetupPage(pParent, 292, 198) {
    AddText(Text(SetupText::kWelcomeGreeting));
    AddSeparator();
    AddText(Text(SetupText::kWelcomeProceed));
    AddButton(QStringLiteral("Continue"), 1000, 1000, true);
    AddButton(QStringLiteral("Exit Setup"), 1001, 1001);
}

CDestinationDlg::CDestinationDlg(const QString& strDir, QWidget* pParent)
    : CSetupPage(pParent, 292, 198), m_strDir(strDir) {
    AddText(Text(SetupText::kDestinationIntro));
    AddSeparator();
    AddText(Text(SetupText::kDestinationContinue));
    AddText(Text(SetupText::kDestinationOther));
    AddText(Text(SetupText::kDestinationExit));
    auto* pGroup = new QGroupBox(Text(SetupText::kDestinationGroup), this);
    auto* pGroupLayout = new QVBoxLayout(pGroup);
    m_pEdit = new QLineEdit(strDir, pGroup);
    m_pEdit->setObjectName(IdName(1004));
    pGroupLayout->addWidget(m_pEdit);
    AddWidget(pGroup);
    auto* pContinue = AddButton(QStringLiteral("&Continue"), 1000, 0, true);
    connect(pContinue, &QPushButton::clicked, this, &CDestinationDlg::OnContinue);
    AddButton(QStringLiteral("E&xit Setup"), 1008, 1001);
}

void CDestinationDlg::OnContinue() {
    QString dir;
    if (!SetupPaths::MakeDestination(m_pEdit->text(), &dir)) {
        ShowErrorOver(Text(SetupText::kCannotCreateDestination));
        return;
    }
    m_strDir = dir;
    done(1000);
}

CExistingCopyDlg::CExistingCopyDlg(QWidget* pParent) : CSetupPage(pParent, 237, 106) {
    AddText(Text(SetupText::kExistingCopy));
    AddSeparator();
    AddText(Text(SetupText::kExistingAgain));
    AddText(Text(SetupText::kExistingBack));
    AddButton(QStringLiteral("Continue"), 1000, 1000);
    AddButton(QStringLiteral("Back"), 1011, 1011);
}

CDiskSpaceDlg::CDiskSpaceDlg(QWidget* pParent) : CSetupPage(pParent, 208, 90) {
    AddText(Text(SetupText::kDiskSpace));
    AddText(Text(SetupText::kDiskSpaceFree));
    AddButton(QStringLiteral("Continue"), 1000, 1000, true);
    AddButton(QStringLiteral("Exit Setup"), 1001, 1001);
}

CQuitConfirmDlg::CQuitConfirmDlg(QWidget* pParent) : CSetupPage(pParent, 224, 70) {
    AddText(Text(SetupText::kQuitLine1) + QLatin1Char('\n') + Text(SetupText::kQuitLine2))
        ->setWordWrap(false);
    AddButton(QStringLiteral("&Resume"), 1013, 1013, true);
    AddButton(QStringLiteral("E&xit Setup"), 1001, 1001);
}

CErrorDlg::CErrorDlg(const QString& strMessage, QWidget* pParent) : CSetupPage(pParent, 186, 66) {
    AddText(strMessage)->setObjectName(IdName(1010));
    AddButton(QStringLiteral("OK"), 1, 1, true);
}

CDoneDlg::CDoneDlg(QWidget* pParent) : CSetupPage(pParent, 212, 66) {
    AddText(Text(SetupText::kDone));
    AddButton(QStringLiteral("Done"), 1009, 1009, true);
}

CProgressDlg::CProgressDlg(QWidget* pParent) : CSetupPage(pParent, 232, 90) {
    setModal(false);
    AddText(Text(SetupText::kInProgress));
    auto* pRow = new QWidget(this);
    auto* pRowLayout = new QHBoxLayout(pRow);
    pRowLayout->setContentsMargins(0, 0, 0, 0);
    pRowLayout->addWidget(new QLabel(Text(SetupText::kInstalling), pRow));
    m_pInstalling = new QLabel(pRow);
    m_pInstalling->setObjectName(IdName(1006));
    pRowLayout->addWidget(m_pInstalling, 1);
    AddWidget(pRow);
    m_pBar = new QProgressBar(this);
    m_pBar->setObjectName(IdName(1000));
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    AddWidget(m_pBar);
    auto* pAbort = AddButton(QStringLiteral("Abort Setup"), 1008, 0);
    connect(pAbort, &QPushButton::clicked, this, &CProgressDlg::OnAbort);
}

void CProgressDlg::SetInstalling(const QString& strName) {
    m_pInstalling->setText(strName);
}

void CProgressDlg::StepIt() {
    // Every file ends with a short chunk, so the steps can pass 100: the bar stays full.
    m_pBar->setValue(std::min(m_pBar->value() + 1, m_pBar->maximum()));
}

int CProgressDlg::Position() const {
    return m_pBar->value();
}

void CProgressDlg::OnAbort() {
    hide();
    CQuitConfirmDlg confirm(parentWidget());
    if (confirm.exec() == 1001) {
        m_nAbort = 1;
        return;
    }
    show();
}

CNextDiskDlg::CNextDiskDlg(const QString& strPath, QWidget* pParent)
    : CSetupPage(pParent, 186, 90), m_strPath(strPath) {
    AddText(Text(SetupText::kNextDisk));
    m_pEdit = new QLineEdit(strPath, this);
    m_pEdit->setObjectName(IdName(1004));
    AddWidget(m_pEdit);
    auto* pContinue = AddButton(QStringLiteral("Continue"), 1000, 0, true);
    connect(pContinue, &QPushButton::clicked, this, &CNextDiskDlg::OnContinue);
    AddButton(QStringLiteral("Exit Setup"), 1001, 1001);
}

void CNextDiskDlg::OnContinue() {
    const QString path = m_pEdit->text();
    if (path.isEmpty())
        return;
    if (!SetupPaths::IsUsableFolder(path)) {
        ShowErrorOver(Text(SetupText::kEnterSource));
        return;
    }
    m_strPath = path;
    done(1000);
}

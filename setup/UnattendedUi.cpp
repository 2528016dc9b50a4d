#include "UnattendedUi.h"

#include "SetupPaths.h"
#include "SetupText.h"

namespace {

QString Text(const char* psz) {
    return QString::fromLatin1(psz);
}

} // namespace

CUnattendedUi::CUnattendedUi(const QString& strDestination, const QStringList& astrDiskFolders,
                             FILE* pOut)
    : m_strDestination(strDestination), m_astrDiskFolders(astrDiskFolders), m_pOut(pOut) {}

void CUnattendedUi::Print(const QString& strText) {
    std::fputs(strText.toLocal8Bit().constData(), m_pOut);
    std::fputc('\n', m_pOut);
    std::fflush(m_pOut);
}

int CUnattendedUi::ShowLicence() {
    Print(Text(SetupText::kLicenceIntro));
    Print(Text(SetupText::kLicenceQuestion));
    return 1004;
}

int CUnattendedUi::ShowWelcome() {
    Print(Text(SetupText::kWelcomeGreeting));
    Print(Text(SetupText::kWelcomeProceed));
    return 1000;
}

int CUnattendedUi::ShowDestination(QString& strDir) {
    Print(Text(SetupText::kDestinationIntro));
    // The destination is given once; a second showing has no answer left but to leave.
    if (m_bDestinationGiven)
        return 2;
    m_bDestinationGiven = true;
    QString dir;
    if (!SetupPaths::MakeDestination(m_strDestination, &dir)) {
        Print(Text(SetupText::kCannotCreateDestination));
        return 2;
    }
    strDir = dir;
    return 1000;
}

int CUnattendedUi::ShowExistingCopy() {
    Print(Text(SetupText::kExistingCopy));
    return 1000;
}

int CUnattendedUi::ShowDiskSpace() {
    Print(Text(SetupText::kDiskSpace));
    return 1001;
}

int CUnattendedUi::ShowQuitConfirm() {
    Print(Text(SetupText::kQuitLine1) + QLatin1Char(' ') + Text(SetupText::kQuitLine2));
    return 1001;
}

void CUnattendedUi::ShowError(const QString& strMessage) {
    Print(strMessage);
}

void CUnattendedUi::ShowDone() {
    Print(Text(SetupText::kDone));
}

void CUnattendedUi::ShowProgress(bool bShow) {
    if (bShow && !m_bProgressShown)
        Print(Text(SetupText::kInProgress));
    m_bProgressShown = m_bProgressShown || bShow;
}

void CUnattendedUi::SetInstalling(const QString& strName) {
    Print(Text(SetupText::kInstalling) + QLatin1Char(' ') + strName);
}

int CUnattendedUi::ShowNextDisk(QString& strPath) {
    Print(Text(SetupText::kNextDisk));
    if (m_astrDiskFolders.isEmpty())
        return 1001;
    const QString path = m_astrDiskFolders.takeFirst();
    if (path.isEmpty() || !SetupPaths::IsUsableFolder(path)) {
        if (!path.isEmpty())
            Print(Text(SetupText::kEnterSource));
        return 1001;
    }
    strPath = path;
    return 1000;
}

#include "SetupEngine.h"

#include "LzReader.h"
#include "ProgManager.h"
#include "SetupPaths.h"
#include "SetupScript.h"
#include "SetupText.h"
#include "SetupUi.h"

#include <QFile>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* pData, qsizetype nBytes) {
    while (nBytes > 0) {
        const ssize_t n = ::write(fd, pData, static_cast<size_t>(nBytes));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        pData += n;
        nBytes -= n;
    }
    return true;
}

// Programs and scripts are marked executable: the script holds no file modes.
bool LooksExecutable(const char* pData, int nBytes) {
    return (nBytes >= 4 && std::memcmp(pData,
                                       "\x7f"
                                       "ELF",
                                       4) == 0) ||
           (nBytes >= 2 && pData[0] == '#' && pData[1] == '!');
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

QString WithSlash(const QString& strFolder) {
    return strFolder.endsWith(QLatin1Char('/')) ? strFolder : strFolder + QLatin1Char('/');
}

} // namespace

CSetupEngine::CSetupEngine(CSetupUi* pUi, CProgManager* pProgManager,
                           const QString& strSourceFolder)
    : m_strSourceFolder(WithSlash(strSourceFolder)), m_pUi(pUi), m_pProgManager(pProgManager) {}

bool CSetupEngine::Run() {
    if (!ReadScript() || !LicencePage() || !WelcomePage()) {
        EndIncomplete();
        return false;
    }
    for (;;) {
        if (!DestinationPage()) {
            EndIncomplete();
            return false;
        }
        if (!ExistingCopyTest() || m_pUi->ShowExistingCopy() == 1000)
            break;
    }
    if (!DiskSpaceCheck() || !CopyFiles()) {
        EndIncomplete();
        return false;
    }
    Finish();
    return true;
}

bool CSetupEngine::ReadScript() {
    CSetupScript script;
    if (!script.ReadFile(m_strSourceFolder + QLatin1String("Setup.ini")))
        return false;
    m_nDisks = script.m_nDisks;
    m_nInstalledSize = script.m_nInstalledSize;
    m_strDestination = script.m_strInstallPath;
    m_aSourceNames = std::move(script.m_aSourceNames);
    m_aTargetNames = std::move(script.m_aTargetNames);
    return true;
}

bool CSetupEngine::PageLoop(const std::function<int()>& show, int nContinueId) {
    for (;;) {
        if (show() == nContinueId)
            return true;
        if (m_pUi->ShowQuitConfirm() == 1001)
            return false;
    }
}

bool CSetupEngine::LicencePage() {
    return PageLoop([this] { return m_pUi->ShowLicence(); }, 1004);
}

bool CSetupEngine::WelcomePage() {
    return PageLoop([this] { return m_pUi->ShowWelcome(); }, 1000);
}

bool CSetupEngine::DestinationPage() {
    QString dir = m_strDestination;
    const bool bOk = PageLoop(
        [this, &dir] {
            dir = m_strDestination;
            return m_pUi->ShowDestination(dir);
        },
        1000);
    if (bOk)
        m_strDestination = dir;
    return bOk;
}

bool CSetupEngine::ExistingCopyTest() const {
    return QFile::exists(m_strDestination + QLatin1String("/kest"));
}

bool CSetupEngine::DiskSpaceCheck() {
    const qint64 nNeeded = qint64(m_nInstalledSize) * 1024;
    for (;;) {
        const qint64 nFree =
            m_freeBytes ? m_freeBytes(m_strDestination) : SetupPaths::FreeBytes(m_strDestination);
        // A file system that tells nothing is tried; a full one shows up as a write failure.
        if (nFree < 0 || nFree >= nNeeded)
            return true;
        if (m_pUi->ShowDiskSpace() == 1001 && m_pUi->ShowQuitConfirm() == 1001)
            return false;
    }
}

bool CSetupEngine::CopyFiles() {
    m_pUi->ShowProgress(true);
    m_nChunkSize = static_cast<int>(qint64(m_nInstalledSize) * 1024 / 100);
    bool bOk = true;
    for (int i = 0; bOk && i < m_nDisks; ++i) {
        if (i > 0) {
            m_pUi->ShowProgress(false);
            QString path = m_strSourceFolder;
            while (m_pUi->ShowNextDisk(path) == 1001) {
                if (m_pUi->ShowQuitConfirm() == 1001) {
                    Release();
                    return false;
                }
            }
            m_strSourceFolder = WithSlash(path);
            m_pUi->ShowProgress(true);
        }
        const QStringList& sources = m_aSourceNames[i];
        const QStringList& targets = m_aTargetNames[i];
        for (qsizetype n = 0; n < sources.size() && n < targets.size(); ++n) {
            m_pUi->SetInstalling(sources[n]);
            const int nResult = CopyFile(sources[n], targets[n]);
            if (nResult == kCopied)
                continue;
            bOk = false;
            if (nResult == kAborted)
                break;
            m_pUi->ShowProgress(false);
            m_pUi->ShowError(
                QString::fromLatin1(nResult == kCannotCreateTarget || nResult == kCannotWriteTarget
                                        ? SetupText::kCannotWrite
                                        : SetupText::kCannotRead));
            break;
        }
    }
    Release();
    return bOk;
}

int CSetupEngine::CopyFile(const QString& strSourceName, const QString& strTargetName) {
    CLzReader source;
    if (!source.Open(m_strSourceFolder + SetupPaths::ToPosix(strSourceName)))
        return kCannotOpenSource;
    if (!SetupPaths::IsSafeTargetName(strTargetName))
        return kCannotCreateTarget;
    const QString target = SetupPaths::ToPosix(strTargetName);
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    if (slash > 0)
        SetupPaths::CreateLevels(m_strDestination + QLatin1Char('/') + target.left(slash));

    const QByteArray targetPath = QFile::encodeName(m_strDestination + QLatin1Char('/') + target);
    const int fd = ::open(targetPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return kCannotCreateTarget;

    const int nChunk = std::max(m_nChunkSize, 1);
    std::vector<char> buffer(static_cast<size_t>(nChunk));
    int nResult = kCopied;
    bool bFirst = true;
    for (;;) {
        const int nRead = source.Read(buffer.data(), nChunk);
        if (nRead < 0) {
            nResult = kCannotReadSource;
            break;
        }
        if (bFirst && LooksExecutable(buffer.data(), nRead))
            ::fchmod(fd, 0777 & ~CurrentUmask());
        bFirst = false;
        if (!WriteAll(fd, buffer.data(), nRead) || ::fsync(fd) != 0) {
            nResult = kCannotWriteTarget;
            break;
        }
        m_pUi->ProcessEvents();
        if (m_pUi->IsAborted()) {
            nResult = kAborted;
            break;
        }
        m_pUi->StepProgress();
        if (nRead != nChunk)
            break;
    }
    if (::close(fd) != 0 && nResult == kCopied)
        nResult = kCannotWriteTarget;
    return nResult;
}

bool CSetupEngine::CreateGroup(const QString& strGroup) {
    if (!m_pProgManager)
        return false;
    // Commands are built at their full length: a long destination is never cut short.
    bool bOk = m_pProgManager->Execute(QStringLiteral("[CreateGroup(%1, 0)]").arg(strGroup));
    bOk = m_pProgManager->Execute(QStringLiteral("[ShowGroup(%1, 1, 0)]").arg(strGroup)) && bOk;
    return bOk;
}

bool CSetupEngine::AddItem(const QString& strTitle, const QString& strCommandLine) {
    if (!m_pProgManager)
        return false;
    bool bOk = m_pProgManager->Execute(QStringLiteral("[ReplaceItem(%1)]").arg(strTitle));
    bOk = m_pProgManager->Execute(
              QStringLiteral("[AddItem(%1, %2)]").arg(strCommandLine, strTitle)) &&
          bOk;
    return bOk;
}

void CSetupEngine::Finish() {
    m_pUi->ShowProgress(false);
    const QString program = m_strDestination + QLatin1String("/kest");
    const QString help =
        QLatin1String("winhlp32 ") + m_strDestination + QLatin1String("/kest.html");
    // A menu that cannot be written leaves the installation complete all the same.
    CreateGroup(QString::fromLatin1(SetupText::kGroupName));
    Pause();
    AddItem(QString::fromLatin1(SetupText::kProgramItem), program);
    Pause();
    AddItem(QString::fromLatin1(SetupText::kHelpItem), help);
    Pause();
    AddItem(QString::fromLatin1(SetupText::kProgramItem), program);
    Pause();
    m_pUi->ShowDone();
}

void CSetupEngine::EndIncomplete() {
    Release();
    m_pUi->ShowProgress(false);
    m_pUi->ShowError(QString::fromLatin1(SetupText::kIncomplete));
}

void CSetupEngine::Pause() const {
    if (m_nPauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(m_nPauseMs));
}

void CSetupEngine::Release() {
    m_aSourceNames.clear();
    m_aTargetNames.clear();
}

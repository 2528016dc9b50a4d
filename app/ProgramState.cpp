#include "ProgramState.h"

#include <QDir>
#include <QFileInfo>

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

CProgramState& ProgramState() {
    static CProgramState state;
    return state;
}

bool CProgramState::SetProgramFolderFromExecutable(const QString& strExecutable) {
    m_strProgramFolder.clear();
    const QByteArray path = strExecutable.toLocal8Bit();
    if (path.size() >= kProgramFolderBuffer)
        return false;
    const qsizetype nSlash = strExecutable.lastIndexOf(QLatin1Char('/'));
    if (nSlash < 0)
        return false;
    m_strProgramFolder = strExecutable.left(nSlash);
    return true;
}

bool CProgramState::InitProgramFolder() {
    char buffer[kProgramFolderBuffer + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || n >= kProgramFolderBuffer) {
        m_strProgramFolder.clear();
        return false;
    }
    return SetProgramFolderFromExecutable(QString::fromLocal8Bit(buffer, n));
}

QString CProgramState::ProgramFile(const QString& strName) const {
    return m_strProgramFolder + QLatin1Char('/') + strName;
}

QString CProgramState::RunFolder() {
    if (!m_strRunFolder.isEmpty())
        return m_strRunFolder;
    QString folder;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        folder = runtime + QStringLiteral("/kest");
    else
        folder = QStringLiteral("/tmp/kest-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st;
    // A folder in /tmp that someone else made must not be used for our run files.
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return {};
    m_strRunFolder = folder;
    return m_strRunFolder;
}

void CProgramState::CreateDrawTools() {
    m_pDrawTools = std::make_unique<CDrawTools>();
}

void CProgramState::DeleteDrawTools() {
    m_pDrawTools.reset();
}

const CDrawTools& CProgramState::DrawTools() {
    if (!m_pDrawTools)
        CreateDrawTools();
    return *m_pDrawTools;
}

void CProgramState::AddView(CVonnView* pView) {
    m_views.push_back(pView);
}

void CProgramState::RemoveView(CVonnView* pView) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    if (m_pRunningView == pView)
        m_pRunningView = nullptr;
}

void CProgramState::ShowMessage(const QString& strText) const {
    if (m_pfnShowMessage)
        m_pfnShowMessage(strText);
    else
        std::fprintf(stderr, "%s\n", strText.toLocal8Bit().constData());
}

bool CProgramState::AskYesNo(const QString& strText) const {
    return m_pfnAskYesNo && m_pfnAskYesNo(strText);
}

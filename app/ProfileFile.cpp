#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
constexpr qint64 kMaxProfileSize = 1 << 20; // a profile of ours is a few hundred bytes
const QString kRecentSection = QStringLiteral("Recent File List");
} // namespace

CProfileFile::CProfileFile(QString strPath) : m_strPath(std::move(strPath)) {}

QString CProfileFile::DefaultPath() {
    QString strConfig = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (strConfig.isEmpty())
        strConfig = QDir::homePath() + QStringLiteral("/.config");
    return strConfig + QStringLiteral("/kest/kest.ini");
}

bool CProfileFile::Load() {
    m_sections.clear();
    QFile file(m_strPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxProfileSize)
        return false;
    const QString strText = QString::fromUtf8(file.readAll());
    SSection* pCurrent = nullptr;
    for (QString strLine : strText.split(QLatin1Char('\n'))) {
        strLine = strLine.trimmed();
        if (strLine.isEmpty() || strLine.startsWith(QLatin1Char(';')))
            continue;
        if (strLine.startsWith(QLatin1Char('[')) && strLine.endsWith(QLatin1Char(']'))) {
            const QString strName = strLine.mid(1, strLine.size() - 2);
            pCurrent = FindSection(strName);
            if (!pCurrent) {
                m_sections.push_back({strName, {}});
                pCurrent = &m_sections.back();
            }
            continue;
        }
        const qsizetype nEq = strLine.indexOf(QLatin1Char('='));
        if (!pCurrent || nEq <= 0)
            continue;
        const QString strKey = strLine.left(nEq).trimmed();
        const QString strValue = strLine.mid(nEq + 1).trimmed();
        bool bFound = false;
        for (auto& entry : pCurrent->entries)
            if (entry.first.compare(strKey, Qt::CaseInsensitive) == 0) {
                entry.second = strValue;
                bFound = true;
            }
        if (!bFound)
            pCurrent->entries.emplace_back(strKey, strValue);
    }
    return true;
}

bool CProfileFile::Save() const {
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    QSaveFile file(m_strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text;
    for (const SSection& s : m_sections) {
        if (s.entries.empty())
            continue;
        text += '[' + s.strName.toUtf8() + "]\n";
        for (const auto& [key, value] : s.entries)
            text += key.toUtf8() + '=' + value.toUtf8() + '\n';
    }
    file.write(text);
    return file.commit();
}

bool CProfileFile::Remove() const {
    return !QFileInfo::exists(m_strPath) || QFile::remove(m_strPath);
}

CProfileFile::SSection* CProfileFile::FindSection(const QString& strName) {
    for (SSection& s : m_sections)
        if (s.strName.compare(strName, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const CProfileFile::SSection* CProfileFile::FindSection(const QString& strName) const {
    return const_cast<CProfileFile*>(this)->FindSection(strName);
}

QString CProfileFile::GetString(const QString& strSection, const QString& strKey,
                                const QString& strDefault) const {
    if (const SSection* s = FindSection(strSection))
        for (const auto& [key, value] : s->entries)
            if (key.compare(strKey, Qt::CaseInsensitive) == 0)
                return value;
    return strDefault;
}

int CProfileFile::GetInt(const QString& strSection, const QString& strKey, int nDefault) const {
    bool bOk = false;
    const int n = GetString(strSection, strKey).toInt(&bOk);
    return bOk ? n : nDefault;
}

void CProfileFile::WriteString(const QString& strSection, const QString& strKey,
                               const QString& strValue) {
    SSection* s = FindSection(strSection);
    if (!s) {
        m_sections.push_back({strSection, {}});
        s = &m_sections.back();
    }
    for (auto& entry : s->entries)
        if (entry.first.compare(strKey, Qt::CaseInsensitive) == 0) {
            entry.second = strValue;
            return;
        }
    s->entries.emplace_back(strKey, strValue);
}

void CProfileFile::WriteInt(const QString& strSection, const QString& strKey, int nValue) {
    WriteString(strSection, strKey, QString::number(nValue));
}

void CProfileFile::DeleteKey(const QString& strSection, const QString& strKey) {
    if (SSection* s = FindSection(strSection))
        std::erase_if(s->entries, [&](const auto& e) {
            return e.first.compare(strKey, Qt::CaseInsensitive) == 0;
        });
}

void CRecentFileList::ReadList(const CProfileFile& profile) {
    m_files.clear();
    for (int i = 1; i <= kSize; ++i) {
        const QString strFile = profile.GetString(kRecentSection, QStringLiteral("File%1").arg(i));
        if (!strFile.isEmpty() && !m_files.contains(strFile))
            m_files.append(strFile);
    }
}

void CRecentFileList::WriteList(CProfileFile& profile) const {
    for (int i = 0; i < kSize; ++i) {
        const QString strKey = QStringLiteral("File%1").arg(i + 1);
        if (i < m_files.size())
            profile.WriteString(kRecentSection, strKey, m_files[i]);
        else
            profile.DeleteKey(kRecentSection, strKey);
    }
}

void CRecentFileList::Add(const QString& strPath) {
    const QString strFull = QFileInfo(strPath).absoluteFilePath();
    m_files.removeAll(strFull);
    m_files.prepend(strFull);
    while (m_files.size() > kSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < m_files.size())
        m_files.removeAt(nIndex);
}

QString CRecentFileList::MenuText(int nIndex, const QString& strPath,
                                  const QString& strCurrentDir) {
    QString strShown = strPath;
    const QFileInfo info(strPath);
    if (info.absolutePath() == QDir(strCurrentDir).absolutePath())
        strShown = info.fileName();
    if (strShown.size() > kDisplayLength) {
        // Keep the first folder and as many trailing parts as fit, with "..." between.
        const QStringList parts = strShown.split(QLatin1Char('/'));
        const QString strHead = parts.size() > 1 && parts[0].isEmpty()
                                    ? QStringLiteral("/") + parts.value(1)
                                    : parts.value(0);
        QString strTail = parts.last();
        for (qsizetype i = parts.size() - 2; i >= 2; --i) {
            const QString strTry = parts[i] + QLatin1Char('/') + strTail;
            if (strHead.size() + 5 + strTry.size() > kDisplayLength)
                break;
            strTail = strTry;
        }
        const QString strAbbrev = strHead + QStringLiteral("/.../") + strTail;
        strShown = strAbbrev.size() <= kDisplayLength ? strAbbrev : info.fileName();
    }
    strShown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(strShown);
}

#include "SetupPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace SetupPaths {

QString ResolveDestination(const QString& strText, const QString& strHome) {
    QString path;
    if (strText.startsWith(QLatin1Char('/')))
        path = strText;
    else if (strText == QLatin1String("~"))
        path = strHome;
    else if (strText.startsWith(QLatin1String("~/")))
        path = strHome + strText.mid(1);
    else
        path = strHome + QLatin1Char('/') + strText;
    return QDir::cleanPath(path);
}

bool CreateLevels(const QString& strDir) {
    if (strDir.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(strDir);
    // Every '/' that is not the first character ends one level.
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/')
            continue;
        const QByteArray level = path.left(i);
        if (::mkdir(level.constData(), 0777) == 0)
            continue;
        if (errno != EEXIST)
            return false;
        struct stat st {};
        if (::stat(level.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return false;
    }
    return true;
}

QString ToPosix(const QString& strName) {
    QString name = strName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}

bool IsSafeTargetName(const QString& strName) {
    const QString name = ToPosix(strName);
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('/')))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return parts.last() != QLatin1String(".");
}

qint64 FreeBytes(const QString& strDir) {
    QString dir = strDir;
    for (;;) {
        struct statvfs st {};
        if (::statvfs(QFile::encodeName(dir).constData(), &st) == 0)
            return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
        const QString parent = QFileInfo(dir).path();
        if (parent == dir || parent.isEmpty())
            return -1;
        dir = parent;
    }
}

bool IsUsableFolder(const QString& strDir) {
    struct stat st {};
    const QByteArray path = QFile::encodeName(strDir);
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(path.constData(), X_OK) == 0;
}

} // namespace SetupPaths

namespace SetupPaths {

bool MakeDestination(const QString& strText, QString* pDir) {
    const QString dir = ResolveDestination(strText.trimmed(), QDir::homePath());
    if (!CreateLevels(dir))
        return false;
    *pDir = dir;
    return true;
}

} // namespace SetupPaths

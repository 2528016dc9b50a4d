#include "ShellRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool WriteIfChanged(const QString& strPath, const QByteArray& content) {
    QFile existing(strPath);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return true;
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

// Desktop entry Exec values quote arguments with double quotes and escape \ " ` $.
QByteArray QuoteExec(const QString& strPath) {
    QString s = strPath;
    for (const char* c : {"\\", "\"", "`", "$"})
        s.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return '"' + s.toUtf8() + '"';
}

} // namespace

QString CShellRegistration::DataHome() {
    QString strData = qEnvironmentVariable("XDG_DATA_HOME");
    if (strData.isEmpty())
        strData = QDir::homePath() + QStringLiteral("/.local/share");
    return strData;
}

QString CShellRegistration::MimePackagePath() {
    return DataHome() + QStringLiteral("/mime/packages/kest.xml");
}

QString CShellRegistration::DesktopEntryPath() {
    return DataHome() + QStringLiteral("/applications/kest.desktop");
}

bool CShellRegistration::Register(const QString& strExecutable) {
    const QByteArray mime =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-kest\">\n"
        "    <comment>Vonn Document</comment>\n"
        "    <glob pattern=\"*.kst\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    const QByteArray desktop = "[Desktop Entry]\n"
                               "Type=Application\n"
                               "Name=Selvik Electronics Workbench\n"
                               "Comment=Build and run electronic circuits\n"
                               "Exec=" +
                               QuoteExec(strExecutable) +
                               " %f\n"
                               "MimeType=application/x-kest;\n"
                               "Terminal=false\n"
                               "Categories=Education;Electronics;\n";
    const bool bMime = WriteIfChanged(MimePackagePath(), mime);
    const bool bDesktop = WriteIfChanged(DesktopEntryPath(), desktop);
    return bMime && bDesktop;
}

bool CShellRegistration::Unregister(const QString& strProfilePath) {
    bool bOk = true;
    for (const QString& strPath : {MimePackagePath(), DesktopEntryPath(), strProfilePath})
        if (QFileInfo::exists(strPath) && !QFile::remove(strPath))
            bOk = false;
    return bOk;
}

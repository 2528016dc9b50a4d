#include "ProgManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

QString SafeFileName(const QString& str) {
    QString name;
    for (QChar ch : str) {
        const bool bKeep = (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ||
                           (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')) ||
                           (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
                           ch == QLatin1Char('.') || ch == QLatin1Char('-') ||
                           ch == QLatin1Char('_');
        name += bKeep ? ch : QLatin1Char('_');
    }
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    return name;
}

// A string value of a desktop entry: only the escapes the format defines.
QString EscapeValue(const QString& str) {
    QString out;
    for (QChar ch : str) {
        if (ch == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (ch == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (ch == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (ch == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += ch;
    }
    return out;
}

// One argument of an Exec= line, quoted so that spaces and reserved characters survive.
QString QuoteArgument(const QString& str) {
    QString out = QStringLiteral("\"");
    for (QChar ch : str) {
        if (ch == QLatin1Char('"') || ch == QLatin1Char('`') || ch == QLatin1Char('$') ||
            ch == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        if (ch == QLatin1Char('%'))
            out += QLatin1Char('%');
        out += ch;
    }
    return out + QLatin1Char('"');
}

// Arguments of a command: the text between the first '(' and the last ')'.
bool SplitCommand(const QString& strCommand, QString* pName, QString* pArgs) {
    if (!strCommand.startsWith(QLatin1Char('[')) || !strCommand.endsWith(QLatin1String(")]")))
        return false;
    const qsizetype open = strCommand.indexOf(QLatin1Char('('));
    if (open < 0)
        return false;
    *pName = strCommand.mid(1, open - 1);
    *pArgs = strCommand.mid(open + 1, strCommand.size() - open - 3);
    return true;
}

// Drops nCount trailing ", value" fields; what stays may itself contain commas.
QString DropTrailingFields(const QString& strArgs, int nCount) {
    QString args = strArgs;
    for (int i = 0; i < nCount; ++i) {
        const qsizetype comma = args.lastIndexOf(QLatin1Char(','));
        if (comma < 0)
            return args.trimmed();
        args = args.left(comma);
    }
    return args.trimmed();
}

} // namespace

CProgManager::CProgManager(const QString& strDataHome) : m_strDataHome(strDataHome) {
    if (m_strDataHome.isEmpty())
        m_strDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (m_strDataHome.isEmpty())
        m_strDataHome = QDir::homePath() + QLatin1String("/.local/share");
}

QString CProgManager::GroupFolder(const QString& strGroup) const {
    return m_strDataHome + QLatin1String("/applications/") + SafeFileName(strGroup);
}

QString CProgManager::ExecLine(const QString& strCommandLine) {
    static const QString kHelpViewer = QStringLiteral("winhlp32 ");
    if (strCommandLine.startsWith(kHelpViewer))
        return QLatin1String("xdg-open ") + QuoteArgument(strCommandLine.mid(kHelpViewer.size()));
    return QuoteArgument(strCommandLine);
}

bool CProgManager::Execute(const QString& strCommand) {
    m_astrReceived.append(strCommand);
    QString name;
    QString args;
    if (!SplitCommand(strCommand, &name, &args))
        return false;
    if (name == QLatin1String("CreateGroup"))
        return CreateGroup(DropTrailingFields(args, 1));
    if (name == QLatin1String("ShowGroup"))
        return ShowGroup(DropTrailingFields(args, 2));
    if (name == QLatin1String("ReplaceItem"))
        return ReplaceItem(args.trimmed());
    if (name == QLatin1String("AddItem")) {
        // The title never holds a comma; the command line (a destination) may.
        const qsizetype comma = args.lastIndexOf(QLatin1Char(','));
        if (comma < 0)
            return false;
        return AddItem(args.left(comma).trimmed(), args.mid(comma + 1).trimmed());
    }
    return false;
}

bool CProgManager::CreateGroup(const QString& strGroup) {
    if (strGroup.isEmpty())
        return false;
    const QString dirFolder = m_strDataHome + QLatin1String("/desktop-directories");
    if (!QDir().mkpath(GroupFolder(strGroup)) || !QDir().mkpath(dirFolder))
        return false;
    QSaveFile file(dirFolder + QLatin1Char('/') + SafeFileName(strGroup) +
                   QLatin1String(".directory"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    out << "[Desktop Entry]\nType=Directory\nName=" << EscapeValue(strGroup) << "\n";
    out.flush();
    if (!file.commit())
        return false;
    m_strGroup = strGroup;
    return true;
}

bool CProgManager::ShowGroup(const QString& strGroup) {
    if (strGroup.isEmpty() || !QFileInfo(GroupFolder(strGroup)).isDir())
        return false;
    m_strGroup = strGroup;
    return true;
}

QStringList CProgManager::ItemFiles(const QString& strTitle) const {
    QStringList files;
    const QDir dir(GroupFolder(m_strGroup));
    const QString nameLine = QLatin1String("Name=") + EscapeValue(strTitle);
    for (const QString& entry : dir.entryList({QStringLiteral("*.desktop")}, QDir::Files)) {
        QFile file(dir.filePath(entry));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(file.read(64 * 1024)).split(QLatin1Char('\n'));
        if (lines.contains(nameLine))
            files.append(dir.filePath(entry));
    }
    return files;
}

bool CProgManager::ReplaceItem(const QString& strTitle) {
    if (m_strGroup.isEmpty())
        return false;
    bool bOk = true;
    for (const QString& path : ItemFiles(strTitle))
        bOk = QFile::remove(path) && bOk;
    return bOk;
}

bool CProgManager::AddItem(const QString& strCommandLine, const QString& strTitle) {
    if (m_strGroup.isEmpty() || strTitle.isEmpty())
        return false;
    // An item of the same title stays unless ReplaceItem removed it, as in the shell.
    const QString base = GroupFolder(m_strGroup) + QLatin1Char('/') + SafeFileName(strTitle);
    QString path = base + QLatin1String(".desktop");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QLatin1Char('-') + QString::number(n) + QLatin1String(".desktop");

    QString program = strCommandLine;
    if (program.startsWith(QLatin1String("winhlp32 ")))
        program = program.mid(9);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=" << EscapeValue(strTitle) << "\n"
        << "Exec=" << EscapeValue(ExecLine(strCommandLine)) << "\n"
        << "Path=" << EscapeValue(QFileInfo(program).path()) << "\n"
        << "Terminal=false\n"
        << "Categories=Education;Electronics;\n";
    out.flush();
    return file.commit();
}

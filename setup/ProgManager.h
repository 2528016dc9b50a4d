#pragma once

#include <QString>
#include <QStringList>

// Stands in for the shell's program manager: carries out its command texts
// ("[CreateGroup(...)]", "[ShowGroup(...)]", "[ReplaceItem(...)]", "[AddItem(...)]") on the
// freedesktop menu below a data folder: the group is the folder applications/<group>/ with
// desktop-directories/<group>.directory, and every item is a .desktop file in that folder.
class CProgManager {
public:
    // strDataHome empty: $XDG_DATA_HOME, else ~/.local/share.
    explicit CProgManager(const QString& strDataHome = QString());

    bool Execute(const QString& strCommand);

    const QStringList& ReceivedCommands() const { return m_astrReceived; }
    QString GroupFolder(const QString& strGroup) const;

    // An Exec= value that starts the given program, or "winhlp32 FILE" as the desktop's viewer.
    static QString ExecLine(const QString& strCommandLine);

private:
    bool CreateGroup(const QString& strGroup);
    bool ShowGroup(const QString& strGroup);
    bool ReplaceItem(const QString& strTitle);
    bool AddItem(const QString& strCommandLine, const QString& strTitle);
    QStringList ItemFiles(const QString& strTitle) const;

    QString m_strDataHome;
    QString m_strGroup;
    QStringList m_astrReceived;
};

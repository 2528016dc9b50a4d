#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// A small INI file of sections and "key=value" lines, written back exactly as
// "[Section Name]" (QSettings would escape the blanks). Unknown sections and keys survive.
class CProfileFile {
public:
    explicit CProfileFile(QString strPath = DefaultPath());

    // $XDG_CONFIG_HOME/kest/kest.ini (else ~/.config/kest/kest.ini).
    static QString DefaultPath();

    bool Load();       // false when the file is missing or unreadable (the profile is then empty)
    bool Save() const; // creates the folder when needed
    bool Remove() const;

    QString GetString(const QString& strSection, const QString& strKey,
                      const QString& strDefault = {}) const;
    int GetInt(const QString& strSection, const QString& strKey, int nDefault) const;
    void WriteString(const QString& strSection, const QString& strKey, const QString& strValue);
    void WriteInt(const QString& strSection, const QString& strKey, int nValue);
    void DeleteKey(const QString& strSection, const QString& strKey);

    const QString& Path() const { return m_strPath; }

private:
    struct SSection {
        QString strName;
        std::vector<std::pair<QString, QString>> entries;
    };
    SSection* FindSection(const QString& strName);
    const SSection* FindSection(const QString& strName) const;

    QString m_strPath;
    std::vector<SSection> m_sections;
};

// The recent-file list of the File menu: newest first, at most four entries, kept in the
// profile's section "Recent File List" as File1..File4.
class CRecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr int kDisplayLength = 30;

    void ReadList(const CProfileFile& profile);
    void WriteList(CProfileFile& profile) const;
    void Add(const QString& strPath);
    void Remove(int nIndex);
    const QStringList& Files() const { return m_files; }
    // "&1 name" with the path shortened to 30 characters, as the File menu shows it.
    static QString MenuText(int nIndex, const QString& strPath, const QString& strCurrentDir);

private:
    QStringList m_files;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The installer's script "Setup.ini": the [General] keys and one file list per disk.
class CSetupScript {
public:
    // Larger scripts are refused before they are read; a real one is a few kilobytes.
    static constexpr qint64 kMaxScriptBytes = 1024 * 1024;
    static constexpr int kMaxDisks = 999;
    // Keeps the chunk size (1% of the installed size) to a sane allocation.
    static constexpr qint64 kMaxInstalledKb = 4 * 1024 * 1024;

    bool ReadFile(const QString& strPath);
    bool Parse(const QByteArray& text);

    // Letters, digits and . : [ \ ] _ / stay; every other byte becomes a space.
    static QByteArray CleanLine(const QByteArray& line);
    // The first two whitespace-separated words of a cleaned line.
    static QStringList SplitWords(const QByteArray& cleaned);
    // Leading decimal digits; anything else gives 0.
    static qint64 ReadNumber(const QString& str);

    int m_nDisks = 0;
    int m_nInstalledSize = 0; // kilobytes
    QString m_strInstallPath;
    std::vector<QStringList> m_aSourceNames;
    std::vector<QStringList> m_aTargetNames;

private:
    // Reads the next line of at most 128 bytes from m_nPos.
    QByteArray ReadLine();

    QByteArray m_text;
    qsizetype m_nPos = 0;
};

#include "SetupScript.h"

#include <QFile>

namespace {

bool IsKept(unsigned char ch) {
    if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return true;
    switch (ch) {
    case '.':
    case ':':
    case '[':
    case '\\':
    case ']':
    case '_':
    case '/':
        return true;
    default:
        return false;
    }
}

} // namespace

QByteArray CSetupScript::CleanLine(const QByteArray& line) {
    QByteArray cleaned = line;
    for (char& ch : cleaned) {
        if (!IsKept(static_cast<unsigned char>(ch)))
            ch = ' ';
    }
    return cleaned;
}

QStringList CSetupScript::SplitWords(const QByteArray& cleaned) {
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = cleaned.size();
    while (i < n && words.size() < 2) {
        while (i < n && cleaned[i] == ' ')
            ++i;
        const qsizetype start = i;
        while (i < n && cleaned[i] != ' ')
            ++i;
        if (i > start)
            words.append(QString::fromLatin1(cleaned.mid(start, i - start)));
    }
    return words;
}

qint64 CSetupScript::ReadNumber(const QString& str) {
    qint64 value = 0;
    for (QChar ch : str) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            break;
        // Saturate instead of overflowing; the callers refuse values this large anyway.
        value = std::min<qint64>(value * 10 + (ch.unicode() - '0'), qint64(1) << 40);
    }
    return value;
}

QByteArray CSetupScript::ReadLine() {
    if (m_nPos >= m_text.size())
        return {};
    const QByteArray block = m_text.mid(m_nPos, 128);
    const qsizetype feed = block.indexOf('\n');
    if (feed >= 0) {
        m_nPos += feed + 1;
        return CleanLine(block.left(feed));
    }
    // No line feed within the block: the reader steps one byte past what it read.
    m_nPos += block.size() + 1;
    return CleanLine(block);
}

bool CSetupScript::ReadFile(const QString& strPath) {
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > kMaxScriptBytes)
        return false;
    const QByteArray text = file.read(kMaxScriptBytes + 1);
    if (text.size() > kMaxScriptBytes || file.error() != QFileDevice::NoError)
        return false;
    return Parse(text);
}

bool CSetupScript::Parse(const QByteArray& text) {
    m_nDisks = 0;
    m_nInstalledSize = 0;
    m_strInstallPath.clear();
    m_aSourceNames.clear();
    m_aTargetNames.clear();
    if (text.size() > kMaxScriptBytes)
        return false;
    m_text = text;

    const qsizetype general = m_text.indexOf("[General]");
    if (general < 0)
        return false;
    m_nPos = general;
    ReadLine();
    qint64 nDisks = 0;
    qint64 nSize = 0;
    for (int i = 0; i < 3; ++i) {
        const QStringList words = SplitWords(ReadLine());
        if (words.size() < 2)
            return false;
        if (words[0] == QLatin1String("Disks"))
            nDisks = ReadNumber(words[1]);
        else if (words[0] == QLatin1String("OriginalSize"))
            nSize = ReadNumber(words[1]);
        else if (words[0] == QLatin1String("InstallPath"))
            m_strInstallPath = words[1];
    }
    if (nDisks == 0 || nSize == 0 || nDisks > kMaxDisks || nSize > kMaxInstalledKb)
        return false;
    m_nDisks = static_cast<int>(nDisks);
    m_nInstalledSize = static_cast<int>(nSize);

    m_aSourceNames.assign(m_nDisks, {});
    m_aTargetNames.assign(m_nDisks, {});
    for (int n = 1; n <= m_nDisks; ++n) {
        const qsizetype header = m_text.indexOf(QByteArray("[Disk") + QByteArray::number(n) + "]");
        if (header < 0)
            return false;
        m_nPos = header;
        ReadLine();
        for (;;) {
            const QByteArray line = ReadLine();
            if (line.isEmpty())
                break;
            const QStringList words = SplitWords(line);
            if (words.size() < 2)
                break;
            m_aSourceNames[n - 1].append(words[0]);
            m_aTargetNames[n - 1].append(words[1]);
        }
    }
    m_text.clear();
    return true;
}

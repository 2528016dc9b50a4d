#pragma once

#include "SetupUi.h"

#include <QStringList>
#include <QTemporaryDir>
#include <deque>

// Scripted answers for the installer's pages; every call is logged.
class CFakeUi : public CSetupUi {
public:
    int ShowLicence() override { return Next("licence", m_anLicence, 1004); }
    int ShowWelcome() override { return Next("welcome", m_anWelcome, 1000); }
    int ShowDestination(QString& strDir) override {
        m_astrLog.append(QStringLiteral("destination:") + strDir);
        if (!m_astrDestinations.empty()) {
            strDir = m_astrDestinations.front();
            m_astrDestinations.pop_front();
            return 1000;
        }
        return 1001;
    }
    int ShowExistingCopy() override { return Next("existing", m_anExisting, 1000); }
    int ShowDiskSpace() override { return Next("diskspace", m_anDiskSpace, 1001); }
    int ShowQuitConfirm() override { return Next("quit", m_anQuit, 1001); }
    void ShowError(const QString& strMessage) override {
        m_astrLog.append(QStringLiteral("error:") + strMessage);
    }
    void ShowDone() override { m_astrLog.append(QStringLiteral("done")); }
    void ShowProgress(bool bShow) override { m_bProgressShown = bShow; }
    void SetInstalling(const QString& strName) override {
        m_astrLog.append(QStringLiteral("installing:") + strName);
    }
    void StepProgress() override { ++m_nSteps; }
    void ProcessEvents() override {
        ++m_nEvents;
        if (m_nAbortAtEvent > 0 && m_nEvents >= m_nAbortAtEvent)
            m_bAborted = true;
    }
    bool IsAborted() const override { return m_bAborted; }
    int ShowNextDisk(QString& strPath) override {
        m_astrLog.append(QStringLiteral("nextdisk:") + strPath);
        if (m_astrDiskFolders.empty())
            return 1001;
        const QString path = m_astrDiskFolders.front();
        m_astrDiskFolders.pop_front();
        if (path.isEmpty())
            return 1001;
        strPath = path;
        return 1000;
    }

    std::deque<int> m_anLicence, m_anWelcome, m_anExisting, m_anDiskSpace, m_anQuit;
    std::deque<QString> m_astrDestinations, m_astrDiskFolders;
    QStringList m_astrLog;
    int m_nSteps = 0;
    int m_nEvents = 0;
    int m_nAbortAtEvent = 0;
    bool m_bAborted = false;
    bool m_bProgressShown = false;

private:
    int Next(const char* pszPage, std::deque<int>& answers, int nDefault) {
        m_astrLog.append(QString::fromLatin1(pszPage));
        if (answers.empty())
            return nDefault;
        const int n = answers.front();
        answers.pop_front();
        return n;
    }
};

inline bool WriteBytes(const QString& strPath, const QByteArray& data) {
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Bytes that do not repeat in any short period, so a wrong offset shows.
inline QByteArray Pattern(int nBytes, int nSeed = 1) {
    QByteArray data(nBytes, 0);
    quint32 x = 2463534242u + nSeed;
    for (int i = 0; i < nBytes; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = static_cast<char>(x);
    }
    return data;
}

#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class CSetupUi;
class CProgManager;

// All installer state and the flow from the script to the completion page.
class CSetupEngine {
public:
    // Results of one file copy.
    enum {
        kCopied = 0,
        kCannotOpenSource = 1,
        kCannotCreateTarget = 2,
        kCannotReadSource = 3,
        kCannotWriteTarget = 4,
        kAborted = 5,
    };

    // strSourceFolder: the installer's own folder, where Setup.ini and disk 1's files are.
    CSetupEngine(CSetupUi* pUi, CProgManager* pProgManager, const QString& strSourceFolder);

    // The whole flow; true when it ended with the completion page.
    bool Run();

    bool ReadScript();
    bool LicencePage();
    bool WelcomePage();
    bool DestinationPage();
    bool ExistingCopyTest() const;
    bool DiskSpaceCheck();
    bool CopyFiles();
    void Finish();
    void EndIncomplete();

    int CopyFile(const QString& strSourceName, const QString& strTargetName);

    // The program group: each is one conversation with the program manager.
    bool CreateGroup(const QString& strGroup);
    bool AddItem(const QString& strTitle, const QString& strCommandLine);

    int m_nDisks = 0;
    int m_nInstalledSize = 0; // kilobytes
    QString m_strDestination;
    QString m_strSourceFolder; // always ends with '/'
    std::vector<QStringList> m_aSourceNames;
    std::vector<QStringList> m_aTargetNames;
    int m_nChunkSize = 0;
    // The pause between program manager conversations.
    int m_nPauseMs = 500;
    // Free bytes for the destination (a test can stand in for the file system).
    std::function<qint64(const QString&)> m_freeBytes;

private:
    bool PageLoop(const std::function<int()>& show, int nContinueId);
    void Pause() const;
    void Release();

    CSetupUi* m_pUi;
    CProgManager* m_pProgManager;
};

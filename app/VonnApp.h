#pragma once

#include "ProfileFile.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CChildFrame;
class CMainFrame;
class CSingleInstance;
class CVonnDoc;
class QPrinter;

// The application object: start-up and exit in their order, the circuit documents and their
// windows, the recent-file list and the profile file, the single-instance rule and the
// command line.
class CVonnApp : public QObject {
    Q_OBJECT
public:
    enum EStart { Started, Failed, HandedOver, Unregistered };
    enum EAnswer { Yes, No, Cancel };

    CVonnApp();
    ~CVonnApp() override;
    static CVonnApp* Instance();

    // Start-up with the command-line arguments (program name excluded).
    EStart InitInstance(const QStringList& args);
    // Exit: frees the program-wide state and writes the profile; returns nExitCode.
    int ExitInstance(int nExitCode = 0);

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    const CRecentFileList& RecentFiles() const { return m_recent; }
    int PreviewPages() const { return m_nPreviewPages; }
    QList<CChildFrame*> Frames() const;

    void OnCommand(int nId);
    CChildFrame* OnFileNew();
    void OnFileOpen();
    // Opens a circuit file in a new window, or activates the window that shows it already.
    // Null after a failure, which has been reported.
    CChildFrame* OpenDocumentFile(const QString& strPath);
    bool DoSave(CVonnDoc* pDoc, bool bAskName);
    // The save prompt of a modified circuit: false when the user cancels (or saving fails).
    bool SaveModified(CVonnDoc* pDoc);
    bool SaveAllModified();
    void CloseAllDocuments();
    // Closes a circuit without asking and opens its file again (a new circuit if none).
    void Revert(CChildFrame* pFrame, const QString& strPath);
    void SaveProfile();

    static QString HelpFilePath();

    // How questions and file names are asked; tests answer them without dialogs.
    std::function<EAnswer(const QString&)> m_pfnAskSave;
    std::function<QString()> m_pfnGetOpenFileName;
    std::function<QString(const QString& strDefault)> m_pfnGetSaveFileName;
    // Single-instance socket name; tests use names of their own.
    QString m_strInstanceName;
    bool m_bRegisterShell = true;
    bool m_bShowMainWindow = true;

    static constexpr const char* kFilter = "Electronics  Files (*.kst)";

private:
    CChildFrame* CreateFrame(CVonnDoc* pDoc);
    void OnInstanceMessage(const QString& strMessage);
    void AddToRecentFileList(const QString& strPath);
    void OnPrintSetup();

    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CSingleInstance> m_pSingleInstance;
    std::unique_ptr<QPrinter> m_pPrinter;
    CProfileFile m_profile;
    CRecentFileList m_recent;
    int m_nPreviewPages = 0;
    int m_nUntitled = 0;
    int m_bClassRegistered = 0;
    bool m_bWriteProfile = true;
};

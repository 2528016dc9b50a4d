#pragma once

#include <QString>

// What the installer's flow asks of its pages. Each Show... answers the id that ended the page:
// the window pages in the program, fixed answers in the unattended mode, scripted ones in tests.
class CSetupUi {
public:
    virtual ~CSetupUi() = default;

    virtual int ShowLicence() = 0;
    virtual int ShowWelcome() = 0;
    // Opens with strDir; when it ends with 1000, strDir holds the created destination.
    virtual int ShowDestination(QString& strDir) = 0;
    virtual int ShowExistingCopy() = 0;
    virtual int ShowDiskSpace() = 0;
    virtual int ShowQuitConfirm() = 0;
    virtual void ShowError(const QString& strMessage) = 0;
    virtual void ShowDone() = 0;

    // The modeless progress page.
    virtual void ShowProgress(bool bShow) = 0;
    virtual void SetInstalling(const QString& strName) = 0;
    virtual void StepProgress() = 0;
    // Lets pending window events run, so that the progress page redraws and Abort works.
    virtual void ProcessEvents() = 0;
    virtual bool IsAborted() const = 0;

    // Opens with strPath; when it ends with 1000, strPath is an existing folder.
    virtual int ShowNextDisk(QString& strPath) = 0;
};

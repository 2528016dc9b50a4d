#pragma once

#include "SetupUi.h"

#include <QStringList>
#include <cstdio>

// Answers every page as a scripted install would, printing each page's text to a stream:
// the licence is accepted, strDestination is the destination, an existing copy is installed
// over, and each further disk comes from the next of astrDiskFolders. Anything else quits.
class CUnattendedUi : public CSetupUi {
public:
    CUnattendedUi(const QString& strDestination, const QStringList& astrDiskFolders,
                  FILE* pOut = stdout);

    int ShowLicence() override;
    int ShowWelcome() override;
    int ShowDestination(QString& strDir) override;
    int ShowExistingCopy() override;
    int ShowDiskSpace() override;
    int ShowQuitConfirm() override;
    void ShowError(const QString& strMessage) override;
    void ShowDone() override;
    void ShowProgress(bool bShow) override;
    void SetInstalling(const QString& strName) override;
    void StepProgress() override {}
    void ProcessEvents() override {}
    bool IsAborted() const override { return false; }
    int ShowNextDisk(QString& strPath) override;

private:
    void Print(const QString& strText);

    QString m_strDestination;
    QStringList m_astrDiskFolders;
    FILE* m_pOut;
    bool m_bDestinationGiven = false;
    bool m_bProgressShown = false;
};

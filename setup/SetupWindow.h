#pragma once

#include "SetupUi.h"

#include <QMainWindow>
#include <QWidget>
#include <memory>

class CProgressDlg;
class CSetupEngine;
class CProgManager;

// The pages of the installer shown as windows over the background.
class CGuiUi : public CSetupUi {
public:
    explicit CGuiUi(QWidget* pParent);
    ~CGuiUi() override;

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
    void StepProgress() override;
    void ProcessEvents() override;
    bool IsAborted() const override;
    int ShowNextDisk(QString& strPath) override;

private:
    CProgressDlg* Progress();

    QWidget* m_pParent;
    CProgressDlg* m_pProgress = nullptr;
};

// The full-screen background: teal bands and the two-colour title. Its first timer tick runs the
// installer's flow.
class CSetupView : public QWidget {
    Q_OBJECT
public:
    explicit CSetupView(QWidget* pParent = nullptr);
    ~CSetupView() override;

    bool m_bCompleted = false;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;

private:
    void PaintBackground(QPainter& painter);

    int m_nTimer = 0;
    std::unique_ptr<CGuiUi> m_pUi;
    std::unique_ptr<CProgManager> m_pProgManager;
    std::unique_ptr<CSetupEngine> m_pEngine;
};

// A borderless window covering the whole screen.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    CSetupView* View() const { return m_pView; }

private:
    CSetupView* m_pView;
};

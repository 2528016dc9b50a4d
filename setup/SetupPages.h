#pragma once

#include <QDialog>
#include <QString>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// A page of the installer: the setup caption, picture 132 at the top left, a size given in
// dialog units, centred on the screen when shown. Buttons end it with their id; Escape with 2.
class CSetupPage : public QDialog {
    Q_OBJECT
public:
    CSetupPage(QWidget* pParent, int nWidthDlu, int nHeightDlu);

    void reject() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

    QLabel* AddText(const QString& strText);
    void AddSeparator();
    void AddWidget(QWidget* pWidget);
    // nEndId 0: the button does not end the page by itself.
    QPushButton* AddButton(const QString& strText, int nId, int nEndId, bool bDefault = false);
    // Shows the error page over this page, which then stays open.
    void ShowErrorOver(const QString& strMessage);

private:
    QBoxLayout* m_pTexts;
    QBoxLayout* m_pButtons;
};

class CLicenceDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CLicenceDlg(QWidget* pParent = nullptr);
};

class CWelcomeDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CWelcomeDlg(QWidget* pParent = nullptr);
};

class CDestinationDlg : public CSetupPage {
    Q_OBJECT
public:
    CDestinationDlg(const QString& strDir, QWidget* pParent = nullptr);

    QString m_strDir;

private:
    void OnContinue();
    QLineEdit* m_pEdit;
};

class CExistingCopyDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CExistingCopyDlg(QWidget* pParent = nullptr);
};

class CDiskSpaceDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CDiskSpaceDlg(QWidget* pParent = nullptr);
};

class CQuitConfirmDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CQuitConfirmDlg(QWidget* pParent = nullptr);
};

class CErrorDlg : public CSetupPage {
    Q_OBJECT
public:
    CErrorDlg(const QString& strMessage, QWidget* pParent = nullptr);
};

class CDoneDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CDoneDlg(QWidget* pParent = nullptr);
};

// The modeless copy progress page.
class CProgressDlg : public CSetupPage {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* pParent = nullptr);

    void SetInstalling(const QString& strName);
    void StepIt();
    int Position() const;
    // Escape does not close the progress page: Abort Setup is the way out.
    void reject() override {}

    int m_nAbort = 0;

private:
    void OnAbort();
    QLabel* m_pInstalling;
    QProgressBar* m_pBar;
};

class CNextDiskDlg : public CSetupPage {
    Q_OBJECT
public:
    CNextDiskDlg(const QString& strPath, QWidget* pParent = nullptr);

    QString m_strPath;

private:
    void OnContinue();
    QLineEdit* m_pEdit;
};

// Picture 132: three coloured wires, 33 x 33.
QPixmap DrawPicture132();

#pragma once

#include <QDialog>

// The About box: a caption-less dialog showing the About picture with an OK button,
// centred on the screen when it opens.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    // Left and top that centre a window of size (w, h) on a screen of (H, V) pixels.
    static QPoint CentredPosition(QSize windowSize, QSize screenSize);

protected:
    void showEvent(QShowEvent* pEvent) override;
};

#pragma once

#include <QWidget>

class QTextBrowser;

// The program's own help window: shows the HTML help that ships beside the program.
class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* pParent = nullptr);
    // Shows the help file; false (and a message in the window) when it is missing.
    bool ShowHelp(const QString& strHelpFile);
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};

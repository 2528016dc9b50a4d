#pragma once

#include <QMdiSubWindow>

class CVonnDoc;
class CVonnView;

// The window of one circuit inside the main window: owns the document and holds its one
// workbench view.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(CVonnDoc* pDoc, QWidget* pParent = nullptr);
    ~CChildFrame() override;

    CVonnDoc* GetDocument() const { return m_pDoc; }
    CVonnView* GetView() const { return m_pView; }
    // Framework activation, then the Components menu is added to the menu bar if missing.
    void ActivateFrame();
    // Closing asks to save; a close that the owner already settled skips the prompt.
    void CloseWithoutPrompt();

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void UpdateCaption();

    CVonnDoc* m_pDoc;
    CVonnView* m_pView;
    bool m_bSkipPrompt = false;
};

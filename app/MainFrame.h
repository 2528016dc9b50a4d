#pragma once

#include <QMainWindow>

#include <map>
#include <vector>

class CChildFrame;
class CHelpWindow;
class CVonnView;
class QMdiArea;
class QMenu;
class QShortcut;

// The main window: an MDI area without tool bar or status bar, the two menu bars (no
// circuit open / a circuit open) and the accelerator table. Commands go to the active view
// first, then to the frame, then to the application.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct SAccelerator {
        const char* szKey;
        int nCommand;
    };
    static const std::vector<SAccelerator>& Accelerators();

    CMainFrame();
    ~CMainFrame() override;

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CChildFrame* ActiveChild() const;
    CVonnView* ActiveView() const;

    // The actions of the menu bar that is shown now, by command id (recent files excluded).
    QAction* Action(int nId) const;
    QList<QMenu*> MenuBarMenus() const;
    bool IsCircuitMenuShown() const { return m_bCircuitMenu; }

    bool IsCommandEnabled(int nId) const;
    // Carries out a command if it is enabled; false when it is not.
    bool ExecuteCommand(int nId);
    Q_INVOKABLE void OnCommand(int nId);

    // Brings enabled states, the recent-file entries and the menu bar up to date.
    void UpdateMenus();
    void UpdateCaption();
    void BuildComponentsMenu();
    CHelpWindow* HelpWindow() const { return m_pHelp; }

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    QAction* MakeAction(std::map<int, QAction*>& actions, QMenu* pMenu, const char* szText,
                        int nId);
    void BuildMenus();
    void ShowMenuBar(bool bCircuit);
    void FillRecentFiles(QMenu* pMenu, QAction* pPlaceholder);
    void OnSubWindowActivated();
    void ArrangeIcons();
    void ShowHelp();

    QMdiArea* m_pMdiArea;
    bool m_bCircuitMenu = false;
    std::map<int, QAction*> m_actions128;
    std::map<int, QAction*> m_actions129;
    std::vector<QMenu*> m_menus128;
    std::vector<QMenu*> m_menus129;
    std::vector<QAction*> m_recentActions;
    std::vector<QShortcut*> m_shortcuts;
    CHelpWindow* m_pHelp = nullptr;
};

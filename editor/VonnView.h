#pragma once

#include "OutlineList.h"
#include "Rect.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

class CComponent;
class CVonnDoc;
class CWire;
class CWorkbenchSizeDlg;
class QScrollBar;
class QToolButton;

// The window that shows one circuit: a scrollable part of the workbench with its own two
// scroll bars and a two-button tool bar (Construct, Run) at the bottom left. Painting is
// double-buffered; only the invalidated part is composed again.
class CVonnView : public QWidget {
    Q_OBJECT
public:
    enum EMode {
        ModeIdle = 0,
        ModePlace = 1,
        ModeMove = 2,
        ModeWire = 3,
        ModeNewBend = 4,
        ModeBend = 5,
        ModeFirstEnd = 6,
        ModeLastEnd = 7
    };
    enum EScrollCode {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8
    };
    static constexpr int kToolBarWidth = 70;
    static constexpr int kToolBarHeight = 21;
    static constexpr int kHScrollId = 1;
    static constexpr int kVScrollId = 2;
    static constexpr int kToolBarId = 241;

    explicit CVonnView(CVonnDoc* pDoc, QWidget* pParent = nullptr);
    ~CVonnView() override;

    CVonnDoc* GetDocument() const { return m_pDoc; }
    bool IsRunning() const;

    QRect GetVisibleRect() const;
    QPoint ScrollPosition() const;
    void UpdateScrollRanges(int h, int v);
    // Applies a scroll code to one of the view's scroll bars with the given steps.
    void ScrollLines(int nCode, int nThumbPos, QScrollBar* pBar, int nLineStep, int nPageStep);
    // Scrolls as a scroll bar message of that code does (steps from the visible extent).
    void OnScroll(Qt::Orientation orientation, int nCode, int nThumbPos = 0);

    void RedrawComponent(CComponent* pComp);
    void RedrawWire(CWire* pWire);
    void ResetWireStates(int nState);
    void SaveUndo();
    // A change of the document: a component hint redraws that component, anything else all.
    void OnUpdate(CComponent* pHint);
    // The view became (or stopped being) the active one.
    void OnActivateView(bool bActivate);
    void OnInitialUpdate();

    // Commands routed to the view. IsCommandEnabled answers false for commands the view
    // does not handle; OnCommand answers whether it handled the command.
    bool HandlesCommand(int nId) const;
    bool IsCommandEnabled(int nId) const;
    bool OnCommand(int nId);

    void OnWorkbenchSize();
    void OnRevert();
    void OnRun();
    void OnConstruct();
    void OnAddComponent(int nId);
    // Sets the enabled and pressed states of the tool bar for the current running view.
    void UpdateToolBar();

    // Composes the visible part of the workbench inside clip (client coordinates) into the
    // back buffer, as a paint does; the benchmark and the tests call it directly.
    void ComposeBackBuffer(const QRect& rcClip);
    const QImage& BackBuffer() const { return m_pBackBuffer; }

    QToolButton* ConstructButton() const { return m_pConstructButton; }
    QToolButton* RunButton() const { return m_pRunButton; }
    QScrollBar* HScrollBar() const { return m_wndHScroll; }
    QScrollBar* VScrollBar() const { return m_wndVScroll; }
    QWidget* ToolBar() const { return m_wndToolBar; }

    // How the Workbench Size dialog is shown; tests drive it without an event loop.
    std::function<int(CWorkbenchSizeDlg&)> m_pfnRunSizeDialog;

    int m_bRubberBand = 0;
    CRect m_rcRubberBand;
    QImage m_pBackBuffer;
    int m_nScreenDpiX = 96;
    int m_nScreenDpiY = 96;
    float m_fPrintScale = 1.0f;
    int m_bUndoAvailable = 0;
    QByteArray m_undoFile;
    int m_nPlaceType = 0;
    int m_nPlaceSubType = 0;
    int m_nMode = ModeIdle;
    QPoint m_ptLast;
    QPoint m_ptStart;
    CComponent* m_pWireSource = nullptr;
    int m_nWireSourceTerm = 0;
    QPoint m_ptWireSource;
    QPoint m_ptWireEnd;
    int m_bWireRubber = 0;
    int m_nHitTerm = -1;
    std::unique_ptr<COutlineList> m_pOutlines;
    CWire* m_pEditWire = nullptr;

signals:
    // Revert asks its owner to close this circuit without a prompt and open the path again
    // (a new circuit when the path is empty); the view is gone afterwards.
    void RevertRequested(const QString& strPath);
    // Run and Construct as the view sees them; the simulation attaches to these.
    void RunStarted();
    void RunStopped();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void CreateToolBar();
    void LayoutChildren(int cx, int cy);
    void OnScrollAction(QScrollBar* pBar, int nAction);
    QScrollBar* RecreateScrollBar(QScrollBar* pOld, Qt::Orientation orientation, const QRect& rect);
    void InvalidateWorkbenchRect(CRect rc);
    int VisibleWidth() const;
    int VisibleHeight() const;

    CVonnDoc* m_pDoc;
    QScrollBar* m_wndVScroll = nullptr;
    QScrollBar* m_wndHScroll = nullptr;
    QWidget* m_wndToolBar = nullptr;
    QToolButton* m_pConstructButton = nullptr;
    QToolButton* m_pRunButton = nullptr;
};

#include "VonnView.h"

#include "CommandIds.h"
#include "Component.h"
#include "ComponentList.h"
#include "PaletteMenus.h"
#include "ProgramState.h"
#include "ResourceArt.h"
#include "Sound.h"
#include "TextList.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"
#include "WorkbenchSizeDlg.h"

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

namespace {

const QColor kWorkbenchGrey(192, 192, 192);

CRect Grown(CRect rc, int n) {
    return {rc.left - n, rc.top - n, rc.right + n, rc.bottom + n};
}

} // namespace

CVonnView::CVonnView(CVonnDoc* pDoc, QWidget* pParent)
    : QWidget(pParent), m_pOutlines(std::make_unique<COutlineList>(this)), m_pDoc(pDoc) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    ProgramState().AddView(this);
    CreateToolBar();
    m_wndHScroll = new QScrollBar(Qt::Horizontal, this);
    m_wndHScroll->setObjectName(QStringLiteral("scroll%1").arg(kHScrollId));
    m_wndVScroll = new QScrollBar(Qt::Vertical, this);
    m_wndVScroll->setObjectName(QStringLiteral("scroll%1").arg(kVScrollId));
    for (QScrollBar* pBar : {m_wndHScroll, m_wndVScroll}) {
        pBar->setRange(0, 0);
        connect(pBar, &QScrollBar::actionTriggered, this,
                [this, pBar](int nAction) { OnScrollAction(pBar, nAction); });
        connect(pBar, &QScrollBar::valueChanged, this, [this] {
            m_pOutlines->SetScrollPosition(ScrollPosition());
            update(GetVisibleRect());
            repaint(GetVisibleRect());
        });
    }
    if (m_pDoc) {
        connect(m_pDoc, &CVonnDoc::ContentsChanged, this, [this] { OnUpdate(nullptr); });
        // While the circuit runs the document changes pictures and readings step by step.
        connect(m_pDoc, &CVonnDoc::ComponentChanged, this,
                [this](CComponent* pComp) { RedrawComponent(pComp); });
        connect(m_pDoc, &CVonnDoc::ReadingsChanged, this, [this] { update(); });
        connect(m_pDoc, &CVonnDoc::SimulationFailed, this,
                [](const QString& strReason) { ProgramState().ShowMessage(strReason); });
    }
}

CVonnView::~CVonnView() {
    // A running view that goes away ends its run as Construct would.
    if (IsRunning()) {
        StopEffects();
        ProgramState().m_pRunningView = nullptr;
        CPaletteMenus::Instance().EnableGroups(true);
        if (m_pDoc)
            m_pDoc->StopSimulation();
    }
    ProgramState().RemoveView(this);
}

bool CVonnView::IsRunning() const {
    return ProgramState().m_pRunningView == this;
}

void CVonnView::CreateToolBar() {
    m_wndToolBar = new QWidget(this);
    m_wndToolBar->setObjectName(QStringLiteral("toolbar%1").arg(kToolBarId));
    auto* pLayout = new QHBoxLayout(m_wndToolBar);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    const QImage images = CResourceArt::ToolBarImages();
    auto makeButton = [&](int nImage, int nCommand, const char* szTip) {
        auto* pButton = new QToolButton(m_wndToolBar);
        pButton->setIcon(QIcon(QPixmap::fromImage(images.copy(nImage * 28, 0, 28, 13))));
        pButton->setIconSize(QSize(28, 13));
        pButton->setFixedSize(kToolBarWidth / 2, kToolBarHeight);
        pButton->setAutoRaise(false);
        pButton->setFocusPolicy(Qt::NoFocus);
        pButton->setToolTip(QString::fromLatin1(szTip));
        connect(pButton, &QToolButton::clicked, this, [this, nCommand] {
            if (IsCommandEnabled(nCommand))
                OnCommand(nCommand);
        });
        pLayout->addWidget(pButton);
        return pButton;
    };
    m_pConstructButton = makeButton(0, Cmd::Construct, "Construct");
    m_pRunButton = makeButton(1, Cmd::Run, "Run");
    m_pRunButton->setCheckable(true);
    m_pConstructButton->setEnabled(false);
    m_pRunButton->setChecked(false);
    m_pRunButton->setEnabled(ProgramState().m_pRunningView == nullptr);
}

void CVonnView::UpdateToolBar() {
    const CVonnView* pRunning = ProgramState().m_pRunningView;
    m_pConstructButton->setEnabled(pRunning == this);
    m_pRunButton->setEnabled(pRunning == nullptr);
    m_pRunButton->setChecked(pRunning == this);
}

int CVonnView::VisibleWidth() const {
    return width() - ProgramState().m_nVScrollWidth;
}

int CVonnView::VisibleHeight() const {
    return height() - ProgramState().m_nHScrollHeight;
}

QRect CVonnView::GetVisibleRect() const {
    return QRect(0, 0, std::max(0, VisibleWidth()), std::max(0, VisibleHeight()));
}

QPoint CVonnView::ScrollPosition() const {
    return QPoint(m_wndHScroll->value(), m_wndVScroll->value());
}

void CVonnView::OnInitialUpdate() {
    m_nScreenDpiX = logicalDpiX();
    m_nScreenDpiY = logicalDpiY();
    UpdateScrollRanges(0, 0);
}

void CVonnView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    LayoutChildren(width(), height());
}

void CVonnView::LayoutChildren(int cx, int cy) {
    const int vw = ProgramState().m_nVScrollWidth;
    const int hh = ProgramState().m_nHScrollHeight;
    const int w = std::max(1, cx - vw), h = std::max(1, cy - hh);
    m_pBackBuffer = QImage(w, h, QImage::Format_RGB32);
    m_wndToolBar->setGeometry(0, cy - kToolBarHeight, kToolBarWidth, kToolBarHeight);
    const QPoint pos = ScrollPosition();
    m_wndHScroll->setGeometry(kToolBarWidth, cy - hh, std::max(0, cx - vw - kToolBarWidth), hh);
    m_wndVScroll->setGeometry(cx - vw, 0, vw, std::max(0, cy - hh));
    UpdateScrollRanges(pos.x(), pos.y());
}

void CVonnView::UpdateScrollRanges(int h, int v) {
    {
        const QSignalBlocker blockH(m_wndHScroll);
        const QSignalBlocker blockV(m_wndVScroll);
        // A window wider than the workbench keeps the scroll position at 0.
        const int nMaxH = m_pDoc ? std::max(0, m_pDoc->m_nBenchWidth - VisibleWidth()) : 0;
        const int nMaxV = m_pDoc ? std::max(0, m_pDoc->m_nBenchHeight - VisibleHeight()) : 0;
        m_wndHScroll->setRange(0, nMaxH);
        m_wndVScroll->setRange(0, nMaxV);
        m_wndHScroll->setValue(h);
        m_wndVScroll->setValue(v);
        const int nLineH = std::max(1, VisibleWidth() / 8);
        const int nLineV = std::max(1, VisibleHeight() / 8);
        m_wndHScroll->setSingleStep(nLineH);
        m_wndHScroll->setPageStep(7 * nLineH);
        m_wndVScroll->setSingleStep(nLineV);
        m_wndVScroll->setPageStep(7 * nLineV);
    }
    m_pOutlines->SetScrollPosition(ScrollPosition());
    update();
}

void CVonnView::ScrollLines(int nCode, int nThumbPos, QScrollBar* pBar, int nLineStep,
                            int nPageStep) {
    const int nMin = pBar->minimum(), nMax = pBar->maximum();
    const int nCurrent = pBar->value();
    int nNew = 0;
    switch (nCode) {
    case LineUp:
        nNew = std::max(nMin, nCurrent - nLineStep);
        break;
    case LineDown:
        nNew = std::min(nMax, nCurrent + nLineStep);
        break;
    case PageUp:
        nNew = std::max(nMin, nCurrent - nPageStep);
        break;
    case PageDown:
        nNew = std::min(nMax, nCurrent + nPageStep);
        break;
    case ThumbTrack:
        nNew = std::clamp(nThumbPos, nMin, nMax);
        break;
    case Top:
        nNew = nMin;
        break;
    case Bottom:
        nNew = nMax;
        break;
    default:
        return;
    }
    // Inside a scroll bar action this also becomes the position the bar settles on.
    pBar->setValue(nNew);
    m_pOutlines->SetScrollPosition(ScrollPosition());
}

void CVonnView::OnScroll(Qt::Orientation orientation, int nCode, int nThumbPos) {
    const bool bHorizontal = orientation == Qt::Horizontal;
    const int nLine = std::max(0, (bHorizontal ? VisibleWidth() : VisibleHeight()) / 8);
    ScrollLines(nCode, nThumbPos, bHorizontal ? m_wndHScroll : m_wndVScroll, nLine, 7 * nLine);
}

void CVonnView::OnScrollAction(QScrollBar* pBar, int nAction) {
    int nCode = EndScroll;
    switch (nAction) {
    case QAbstractSlider::SliderSingleStepSub:
        nCode = LineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        nCode = LineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        nCode = PageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        nCode = PageDown;
        break;
    case QAbstractSlider::SliderMove:
        nCode = ThumbTrack;
        break;
    case QAbstractSlider::SliderToMinimum:
        nCode = Top;
        break;
    case QAbstractSlider::SliderToMaximum:
        nCode = Bottom;
        break;
    default:
        break;
    }
    const int nThumb = pBar->sliderPosition();
    // The bar has already moved its slider by its own steps; ours decide.
    {
        const QSignalBlocker block(pBar);
        pBar->setSliderPosition(pBar->value());
    }
    OnScroll(pBar->orientation(), nCode, nThumb);
}

void CVonnView::ComposeBackBuffer(const QRect& rcClip) {
    if (m_pBackBuffer.isNull() || !m_pDoc)
        return;
    const QPoint scroll = ScrollPosition();
    const QRect clip = rcClip & QRect(QPoint(0, 0), m_pBackBuffer.size());
    if (clip.isEmpty())
        return;
    QPainter p(&m_pBackBuffer);
    p.setClipRect(clip);
    p.translate(-scroll.x(), -scroll.y());
    const QRect wbClip = clip.translated(scroll);
    p.fillRect(wbClip, kWorkbenchGrey);
    m_pDoc->m_pComponents->DrawAll(p);
    m_pDoc->m_pWires->DrawAll(p);
    m_pDoc->m_pTexts->DrawAll(p);
    m_pOutlines->Draw(p);
    m_pDoc->m_pComponents->DrawReadings(p, IsRunning());
    if (m_bWireRubber) {
        p.setPen(ProgramState().DrawTools().m_penSelectedWire);
        p.drawLine(m_ptWireSource, m_ptWireEnd);
    }
    if (m_bRubberBand) {
        m_rcRubberBand.Normalize();
        // A dotted frame that inverts what lies beneath, like a focus rectangle.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPen pen(Qt::white, 1, Qt::DotLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_rcRubberBand.left, m_rcRubberBand.top, m_rcRubberBand.Width() - 1,
                   m_rcRubberBand.Height() - 1);
    }
}

void CVonnView::paintEvent(QPaintEvent* pEvent) {
    const QRect visible = GetVisibleRect();
    const QRect clip = pEvent->rect() & visible;
    QPainter p(this);
    if (!clip.isEmpty()) {
        ComposeBackBuffer(clip);
        p.drawImage(clip.topLeft(), m_pBackBuffer, clip);
    }
    p.fillRect(QRect(visible.right() + 1, visible.bottom() + 1, ProgramState().m_nVScrollWidth,
                     ProgramState().m_nHScrollHeight),
               kWorkbenchGrey);
}

void CVonnView::InvalidateWorkbenchRect(CRect rc) {
    const QPoint scroll = ScrollPosition();
    rc.Normalize();
    rc.Offset(-scroll.x(), -scroll.y());
    update(rc.ToQRect());
}

void CVonnView::RedrawComponent(CComponent* pComp) {
    if (!pComp)
        return;
    InvalidateWorkbenchRect(Grown(pComp->m_rect, 3));
    for (int i = 0; i < pComp->m_nTerminals && i < CComponent::kMaxTerminals; ++i)
        RedrawWire(pComp->m_pWire[i]);
}

void CVonnView::RedrawWire(CWire* pWire) {
    if (!pWire)
        return;
    const CRect box = pWire->BoundingRect();
    InvalidateWorkbenchRect(Grown(CRect(0, 0, box.right, box.bottom), 2));
}

void CVonnView::ResetWireStates(int nState) {
    if (!m_pDoc)
        return;
    for (CWire* pWire : *m_pDoc->m_pWires)
        if (pWire->m_nState != nState) {
            pWire->m_nState = nState;
            const CRect box = pWire->BoundingRect();
            InvalidateWorkbenchRect(Grown(CRect(0, 0, box.right, box.bottom), 5));
        }
}

void CVonnView::SaveUndo() {
    if (!m_pDoc)
        return;
    m_undoFile = m_pDoc->SaveToBytes();
    m_bUndoAvailable = 1;
}

void CVonnView::OnUpdate(CComponent* pHint) {
    if (pHint)
        RedrawComponent(pHint);
    else
        update();
}

void CVonnView::OnActivateView(bool bActivate) {
    if (bActivate)
        CPaletteMenus::Instance().EnableGroups(!IsRunning());
}

bool CVonnView::HandlesCommand(int nId) const {
    switch (nId) {
    case Cmd::Revert:
    case Cmd::Run:
    case Cmd::Construct:
    case Cmd::WorkbenchSize:
        return true;
    default:
        return nId >= Cmd::FirstKind && nId <= Cmd::LastKind;
    }
}

bool CVonnView::IsCommandEnabled(int nId) const {
    switch (nId) {
    case Cmd::Revert:
        return m_pDoc && m_pDoc->IsModified();
    case Cmd::Run:
        return ProgramState().m_pRunningView == nullptr;
    case Cmd::Construct:
        return IsRunning();
    default:
        return HandlesCommand(nId);
    }
}

bool CVonnView::OnCommand(int nId) {
    switch (nId) {
    case Cmd::Revert:
        OnRevert();
        return true;
    case Cmd::Run:
        OnRun();
        return true;
    case Cmd::Construct:
        OnConstruct();
        return true;
    case Cmd::WorkbenchSize:
        OnWorkbenchSize();
        return true;
    default:
        if (nId >= Cmd::FirstKind && nId <= Cmd::LastKind) {
            OnAddComponent(nId);
            return true;
        }
        return false;
    }
}

void CVonnView::OnWorkbenchSize() {
    if (!m_pDoc)
        return;
    const int W = VisibleWidth(), H = VisibleHeight();
    CWorkbenchSizeDlg dlg(this);
    dlg.m_nHeight = unsigned(m_pDoc->m_nBenchHeight);
    dlg.m_nWidth = unsigned(m_pDoc->m_nBenchWidth);
    for (;;) {
        dlg.LoadValues();
        const int nResult = m_pfnRunSizeDialog ? m_pfnRunSizeDialog(dlg) : dlg.exec();
        if (nResult != QDialog::Accepted)
            break;
        if (qint64(dlg.m_nHeight) < H) {
            ProgramState().ShowMessage(
                QStringLiteral("WorkBench height should be larger than window"));
            dlg.m_nHeight = unsigned(H);
        } else if (qint64(dlg.m_nWidth) < W) {
            ProgramState().ShowMessage(
                QStringLiteral("WorkBench width should be larger than window"));
            dlg.m_nWidth = unsigned(W);
        } else {
            m_pDoc->m_nBenchHeight = int(dlg.m_nHeight);
            m_pDoc->m_nBenchWidth = int(dlg.m_nWidth);
            break;
        }
    }
    const QPoint pos = ScrollPosition();
    UpdateScrollRanges(pos.x(), pos.y());
}

void CVonnView::OnRevert() {
    if (!m_pDoc)
        return;
    if (!ProgramState().AskYesNo(QStringLiteral("Revert to the previously saved version?")))
        return;
    emit RevertRequested(m_pDoc->GetPathName());
}

void CVonnView::OnRun() {
    if (ProgramState().m_pRunningView)
        return;
    ProgramState().m_pRunningView = this;
    CPaletteMenus::Instance().EnableGroups(false);
    m_pDoc->m_pComponents->SelectAll(false);
    m_pDoc->m_pTexts->MarkAll(false);
    for (CWire* pWire : *m_pDoc->m_pWires)
        pWire->m_nState = CWire::Plain;
    for (CVonnView* pView : ProgramState().m_views)
        pView->UpdateToolBar();
    emit RunStarted();
    m_pDoc->StartSimulation();
    update();
}

void CVonnView::OnConstruct() {
    if (!IsRunning())
        return;
    StopEffects();
    ProgramState().m_pRunningView = nullptr;
    m_pDoc->StopSimulation();
    CPaletteMenus::Instance().EnableGroups(true);
    for (CVonnView* pView : ProgramState().m_views)
        pView->UpdateToolBar();
    emit RunStopped();
    update();
}

void CVonnView::OnAddComponent(int nId) {
    if (IsRunning()) {
        ProgramState().ShowMessage(
            QStringLiteral(" Please add new component in\nCONSTRUCTION mode."));
        return;
    }
    int nType = 0, nSubType = 0;
    if (!KindForCommand(nId, &nType, &nSubType))
        return;
    m_nPlaceType = nType;
    if (nId != Cmd::TextKind)
        m_nPlaceSubType = nSubType;
    m_nMode = ModePlace;
    setCursor(CResourceArt::PlacingCursor(nId));
}

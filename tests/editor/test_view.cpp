#include "CommandIds.h"
#include "Component.h"
#include "ComponentList.h"
#include "DemoCircuit.h"
#include "ProgramState.h"
#include "TestSupport.h"
#include "Text.h"
#include "TextList.h"
#include "VonnDoc.h"
#include "VonnView.h"
#include "WorkbenchSizeDlg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A view of 416 x 336 pixels with 16-pixel scroll bars: a visible area of 400 x 320.
class CViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramState().SetProgramFolderFromExecutable(kest::test::BinPath(QStringLiteral("kest")));
        ProgramState().m_nVScrollWidth = 16;
        ProgramState().m_nHScrollHeight = 16;
        ProgramState().m_pfnShowMessage = [this](const QString& s) { m_messages << s; };
        m_pDoc = std::make_unique<CVonnDoc>();
        m_pDoc->OnNewDocument();
        m_pView = std::make_unique<CVonnView>(m_pDoc.get());
        m_pView->resize(416, 336);
        m_pView->show();
        m_pView->OnInitialUpdate();
    }
    void TearDown() override {
        m_pView.reset();
        ProgramState().m_pfnShowMessage = nullptr;
    }

    std::unique_ptr<CVonnDoc> m_pDoc;
    std::unique_ptr<CVonnView> m_pView;
    QStringList m_messages;
};

bool IsDark(QRgb c) {
    return qGray(c) < 64;
}

} // namespace

TEST_F(CViewTest, LayoutPlacesToolBarScrollBarsAndVisibleArea) {
    EXPECT_EQ(m_pView->GetVisibleRect(), QRect(0, 0, 400, 320));
    EXPECT_EQ(m_pView->ToolBar()->geometry(), QRect(0, 315, 70, 21));
    EXPECT_EQ(m_pView->HScrollBar()->geometry(), QRect(70, 320, 330, 16));
    EXPECT_EQ(m_pView->VScrollBar()->geometry(), QRect(400, 0, 16, 320));
    EXPECT_EQ(m_pView->BackBuffer().size(), QSize(400, 320));
    EXPECT_EQ(m_pView->HScrollBar()->maximum(), 1280 - 400);
    EXPECT_EQ(m_pView->VScrollBar()->maximum(), 1280 - 320);
    EXPECT_FALSE(m_pView->ConstructButton()->isEnabled());
    EXPECT_TRUE(m_pView->RunButton()->isEnabled());
    // A window larger than the workbench keeps the scroll position at 0.
    m_pView->resize(1500, 1500);
    EXPECT_EQ(m_pView->HScrollBar()->maximum(), 0);
    EXPECT_EQ(m_pView->HScrollBar()->value(), 0);
}

TEST_F(CViewTest, ScrollCodesMoveByEighthsAndSevenEighths) {
    struct SStep {
        int nCode, nThumb, nExpected;
    };
    // Horizontal: line 50, page 350, range 0..880.
    const SStep steps[] = {{CVonnView::LineDown, 0, 50},       {CVonnView::PageDown, 0, 400},
                           {CVonnView::LineUp, 0, 350},        {CVonnView::PageUp, 0, 0},
                           {CVonnView::LineUp, 0, 0},          {CVonnView::Bottom, 0, 880},
                           {CVonnView::PageDown, 0, 880},      {CVonnView::ThumbTrack, 123, 123},
                           {CVonnView::ThumbTrack, 5000, 880}, {CVonnView::ThumbTrack, -4, 0},
                           {CVonnView::ThumbPosition, 10, 0},  {CVonnView::EndScroll, 10, 0},
                           {CVonnView::Bottom, 0, 880},        {CVonnView::Top, 0, 0}};
    for (const SStep& s : steps) {
        m_pView->OnScroll(Qt::Horizontal, s.nCode, s.nThumb);
        EXPECT_EQ(m_pView->HScrollBar()->value(), s.nExpected) << "code " << s.nCode;
    }
    // Vertical: line 40, page 280.
    m_pView->OnScroll(Qt::Vertical, CVonnView::PageDown, 0);
    m_pView->OnScroll(Qt::Vertical, CVonnView::LineDown, 0);
    EXPECT_EQ(m_pView->VScrollBar()->value(), 320);
    EXPECT_EQ(m_pView->m_pOutlines->ScrollPosition(), QPoint(0, 320));
    // The bar's own arrow does the same as the code.
    m_pView->VScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_pView->VScrollBar()->value(), 360);
}

TEST_F(CViewTest, WorkbenchSizeMessagesComeInTheirOrder) {
    // Each showing of the dialog takes entries from the script until one is accepted.
    std::vector<std::pair<QString, QString>> script = {
        {"abc", "2000"}, {"0", "2000"}, {"32761", "2000"}, {"100", "100"}, // height too small
        {"500", "100"},                                                    // then the width
        {"500", "400"}};                                                   // equal: accepted
    size_t nNext = 0;
    std::vector<QString> shownHeights;
    m_pView->m_pfnRunSizeDialog = [&](CWorkbenchSizeDlg& dlg) {
        shownHeights.push_back(dlg.HeightEdit()->text() + QLatin1Char('x') +
                               dlg.WidthEdit()->text());
        while (nNext < script.size()) {
            dlg.HeightEdit()->setText(script[nNext].first);
            dlg.WidthEdit()->setText(script[nNext].second);
            ++nNext;
            if (dlg.SaveValues())
                return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    m_pView->OnCommand(Cmd::WorkbenchSize);
    EXPECT_EQ(m_messages, (QStringList{"Please enter a positive integer.",
                                       "Please enter an integer between 1 and 32760.",
                                       "Please enter an integer between 1 and 32760.",
                                       "WorkBench height should be larger than window",
                                       "WorkBench width should be larger than window"}));
    EXPECT_EQ(shownHeights, (std::vector<QString>{"1280x1280", "320x100", "500x400"}));
    EXPECT_EQ(m_pDoc->m_nBenchHeight, 500);
    EXPECT_EQ(m_pDoc->m_nBenchWidth, 400);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_pView->VScrollBar()->maximum(), 180);
    EXPECT_EQ(m_pView->HScrollBar()->maximum(), 0);

    // Cancel stores nothing.
    m_messages.clear();
    m_pView->m_pfnRunSizeDialog = [](CWorkbenchSizeDlg& dlg) {
        dlg.HeightEdit()->setText(QStringLiteral("9000"));
        return int(QDialog::Rejected);
    };
    m_pView->OnCommand(Cmd::WorkbenchSize);
    EXPECT_EQ(m_pDoc->m_nBenchHeight, 500);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(CViewTest, PaintsComponentsWiresTextsAndOutlinesWhereTheyLie) {
    kest::test::BuildDemoCircuit(*m_pDoc);
    m_pView->m_pOutlines->Add(CRect(119, 99, 156, 136)); // the resistor's outline
    QImage shot = m_pView->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(416, 336));
    const QRgb grey = qRgb(192, 192, 192);
    EXPECT_EQ(shot.pixel(390, 300), grey);
    EXPECT_EQ(shot.pixel(408, 328), grey);            // the square between the scroll bars
    EXPECT_TRUE(IsDark(shot.pixel(97, 117)));         // wire battery -> resistor
    EXPECT_TRUE(IsDark(shot.pixel(340, 180)));        // the bent wire's vertical run
    EXPECT_TRUE(IsDark(shot.pixel(20, 200)));         // the return wire's bend
    EXPECT_EQ(shot.pixel(119, 110), qRgb(255, 0, 0)); // outline's left edge
    EXPECT_EQ(shot.pixel(130, 135), qRgb(255, 0, 0)); // outline's bottom edge (bottom - 1)
    int nBatteryDark = 0;
    for (int y = 100; y < 135; ++y)
        for (int x = 40; x < 75; ++x)
            nBatteryDark += IsDark(shot.pixel(x, y));
    EXPECT_GT(nBatteryDark, 20);
    const CText* pText = *m_pDoc->m_pTexts->begin();
    const CRect rc = pText->m_rect.Normalized();
    int nTextDark = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            nTextDark += IsDark(shot.pixel(x, y));
    EXPECT_GT(nTextDark, 20);

    // Scrolled by (10, 20) everything moves up and left by as much.
    m_pView->OnScroll(Qt::Horizontal, CVonnView::ThumbTrack, 10);
    m_pView->OnScroll(Qt::Vertical, CVonnView::ThumbTrack, 20);
    shot = m_pView->grab().toImage();
    EXPECT_TRUE(IsDark(shot.pixel(87, 97)));
    EXPECT_TRUE(IsDark(shot.pixel(330, 160)));
    EXPECT_EQ(shot.pixel(109, 90), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(408, 328), grey);
}

TEST_F(CViewTest, SaveUndoKeepsTheCircuitAsAFileImage) {
    kest::test::BuildDemoCircuit(*m_pDoc);
    EXPECT_EQ(m_pView->m_bUndoAvailable, 0);
    m_pView->SaveUndo();
    EXPECT_EQ(m_pView->m_bUndoAvailable, 1);
    EXPECT_EQ(m_pView->m_undoFile, m_pDoc->SaveToBytes());
    m_pDoc->m_nBenchWidth = 999;
    m_pView->SaveUndo();
    EXPECT_EQ(m_pView->m_undoFile, m_pDoc->SaveToBytes());
}

TEST_F(CViewTest, RunAndConstructSwitchTheButtons) {
    EXPECT_TRUE(m_pView->IsCommandEnabled(Cmd::Run));
    EXPECT_FALSE(m_pView->IsCommandEnabled(Cmd::Construct));
    EXPECT_FALSE(m_pView->IsCommandEnabled(Cmd::Print)); // printing comes later
    m_pView->RunButton()->click();
    EXPECT_TRUE(m_pView->IsRunning());
    EXPECT_TRUE(m_pView->ConstructButton()->isEnabled());
    EXPECT_TRUE(m_pView->RunButton()->isChecked());
    m_pView->ConstructButton()->click();
    EXPECT_FALSE(m_pView->IsRunning());
    EXPECT_FALSE(m_pView->ConstructButton()->isEnabled());
    // A destroyed running view leaves no running view behind.
    m_pView->OnRun();
    m_pView.reset();
    EXPECT_EQ(ProgramState().m_pRunningView, nullptr);
}

TEST_F(CViewTest, RunPlaysTheCircuitBackAndConstructEndsIt) {
    QString strError;
    ASSERT_TRUE(m_pDoc->OnOpenDocument(kest::test::BinPath(QStringLiteral("examples/lamps.kst")),
                                       &strError));
    m_pDoc->m_engineOptions = {QStringLiteral("--fast")};
    int nRedraws = 0;
    QObject::connect(m_pDoc.get(), &CVonnDoc::ComponentChanged, [&] { ++nRedraws; });
    m_pView->RunButton()->click();
    ASSERT_TRUE(m_pDoc->IsRunning());
    QElapsedTimer timer;
    timer.start();
    while (m_pDoc->m_nResultSteps < 5 && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GE(m_pDoc->m_nResultSteps, 5);
    EXPECT_GT(nRedraws, 0); // a lamp lit and one burnt out
    m_pView->ConstructButton()->click();
    EXPECT_FALSE(m_pDoc->IsRunning());
    for (const CComponent* pComp : *m_pDoc->m_pComponents)
        if (pComp->m_nType == 3) {
            EXPECT_EQ(pComp->m_fValue[2], 0.1f);
        }
}

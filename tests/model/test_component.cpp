#include "Component.h"
#include "ComponentList.h"
#include "ProgramState.h"
#include "Wire.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<CComponent> Make(int nType, int nSubType, QPoint pt = {100, 100}) {
    const tagSComponentInfo* pInfo = FindInfo(nType, nSubType);
    EXPECT_NE(pInfo, nullptr);
    return std::make_unique<CComponent>(*pInfo, pt);
}

// Records the message boxes the model asks for.
struct MessageRecorder {
    QStringList messages;
    MessageRecorder() {
        ProgramState().m_pfnShowMessage = [this](const QString& s) { messages << s; };
    }
    ~MessageRecorder() { ProgramState().m_pfnShowMessage = nullptr; }
};

// Points pictures at a library that does not exist while alive.
struct LibraryRemoved {
    LibraryRemoved() { ProgramState().m_strLibraryName = QStringLiteral("libkest-missing.so"); }
    ~LibraryRemoved() {
        ProgramState().m_strLibraryName = QString::fromLatin1(CProgramState::kLibraryName);
    }
};

} // namespace

TEST(Component, NewMetersStartOnTheirDefaultRangePicture) {
    struct Case {
        int nSubType;
        float fRange;
        int nBitmapId;
    } cases[] = {{1, 2.1f, 339}, {2, 2.1f, 320}, {3, 0.1f, 351}, {4, 0.1f, 149}};
    for (const Case& c : cases) {
        auto pComp = Make(1, c.nSubType);
        EXPECT_EQ(pComp->m_fValue[0], c.fRange) << c.nSubType;
        EXPECT_EQ(pComp->m_nBitmapId, c.nBitmapId) << c.nSubType;
        EXPECT_FALSE(pComp->m_hBitmap.isNull());
        EXPECT_EQ(pComp->m_size, QSize(35, 35));
        EXPECT_EQ(pComp->m_rect, CRect(100, 100, 135, 135));
        EXPECT_EQ(pComp->m_bShowValue, 1);
        for (int n : pComp->m_nNode)
            EXPECT_EQ(n, -1);
    }
}

TEST(Component, HitTestFindsTerminalZonesByEdge) {
    auto pPot = Make(3, 5, {100, 100}); // terminals (0,17) (34,17) (17,0)
    auto pDc = Make(2, 2, {200, 100});  // terminal (17,34)
    struct Case {
        CComponent* pComp;
        QPoint pt;
        bool bHit;
        int nTerminal;
    } cases[] = {
        {pPot.get(), {103, 117}, true, 0},  // 3 pixels inside the left edge
        {pPot.get(), {107, 120}, true, 0},  // zone is 8 wide, 4 above and below
        {pPot.get(), {108, 117}, true, -1}, // just past the left zone
        {pPot.get(), {103, 121}, true, -1}, // just below it
        {pPot.get(), {133, 117}, true, 1},  // right edge: the zone ends before the terminal
        {pPot.get(), {134, 117}, true, -1},  {pPot.get(), {126, 113}, true, 1},
        {pPot.get(), {125, 117}, true, -1},  {pPot.get(), {117, 100}, true, 2}, // top edge
        {pPot.get(), {113, 107}, true, 2},   {pPot.get(), {117, 108}, true, -1},
        {pPot.get(), {117, 117}, true, -1}, // the middle of the picture
        {pPot.get(), {135, 117}, false, -1}, {pPot.get(), {99, 117}, false, -1},
        {pDc.get(), {217, 133}, true, 0}, // bottom edge, likewise
        {pDc.get(), {217, 134}, true, -1},   {pDc.get(), {213, 126}, true, 0},
        {pDc.get(), {217, 125}, true, -1},
    };
    for (const Case& c : cases) {
        int nTerminal = 99;
        CComponent* pHit = c.pComp->HitTest(c.pt, &nTerminal);
        EXPECT_EQ(pHit != nullptr, c.bHit) << c.pt.x() << "," << c.pt.y();
        EXPECT_EQ(nTerminal, c.nTerminal) << c.pt.x() << "," << c.pt.y();
    }
}

TEST(ComponentList, HeadIsHitFirstAndDrawnLast) {
    CComponentList list;
    auto* pBottom = new CComponent(*FindInfo(3, 1), {100, 100});
    auto* pTop = new CComponent(*FindInfo(7, 3), {110, 100});
    list.AddHead(pBottom);
    list.AddHead(pTop);
    EXPECT_EQ(list.HitTest({120, 110}, nullptr), pTop);
    EXPECT_EQ(list.HitTest({105, 110}, nullptr), pBottom);
    list.MoveToHead(pBottom);
    EXPECT_EQ(list.HitTest({120, 110}, nullptr), pBottom);
    EXPECT_EQ(list.BoundingRect(), CRect(100, 100, 145, 135));

    // Drawn tail to head: the head's picture covers the overlap.
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        list.DrawAll(painter);
    }
    const QImage& headPicture = pBottom->m_hBitmap;
    for (int x = 110; x < 135; ++x)
        for (int y = 100; y < 135; ++y)
            ASSERT_EQ(image.pixel(x, y), headPicture.pixel(x - 100, y - 100));
    pTop->m_bSelected = 1;
    EXPECT_EQ(list.FindSelected(), pTop);
    EXPECT_EQ(list.CountSelected(true), 1);
    list.SelectAll(true);
    EXPECT_EQ(list.CountSelected(false), 0);
}

struct PictureCase {
    int nType, nSubType, nOrientation;
    float f0, f2;
    int nPicture;
};

TEST(Component, ReloadPictureFollowsTheStateTable) {
    const PictureCase cases[] = {
        {1, 1, 0, 0.1f, 0, 347},  {1, 1, 3, 1.1f, 0, 346},  {1, 1, 1, 2.1f, 0, 340},
        {1, 2, 0, 0.1f, 0, 328},  {1, 2, 2, 0.1f, 0, 330},  {1, 2, 0, 1.1f, 0, 324},
        {1, 3, 1, 1.1f, 0, 354},  {1, 3, 0, 2.1f, 0, 355},  {3, 6, 1, 0, 2.1f, 414},
        {3, 6, 0, 0, 1.1f, 411},  {3, 7, 0, 0, 1.1f, 439},  {3, 8, 1, 0, 2.1f, 422},
        {3, 9, 0, 0, 2.1f, 447},  {3, 10, 0, 0, 1.1f, 425}, {3, 10, 1, 0, 1.1f, 426},
        {3, 10, 0, 0, 2.1f, 427}, {3, 11, 1, 0, 2.1f, 432}, {3, 12, 1, 0, 1.1f, 436},
        {4, 1, 1, 1.1f, 0, 380},  {4, 2, 3, 1.1f, 0, 388},  {4, 3, 0, 1.1f, 0, 391},
        {4, 4, 1, 1.1f, 0, 396},  {4, 6, 0, 1.1f, 0, 400},  {4, 7, 1, 1.1f, 0, 405},
        {4, 9, 0, 1.1f, 0, 408},  {4, 9, 0, 0, 0, 407},     {6, 1, 2, 0, 0, 235},
    };
    for (const PictureCase& c : cases) {
        auto pComp = Make(c.nType, c.nSubType);
        pComp->m_nOrientation = c.nOrientation;
        pComp->m_fValue[0] = c.f0;
        pComp->m_fValue[2] = c.f2;
        EXPECT_TRUE(pComp->ReloadPicture());
        EXPECT_EQ(pComp->PictureId(), c.nPicture) << c.nType << "," << c.nSubType;
        EXPECT_EQ(pComp->m_ptPos, QPoint(100, 100));
    }
}

TEST(Component, RotateStepsOrientationsAndDragsWireEnds) {
    auto pScope = Make(1, 5);
    pScope->Rotate(true);
    EXPECT_EQ(pScope->m_nOrientation, 0);
    auto pCross = Make(4, 12);
    pCross->Rotate(true);
    EXPECT_EQ(pCross->m_nOrientation, 0);

    auto pRes = Make(3, 1);
    pRes->Rotate(true);
    EXPECT_EQ(pRes->m_nOrientation, 1);
    EXPECT_EQ(pRes->PictureId(), 165);
    pRes->Rotate(true);
    EXPECT_EQ(pRes->m_nOrientation, 0);

    auto pPot = Make(3, 5, {100, 100});
    auto pOther = Make(3, 1, {200, 40});
    CWire wire(pOther.get(), 0, pPot.get(), 2);
    wire.InsertVertex({150, 50}, &wire.m_pPoints.front(), &wire.m_pPoints.back());
    EXPECT_EQ(wire.m_pPoints.back(), QPoint(117, 100));
    pPot->Rotate(true);
    EXPECT_EQ(wire.m_pPoints.back(), QPoint(100, 117)); // the left edge in orientation 1
    EXPECT_EQ(*std::next(wire.m_pPoints.begin()), QPoint(150, 50));
    EXPECT_EQ(wire.m_pPoints.front(), QPoint(200, 57));
}

TEST(Component, MissingLibraryReportsAndKeepsTheOldPicture) {
    auto pSwitch = Make(4, 1);
    const QImage oldPicture = pSwitch->m_hBitmap;
    MessageRecorder recorder;
    {
        LibraryRemoved removed;
        pSwitch->m_fValue[0] = 1.1f;
        EXPECT_FALSE(pSwitch->ReloadPicture());
    }
    EXPECT_EQ(recorder.messages, QStringList{QStringLiteral("Can't read in bitmap file")});
    EXPECT_EQ(pSwitch->m_hBitmap, oldPicture);
    EXPECT_EQ(pSwitch->m_nBitmapId, 379);
    EXPECT_EQ(pSwitch->m_rect, CRect(100, 100, 135, 135));

    // Rotation skips every orientation whose picture fails and stops at orientation 0.
    auto pBattery = Make(2, 1);
    recorder.messages.clear();
    {
        LibraryRemoved removed;
        pBattery->Rotate(true);
    }
    EXPECT_EQ(pBattery->m_nOrientation, 0);
    EXPECT_EQ(recorder.messages.size(), 4);

    // A component built without its picture cannot be hit or drawn.
    LibraryRemoved removed;
    auto pBlind = Make(3, 1);
    EXPECT_TRUE(pBlind->m_hBitmap.isNull());
    EXPECT_EQ(pBlind->HitTest({110, 110}, nullptr), nullptr);
}

TEST(Component, ReloadAfterAMissingPictureKeepsThePosition) {
    std::unique_ptr<CComponent> pComp;
    {
        LibraryRemoved removed;
        pComp = Make(3, 6, {300, 200});
    }
    ASSERT_TRUE(pComp->m_hBitmap.isNull());
    EXPECT_TRUE(pComp->ReloadPicture());
    EXPECT_EQ(pComp->m_ptPos, QPoint(300, 200));
    EXPECT_EQ(pComp->m_rect, CRect(300, 200, 335, 235));
}

TEST(Component, MoveByMovesOnlyTheAttachedEnd) {
    auto pA = Make(2, 1, {40, 100});
    auto pB = Make(3, 1, {120, 100});
    CWire wire(pA.get(), 1, pB.get(), 0);
    wire.InsertVertex({90, 60}, &wire.m_pPoints.front(), &wire.m_pPoints.back());
    pA->MoveBy(-10, 5);
    EXPECT_EQ(pA->m_rect, CRect(30, 105, 65, 140));
    const std::vector<QPoint> expected = {{64, 122}, {90, 60}, {120, 117}};
    EXPECT_EQ(std::vector<QPoint>(wire.m_pPoints.begin(), wire.m_pPoints.end()), expected);
}

TEST(Component, DeletingDetachesWiresFromBothSides) {
    auto pA = Make(2, 1, {40, 100});
    auto* pB = new CComponent(*FindInfo(3, 1), {120, 100});
    auto pC = Make(3, 1, {120, 200});
    CWire w1(pA.get(), 1, pB, 0);
    CWire w2(pB, 1, pC.get(), 0);
    delete pB;
    EXPECT_EQ(w1.m_pCompB, nullptr);
    EXPECT_EQ(w1.m_pCompA, pA.get());
    EXPECT_EQ(pA->m_pWire[1], nullptr);
    EXPECT_EQ(w2.m_pCompA, nullptr);
    EXPECT_EQ(pC->m_pWire[0], nullptr);
    EXPECT_FALSE(w1.IsComplete());

    // A wire joining two terminals of one component leaves no end pointing at it.
    auto* pSelf = new CComponent(*FindInfo(3, 1), {300, 300});
    CWire loop(pSelf, 0, pSelf, 1);
    pSelf->MoveBy(5, 0);
    EXPECT_EQ(loop.m_pPoints.front(), QPoint(305, 317));
    EXPECT_EQ(loop.m_pPoints.back(), QPoint(339, 317));
    delete pSelf;
    EXPECT_EQ(loop.m_pCompA, nullptr);
    EXPECT_EQ(loop.m_pCompB, nullptr);
}

TEST(MeterReading, FormatsInTheRangeUnit) {
    struct Case {
        float fReading;
        int nRange;
        const char* pszText;
    } cases[] = {
        {0.0123f, 1, "12.30"},       {-0.000001f, 2, "0.00"}, {0.0047f, 0, "4700.00"},
        {0.142857f, 2, "0.14"},      {3.0f, 2, "3.00"},       {1.5e-6f, 0, "1.50"},
        {-0.0049f, 1, "-4.90"},      {2.0f, 3, "0.00"},       {-0.004f, 2, "0.00"},
        {999999.0f, 2, "999999.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatMeterReading(c.fReading, c.nRange), QString::fromLatin1(c.pszText))
            << c.fReading << " range " << c.nRange;
}

TEST(ComponentList, DrawReadingsOnlyWhileRunningAndZeroesMissingReadings) {
    CComponentList list;
    auto* pMeter = new CComponent(*FindInfo(1, 1), {100, 5});
    pMeter->m_fValue[3] = kNoValue;
    list.AddHead(pMeter);
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QImage before = image;
    {
        QPainter painter(&image);
        list.DrawReadings(painter, false);
    }
    EXPECT_EQ(image, before);
    EXPECT_EQ(pMeter->m_fValue[3], kNoValue);
    {
        QPainter painter(&image);
        list.DrawReadings(painter, true);
    }
    EXPECT_EQ(pMeter->m_fValue[3], 0.0f);
    // The label would start above the workbench: it is pushed down to the top edge,
    // with its blue frame one pixel further out.
    bool bBlue = false;
    for (int x = 95; x < 160; ++x)
        bBlue |= image.pixelColor(x, 0) == QColor(Qt::blue) ||
                 image.pixelColor(x, 1) == QColor(Qt::blue);
    EXPECT_TRUE(bBlue);
}

TEST(ProgramState, ProgramFolderIsCutAtTheLastSlashAndLongPathsAreRefused) {
    CProgramState state;
    EXPECT_TRUE(state.SetProgramFolderFromExecutable(QStringLiteral("/opt/kest/kest")));
    EXPECT_EQ(state.ProgramFolder(), QStringLiteral("/opt/kest"));
    EXPECT_EQ(state.ProgramFile(QStringLiteral("kest.cir")), QStringLiteral("/opt/kest/kest.cir"));
    const QString strLong = QStringLiteral("/") + QString(298, QLatin1Char('a'));
    EXPECT_TRUE(state.SetProgramFolderFromExecutable(strLong.left(299)));
    EXPECT_FALSE(state.SetProgramFolderFromExecutable(strLong + QStringLiteral("/kest")));
    EXPECT_TRUE(state.ProgramFolder().isEmpty());
    EXPECT_TRUE(ProgramState().InitProgramFolder());
    EXPECT_FALSE(ProgramState().ProgramFolder().isEmpty());
}

TEST(ProgramState, ScopeNumbersCountUpAndRunFolderIsPrivate) {
    CProgramState state;
    EXPECT_EQ(state.TakeScopeNumber(), 1);
    EXPECT_EQ(state.TakeScopeNumber(), 2);
    const QString strFolder = state.RunFolder();
    ASSERT_FALSE(strFolder.isEmpty());
    EXPECT_TRUE(QFileInfo(strFolder).isDir());
    EXPECT_EQ(QFileInfo(strFolder).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
}

#include "Component.h"
#include "ComponentList.h"
#include "Wire.h"
#include "WireList.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
std::vector<QPoint> Vertices(const CWire& w) {
    return {w.m_pPoints.begin(), w.m_pPoints.end()};
}
} // namespace

TEST(Wire, NearVertexAndSegmentUseTheWorkbenchTolerances) {
    CWire w;
    w.m_pPoints = {{100, 100}, {200, 100}, {200, 100}};
    struct Case {
        QPoint pt;
        bool bVertex, bSegment;
    } cases[] = {
        {{103, 104}, true, true},   // squared distance 25
        {{100, 106}, false, false}, // squared distance 36, 6 beside the line
        {{150, 104}, false, true},  // 4 beside the middle
        {{150, 96}, false, true},   {{150, 106}, false, false}, // 6 beside
        {{206, 100}, false, false}, // 6 beyond the end, outside the grown box
        {{204, 100}, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(w.FindVertex(c.pt) != nullptr, c.bVertex) << c.pt.x() << "," << c.pt.y();
        QPoint *pA = nullptr, *pB = nullptr;
        EXPECT_EQ(w.FindSegment(c.pt, &pA, &pB), c.bSegment) << c.pt.x() << "," << c.pt.y();
        if (c.bSegment) {
            EXPECT_EQ(pA, &w.m_pPoints.front());
        }
    }
    // A segment whose two vertices coincide is never found.
    EXPECT_FALSE(CWire::IsNearSegment({200, 100}, {200, 100}, {200, 100}));
    CWire single;
    single.m_pPoints = {{0, 0}};
    QPoint *pA = nullptr, *pB = nullptr;
    EXPECT_FALSE(single.FindSegment({0, 0}, &pA, &pB));
}

TEST(Wire, EditingVertices) {
    CWire w;
    w.m_pPoints = {{0, 0}, {100, 0}};
    QPoint* pFirst = &w.m_pPoints.front();
    QPoint* pLast = &w.m_pPoints.back();
    w.InsertVertex({50, 50}, pLast, pFirst); // not in order: nothing
    EXPECT_EQ(w.m_pPoints.size(), 2u);
    w.InsertVertex({50, 50}, pFirst, pLast);
    QPoint* pMid = &*std::next(w.m_pPoints.begin());
    EXPECT_EQ(*pMid, QPoint(50, 50));
    w.OffsetVertex(pMid, {1, 2});
    EXPECT_EQ(*pMid, QPoint(51, 52));
    EXPECT_TRUE(w.IsFirstVertex(pFirst));
    EXPECT_TRUE(w.IsLastVertex(pLast));
    EXPECT_FALSE(w.IsLastVertex(pMid));
    EXPECT_EQ(w.BoundingRect(), CRect(0, 0, 100, 52));
    w.OffsetInnerVertices({10, 10});
    EXPECT_EQ(Vertices(w), (std::vector<QPoint>{{0, 0}, {61, 62}, {100, 0}}));
    w.m_nState = CWire::Marked;
    w.m_pMarked = pMid;
    w.RemoveVertex(pMid);
    EXPECT_EQ(w.m_pMarked, nullptr);
    QPoint stranger;
    w.RemoveVertex(&stranger);
    w.SetVertex(&stranger, {9, 9});
    EXPECT_EQ(Vertices(w), (std::vector<QPoint>{{0, 0}, {100, 0}}));
    w.OffsetInnerVertices({10, 10}); // only two vertices: nothing moves
    EXPECT_EQ(Vertices(w), (std::vector<QPoint>{{0, 0}, {100, 0}}));
}

TEST(WireList, IncompleteWiresVanishAtTheNextDraw) {
    CComponentList comps;
    auto* pA = new CComponent(*FindInfo(2, 1), {40, 100});
    auto* pB = new CComponent(*FindInfo(3, 1), {120, 100});
    auto* pC = new CComponent(*FindInfo(3, 1), {200, 100});
    comps.AddHead(pA);
    comps.AddHead(pB);
    comps.AddHead(pC);
    CWireList wires;
    wires.AddTail(new CWire(pA, 1, pB, 0));
    wires.AddTail(new CWire(pB, 1, pC, 0));
    wires.AddTail(new CWire(pC, 1, pA, 0));
    comps.RemoveAndDelete(pB);
    EXPECT_EQ(wires.GetCount(), 3);
    EXPECT_EQ(pA->m_pWire[1], nullptr);
    EXPECT_EQ(pC->m_pWire[0], nullptr);
    QImage image(300, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    wires.DrawAll(painter);
    EXPECT_EQ(wires.GetCount(), 1);
    EXPECT_NE(pA->m_pWire[0], nullptr);
    EXPECT_EQ(wires.BoundingRect(), CRect(40, 117, 234, 117));
}

TEST(WireList, FindsFromHeadAndDrawsSelectedWithHandles) {
    CWireList wires;
    auto* pFirst = new CWire;
    pFirst->m_pPoints = {{10, 10}, {100, 10}};
    auto* pSecond = new CWire;
    pSecond->m_pPoints = {{10, 10}, {10, 100}};
    // Loose wires have no ends; give them a dummy so DrawAll keeps them.
    CComponent dummy;
    for (CWire* w : {pFirst, pSecond}) {
        w->m_pCompA = w->m_pCompB = &dummy;
        w->m_nTermA = w->m_nTermB = 0;
        wires.AddTail(w);
    }
    QPoint* pV = nullptr;
    EXPECT_EQ(wires.FindVertex({11, 11}, &pV), pFirst);
    QPoint *pA = nullptr, *pB = nullptr;
    EXPECT_EQ(wires.FindSegment({12, 60}, &pA, &pB), pSecond);
    pSecond->m_nState = CWire::Selected;
    EXPECT_EQ(wires.CountState(CWire::Selected), 1);
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        wires.DrawAll(painter);
    }
    EXPECT_EQ(image.pixelColor(50, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(8, 99), QColor(Qt::red)); // handle around (10,100)
    EXPECT_EQ(image.pixelColor(12, 99), QColor(Qt::white));
    for (CWire* w : {pFirst, pSecond})
        w->m_pCompA = w->m_pCompB = nullptr;
}

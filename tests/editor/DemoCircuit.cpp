#include "DemoCircuit.h"

#include "Component.h"
#include "ComponentList.h"
#include "Text.h"
#include "TextList.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

namespace kest::test {

namespace {

CComponent* Place(CVonnDoc& doc, int nType, int nSubType, int x, int y) {
    const tagSComponentInfo* pInfo = FindInfo(nType, nSubType);
    auto* pComp = new CComponent(*pInfo, QPoint(x, y));
    doc.m_pComponents->AddHead(pComp);
    return pComp;
}

CWire* Connect(CVonnDoc& doc, CComponent* pA, int i, CComponent* pB, int j) {
    auto* pWire = new CWire(pA, i, pB, j);
    doc.m_pWires->AddTail(pWire);
    return pWire;
}

} // namespace

void BuildDemoCircuit(CVonnDoc& doc) {
    CComponent* pBattery = Place(doc, 2, 1, 40, 100);
    CComponent* pResistor = Place(doc, 3, 1, 120, 100);
    CComponent* pLamp = Place(doc, 3, 6, 200, 100);
    CComponent* pMeter = Place(doc, 1, 1, 280, 100);
    CComponent* pSwitch = Place(doc, 4, 1, 160, 220);
    Connect(doc, pBattery, 1, pResistor, 0);
    Connect(doc, pResistor, 1, pLamp, 0);
    Connect(doc, pLamp, 1, pMeter, 0);
    CWire* pBack = Connect(doc, pMeter, 1, pSwitch, 1);
    pBack->InsertVertex(QPoint(340, 117), &pBack->m_pPoints.front(), &pBack->m_pPoints.back());
    pBack->InsertVertex(QPoint(340, 237), &*std::next(pBack->m_pPoints.begin()),
                        &pBack->m_pPoints.back());
    CWire* pReturn = Connect(doc, pSwitch, 0, pBattery, 0);
    pReturn->InsertVertex(QPoint(20, 237), &pReturn->m_pPoints.front(), &pReturn->m_pPoints.back());
    pReturn->InsertVertex(QPoint(20, 117), &*std::next(pReturn->m_pPoints.begin()),
                          &pReturn->m_pPoints.back());
    auto* pText = new CText(190, 50);
    pText->m_strText = QStringLiteral("Lamp circuit");
    pText->MeasureText(nullptr, doc.m_nBenchWidth, doc.m_nBenchHeight);
    doc.m_pTexts->AddHead(pText);
}

void BuildGridCircuit(CVonnDoc& doc, int nComponents, int nStep, int nPerRow) {
    doc.m_nBenchWidth = nPerRow * nStep + 40;
    doc.m_nBenchHeight = (nComponents / nPerRow + 1) * nStep + 40;
    CComponent* pPrev = nullptr;
    for (int i = 0; i < nComponents; ++i) {
        const int nRow = i / nPerRow, nCol = i % nPerRow;
        CComponent* pComp = Place(doc, 3, 1, 20 + nCol * nStep, 20 + nRow * nStep);
        if (pPrev && nCol > 0)
            Connect(doc, pPrev, 1, pComp, 0);
        pPrev = pComp;
    }
}

} // namespace kest::test

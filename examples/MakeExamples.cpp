// Writes the example circuits a teacher would show, one .kst file each, into a folder.
#include "Component.h"
#include "ComponentList.h"
#include "ScopeWnd.h"
#include "Text.h"
#include "TextList.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QDir>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <vector>

namespace {

// Orientations: 0 terminals left-right; 1 turns terminal 0 to the bottom; 3 to the top.
class CBuilder {
public:
    CComponent* Add(int nType, int nSubType, int x, int y, int nOrientation = 0,
                    std::initializer_list<float> values = {}) {
        auto* pComp = new CComponent(*FindInfo(nType, nSubType), QPoint(x, y));
        int i = 0;
        for (float f : values)
            pComp->m_fValue[i++] = f;
        // A two-way part has no third orientation: turned once, it shows its other terminal
        // on top, so its two terminals swap roles for the wiring.
        if (nOrientation >= pComp->m_nOrientations && pComp->m_nTerminals == 2 &&
            pComp->m_nOrientations == 2) {
            nOrientation -= 2;
            m_swapped.insert(pComp);
        }
        nOrientation %= std::max(1, pComp->m_nOrientations);
        while (pComp->m_nOrientation != nOrientation)
            pComp->Rotate(true);
        pComp->ReloadPicture();
        if (pComp->IsOscilloscope())
            pComp->CreateScope();
        m_doc.m_pComponents->AddHead(pComp);
        return pComp;
    }

    // A wire from terminal i of A to terminal j of B, bent once where the two do not line up.
    void Wire(CComponent* pA, int i, CComponent* pB, int j, bool bVerticalFirst = false) {
        if (m_swapped.count(pA))
            i = 1 - i;
        if (m_swapped.count(pB))
            j = 1 - j;
        auto* pWire = new CWire(pA, i, pB, j);
        const QPoint a = pA->GetTerminal(i);
        const QPoint b = pB->GetTerminal(j);
        if (a.x() != b.x() && a.y() != b.y()) {
            const QPoint bend = bVerticalFirst ? QPoint(a.x(), b.y()) : QPoint(b.x(), a.y());
            pWire->InsertVertex(bend, &pWire->m_pPoints.front(), &pWire->m_pPoints.back());
        }
        m_doc.m_pWires->AddTail(pWire);
    }

    // A wire from a right-hand terminal back to a left-hand one, passing 40 pixels below.
    void WireBelow(CComponent* pA, int i, CComponent* pB, int j) {
        auto* pWire = new CWire(pA, i, pB, j);
        const QPoint a = pA->GetTerminal(i);
        const QPoint z = pB->GetTerminal(j);
        const QPoint bends[] = {{a.x() + 15, a.y()},
                                {a.x() + 15, a.y() + 40},
                                {z.x() - 15, a.y() + 40},
                                {z.x() - 15, z.y()}};
        for (const QPoint& bend : bends)
            pWire->InsertVertex(bend, &*std::prev(pWire->m_pPoints.end(), 2),
                                &pWire->m_pPoints.back());
        m_doc.m_pWires->AddTail(pWire);
    }

    void Note(int x, int y, const char* pszText) {
        auto* pText = new CText(x, y);
        pText->m_strText = QString::fromLatin1(pszText);
        pText->MeasureText(nullptr, m_doc.m_nBenchWidth, m_doc.m_nBenchHeight);
        m_doc.m_pTexts->AddTail(pText);
    }

    bool Save(const QString& strFolder, const char* pszName) {
        QString strError;
        const QString strPath = strFolder + QLatin1Char('/') + QLatin1String(pszName);
        if (!m_doc.OnSaveDocument(strPath, &strError)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(strPath), qPrintable(strError));
            return false;
        }
        return true;
    }

    CVonnDoc m_doc;
    std::set<CComponent*> m_swapped;
};

// 9 V over 1 kOhm and 2 kOhm: the ammeter reads 3 mA, the voltmeter 6 V.
void MakeDivider(CBuilder& b) {
    b.Note(260, 40, "Voltage divider: 9 V over 1 k and 2 k");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {9});
    CComponent* pAmmeter = b.Add(1, 1, 140, 80, 0);
    pAmmeter->m_fValue[0] = 1.1f; // mA
    CComponent* pR1 = b.Add(3, 1, 240, 80, 0, {1000});
    CComponent* pJTop = b.Add(4, 10, 340, 80, 2);
    CComponent* pR2 = b.Add(3, 1, 340, 160, 3, {2000});
    CComponent* pVolt = b.Add(1, 2, 440, 160, 3);
    CComponent* pJBottom = b.Add(4, 10, 340, 260, 0);
    b.Wire(pBattery, 0, pAmmeter, 0, true);
    b.Wire(pAmmeter, 1, pR1, 0);
    b.Wire(pR1, 1, pJTop, 1);
    b.Wire(pJTop, 2, pR2, 0);
    b.Wire(pJTop, 0, pVolt, 0);
    b.Wire(pR2, 1, pJBottom, 2);
    b.Wire(pVolt, 1, pJBottom, 1, true);
    b.Wire(pJBottom, 0, pBattery, 1);
}

// The series loop of the first netlist example, with an ammeter: 3 V over 21 Ohm.
void MakeLampCircuit(CBuilder& b) {
    b.Note(240, 40, "A signal lamp in series with 1 Ohm");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {3});
    CComponent* pAmmeter = b.Add(1, 1, 140, 80, 0);
    CComponent* pR = b.Add(3, 1, 240, 80, 0, {1});
    CComponent* pLamp = b.Add(3, 8, 340, 160, 3, {1.8f, 6});
    b.Wire(pBattery, 0, pAmmeter, 0, true);
    b.Wire(pAmmeter, 1, pR, 0);
    b.Wire(pR, 1, pLamp, 0);
    b.Wire(pLamp, 1, pBattery, 1, true);
}

// Two 6 V lamps in parallel draw 0.6 A through a fuse that stands 0.3 A: it blows.
void MakeFuse(CBuilder& b) {
    b.Note(260, 40, "Two lamps draw 0.6 A; the fuse stands 0.3 A");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {6});
    CComponent* pFuse = b.Add(3, 10, 160, 80, 0, {0.0001f, 0.00003f});
    CComponent* pJTop = b.Add(4, 10, 260, 80, 2);
    CComponent* pLamp1 = b.Add(3, 8, 260, 160, 3, {1.8f, 6});
    CComponent* pLamp2 = b.Add(3, 8, 360, 160, 3, {1.8f, 6});
    CComponent* pJBottom = b.Add(4, 10, 260, 260, 0);
    b.Wire(pBattery, 0, pFuse, 0, true);
    b.Wire(pFuse, 1, pJTop, 1);
    b.Wire(pJTop, 2, pLamp1, 0);
    b.Wire(pJTop, 0, pLamp2, 0);
    b.Wire(pLamp1, 1, pJBottom, 2);
    b.Wire(pLamp2, 1, pJBottom, 1, true);
    b.Wire(pJBottom, 0, pBattery, 1);
}

// A lamp rated 3 V on 6 V burns out; the 6 V lamp beside it goes on glowing.
void MakeLamps(CBuilder& b) {
    b.Note(260, 40, "A 3 V lamp on 6 V burns out");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {6});
    CComponent* pJTop = b.Add(4, 10, 200, 80, 2);
    CComponent* pLamp1 = b.Add(3, 6, 200, 160, 3, {1.8f, 6});
    CComponent* pLamp2 = b.Add(3, 6, 320, 160, 3, {0.9f, 3});
    CComponent* pJBottom = b.Add(4, 10, 200, 260, 0);
    b.Wire(pBattery, 0, pJTop, 1, true);
    b.Wire(pJTop, 2, pLamp1, 0);
    b.Wire(pJTop, 0, pLamp2, 0);
    b.Wire(pLamp1, 1, pJBottom, 2);
    b.Wire(pLamp2, 1, pJBottom, 1, true);
    b.Wire(pJBottom, 0, pBattery, 1);
}

// A bell behind a push button that is closed until pressed, and a switch to try.
void MakeBell(CBuilder& b) {
    b.Note(240, 40, "A bell rings through a push-to-break button");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {6});
    CComponent* pButton = b.Add(4, 7, 160, 80, 0);
    CComponent* pBell = b.Add(3, 12, 280, 160, 3, {10});
    b.Wire(pBattery, 0, pButton, 0, true);
    b.Wire(pButton, 1, pBell, 0);
    b.Wire(pBell, 1, pBattery, 1, true);
}

// 12 V peak at 50 Hz on 100 turns, 50 turns out (in phase): 6 V peak across the load.
void MakeTransformer(CBuilder& b) {
    b.Note(260, 40, "An iron-core transformer, 100 : 50 turns");
    CComponent* pSupply = b.Add(2, 3, 60, 160, 3, {12, 50});
    CComponent* pTrans = b.Add(5, 5, 200, 160, 0, {100, 50, 0.99f});
    CComponent* pJTop = b.Add(4, 10, 320, 80, 2);
    CComponent* pLoad = b.Add(3, 1, 320, 160, 3, {100});
    CComponent* pVolt = b.Add(1, 2, 420, 160, 3);
    CComponent* pJBottom = b.Add(4, 10, 320, 260, 0);
    b.Wire(pSupply, 0, pTrans, 0, true);
    b.Wire(pTrans, 1, pSupply, 1);
    b.Wire(pTrans, 2, pJTop, 1);
    b.Wire(pJTop, 2, pLoad, 0);
    b.Wire(pJTop, 0, pVolt, 0);
    b.Wire(pLoad, 1, pJBottom, 2);
    b.Wire(pVolt, 1, pJBottom, 1, true);
    b.Wire(pJBottom, 0, pTrans, 3);
}

// A common-emitter stage: 9 V, 100 kOhm to the base, 1 kOhm to the collector.
void MakeTransistor(CBuilder& b) {
    b.Note(280, 40, "An NPN transistor stage");
    CComponent* pBattery = b.Add(2, 1, 60, 180, 3, {9});
    CComponent* pJ = b.Add(4, 10, 140, 80, 0);
    CComponent* pRb = b.Add(3, 1, 140, 180, 1, {100000});
    CComponent* pRc = b.Add(3, 1, 240, 80, 0, {1000});
    CComponent* pAmmeter = b.Add(1, 1, 320, 80, 0);
    pAmmeter->m_fValue[0] = 1.1f;
    CComponent* pQ = b.Add(6, 1, 380, 180, 0, {20});
    b.Wire(pBattery, 0, pJ, 0, true);
    b.Wire(pJ, 2, pRb, 1);
    b.Wire(pJ, 1, pRc, 0);
    b.Wire(pRc, 1, pAmmeter, 0);
    b.Wire(pAmmeter, 1, pQ, 1);
    b.Wire(pRb, 0, pQ, 0, true);
    b.Wire(pQ, 2, pBattery, 1, true);
}

// A 5.1 V Zener holds its voltage from 12 V through 1 kOhm.
void MakeZener(CBuilder& b) {
    b.Note(260, 40, "A 5.1 V Zener regulator");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {12});
    CComponent* pR = b.Add(3, 1, 160, 80, 0, {1000});
    CComponent* pJTop = b.Add(4, 10, 280, 80, 2);
    CComponent* pZener = b.Add(8, 5, 280, 160, 1, {4.1f});
    CComponent* pVolt = b.Add(1, 2, 380, 160, 3);
    CComponent* pJBottom = b.Add(4, 10, 280, 260, 0);
    b.Wire(pBattery, 0, pR, 0, true);
    b.Wire(pR, 1, pJTop, 1);
    b.Wire(pJTop, 2, pZener, 1);
    b.Wire(pJTop, 0, pVolt, 0);
    b.Wire(pZener, 0, pJBottom, 2);
    b.Wire(pVolt, 1, pJBottom, 1, true);
    b.Wire(pJBottom, 0, pBattery, 1);
}

// An inverting amplifier with a gain of 10: 0.5 V peak in, 5 V peak out, both on the
// oscilloscope.
void MakeAmplifier(CBuilder& b) {
    b.Note(300, 20, "Inverting amplifier, gain 10");
    CComponent* pSine = b.Add(10, 1, 40, 180, 3, {0.5f, 100});
    CComponent* pJIn = b.Add(4, 10, 100, 80, 2);
    CComponent* pR1 = b.Add(3, 1, 160, 80, 0, {10000});
    CComponent* pJMinus = b.Add(4, 10, 240, 80, 2);
    CComponent* pAmp = b.Add(11, 1, 280, 150, 0);
    CComponent* pR2 = b.Add(3, 1, 300, 40, 0, {100000});
    CComponent* pJOut = b.Add(4, 10, 380, 150, 0);
    CComponent* pScope = b.Add(1, 5, 480, 200, 0);
    CComponent* pEarthSine = b.Add(4, 13, 40, 280, 0);
    CComponent* pEarthAmp = b.Add(4, 13, 220, 230, 0);
    CComponent* pEarthScope1 = b.Add(4, 13, 440, 280, 0);
    CComponent* pEarthScope2 = b.Add(4, 13, 540, 280, 0);
    b.Wire(pSine, 1, pJIn, 1, true);
    b.Wire(pJIn, 0, pR1, 0);
    b.Wire(pJIn, 2, pScope, 0, true);
    b.Wire(pR1, 1, pJMinus, 1);
    b.Wire(pJMinus, 2, pAmp, 0, true);
    b.Wire(pJMinus, 0, pR2, 0, true);
    b.Wire(pR2, 1, pJOut, 2);
    b.Wire(pAmp, 2, pJOut, 1);
    b.Wire(pJOut, 0, pScope, 2, true);
    b.Wire(pAmp, 1, pEarthAmp, 0);
    b.Wire(pSine, 0, pEarthSine, 0);
    b.Wire(pScope, 1, pEarthScope1, 0, true);
    b.Wire(pScope, 3, pEarthScope2, 0, true);
    pScope->m_pScope->Show(true);
}

// A slow square wave charges and discharges 100 uF through 1 kOhm (a time constant of
// 0.1 s); the simulation starts from the charged state, so the voltage first falls.
void MakeCapacitor(CBuilder& b) {
    b.Note(260, 40, "A capacitor charging and discharging through 1 k");
    CComponent* pSquare = b.Add(10, 2, 60, 160, 3, {5, 1});
    CComponent* pR = b.Add(3, 1, 160, 80, 0, {1000});
    CComponent* pJTop = b.Add(4, 10, 280, 80, 2);
    CComponent* pC = b.Add(7, 3, 280, 160, 3, {100});
    CComponent* pVolt = b.Add(1, 2, 380, 160, 3);
    CComponent* pJBottom = b.Add(4, 10, 280, 260, 0);
    // Turned upright, the source's positive terminal is the one on top.
    b.Wire(pSquare, 1, pR, 0, true);
    b.Wire(pR, 1, pJTop, 1);
    b.Wire(pJTop, 2, pC, 0);
    b.Wire(pJTop, 0, pVolt, 0);
    b.Wire(pC, 1, pJBottom, 2);
    b.Wire(pVolt, 1, pJBottom, 1, true);
    b.Wire(pJBottom, 0, pSquare, 0);
}

// 1 V through 10 Ohm and 100 mH: 100 mA, the inductor adding no resistance.
void MakeInductor(CBuilder& b) {
    b.Note(240, 40, "An inductor carries direct current freely");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {1});
    CComponent* pAmmeter = b.Add(1, 1, 140, 80, 0);
    pAmmeter->m_fValue[0] = 1.1f;
    CComponent* pR = b.Add(3, 1, 240, 80, 0, {10});
    CComponent* pL = b.Add(9, 2, 340, 160, 1, {100});
    b.Wire(pBattery, 0, pAmmeter, 0, true);
    b.Wire(pAmmeter, 1, pR, 0);
    b.Wire(pR, 1, pL, 1);
    b.Wire(pL, 0, pBattery, 1, true);
}

// Ohmmeters across a 4.7 kOhm resistor and across a capacitor.
void MakeOhmmeter(CBuilder& b) {
    b.Note(240, 40, "Measuring resistance");
    CComponent* pOhm1 = b.Add(1, 3, 60, 100, 0);
    CComponent* pR = b.Add(3, 1, 200, 100, 0, {4700});
    CComponent* pOhm2 = b.Add(1, 3, 60, 220, 0);
    pOhm2->m_fValue[0] = 2.1f;
    CComponent* pC = b.Add(7, 3, 200, 220, 0, {1});
    b.Wire(pOhm1, 1, pR, 0);
    b.WireBelow(pR, 1, pOhm1, 0);
    b.Wire(pOhm2, 1, pC, 0);
    b.WireBelow(pC, 1, pOhm2, 0);
}

// 100 Ohm and 200 Ohm in parallel on 6 V: 90 mA, with the negative side earthed.
void MakeParallel(CBuilder& b) {
    b.Note(260, 40, "Resistors in parallel, earthed");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {6});
    CComponent* pAmmeter = b.Add(1, 1, 140, 80, 0);
    pAmmeter->m_fValue[0] = 1.1f;
    CComponent* pJTop = b.Add(4, 10, 240, 80, 2);
    CComponent* pR1 = b.Add(3, 1, 240, 160, 3, {100});
    CComponent* pR2 = b.Add(3, 1, 340, 160, 3, {200});
    CComponent* pJBottom = b.Add(4, 12, 240, 260, 0);
    CComponent* pEarth = b.Add(4, 13, 240, 340, 0);
    b.Wire(pBattery, 0, pAmmeter, 0, true);
    b.Wire(pAmmeter, 1, pJTop, 1);
    b.Wire(pJTop, 2, pR1, 0);
    b.Wire(pJTop, 0, pR2, 0);
    b.Wire(pR1, 1, pJBottom, 1);
    b.Wire(pR2, 1, pJBottom, 2, true);
    b.Wire(pJBottom, 0, pBattery, 1);
    b.Wire(pJBottom, 3, pEarth, 0);
}

// A two-way switch sends the current to one lamp or the other.
void MakeSwitches(CBuilder& b) {
    b.Note(260, 30, "A two-way switch chooses the lamp");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {6});
    CComponent* pSwitch = b.Add(4, 2, 160, 80, 0);
    CComponent* pLamp1 = b.Add(3, 8, 280, 60, 0, {1.8f, 6});
    CComponent* pLamp2 = b.Add(3, 8, 280, 120, 0, {1.8f, 6});
    CComponent* pJ = b.Add(4, 11, 380, 90, 2);
    b.Wire(pBattery, 0, pSwitch, 0, true);
    b.Wire(pSwitch, 1, pLamp1, 0, true);
    b.Wire(pSwitch, 2, pLamp2, 0, true);
    b.Wire(pLamp1, 1, pJ, 1);
    b.Wire(pLamp2, 1, pJ, 2);
    b.Wire(pJ, 0, pBattery, 1, true);
}

// An LED with its series resistor.
void MakeLed(CBuilder& b) {
    b.Note(240, 40, "An LED with a 220 Ohm resistor");
    CComponent* pBattery = b.Add(2, 1, 60, 160, 3, {5});
    CComponent* pAmmeter = b.Add(1, 1, 140, 80, 0);
    pAmmeter->m_fValue[0] = 1.1f;
    CComponent* pR = b.Add(3, 1, 240, 80, 0, {220});
    CComponent* pLed = b.Add(8, 1, 340, 160, 3);
    b.Wire(pBattery, 0, pAmmeter, 0, true);
    b.Wire(pAmmeter, 1, pR, 0);
    b.Wire(pR, 1, pLed, 0);
    b.Wire(pLed, 1, pBattery, 1, true);
}

// A square wave into an RC filter, both on the oscilloscope.
void MakeSquareWave(CBuilder& b) {
    b.Note(280, 30, "A square wave smoothed by R and C");
    CComponent* pSquare = b.Add(10, 2, 60, 160, 3, {2, 50});
    CComponent* pJIn = b.Add(4, 10, 160, 80, 2);
    CComponent* pR = b.Add(3, 1, 240, 80, 0, {1000});
    CComponent* pJOut = b.Add(4, 10, 340, 80, 2);
    CComponent* pC = b.Add(7, 3, 340, 160, 3, {2});
    CComponent* pScope = b.Add(1, 5, 460, 160, 0);
    CComponent* pEarth1 = b.Add(4, 13, 60, 260, 0);
    CComponent* pEarth2 = b.Add(4, 13, 340, 260, 0);
    CComponent* pEarth3 = b.Add(4, 13, 420, 260, 0);
    CComponent* pEarth4 = b.Add(4, 13, 520, 260, 0);
    b.Wire(pSquare, 0, pJIn, 1, true);
    b.Wire(pJIn, 0, pR, 0);
    b.Wire(pJIn, 2, pScope, 0, true);
    b.Wire(pR, 1, pJOut, 1);
    b.Wire(pJOut, 2, pC, 0);
    b.Wire(pJOut, 0, pScope, 2, true);
    b.Wire(pSquare, 1, pEarth1, 0);
    b.Wire(pC, 1, pEarth2, 0);
    b.Wire(pScope, 1, pEarth3, 0, true);
    b.Wire(pScope, 3, pEarth4, 0, true);
    pScope->m_pScope->Show(true);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString strFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(strFolder);
    struct SExample {
        const char* pszName;
        void (*pfnMake)(CBuilder&);
    } const examples[] = {
        {"divider.kst", MakeDivider},
        {"lamp.kst", MakeLampCircuit},
        {"fuse.kst", MakeFuse},
        {"lamps.kst", MakeLamps},
        {"bell.kst", MakeBell},
        {"transformer.kst", MakeTransformer},
        {"transistor.kst", MakeTransistor},
        {"zener.kst", MakeZener},
        {"amplifier.kst", MakeAmplifier},
        {"capacitor.kst", MakeCapacitor},
        {"inductor.kst", MakeInductor},
        {"ohmmeter.kst", MakeOhmmeter},
        {"parallel.kst", MakeParallel},
        {"switches.kst", MakeSwitches},
        {"led.kst", MakeLed},
        {"squarewave.kst", MakeSquareWave},
    };
    for (const SExample& e : examples) {
        CBuilder builder;
        e.pfnMake(builder);
        if (!builder.Save(strFolder, e.pszName))
            return 1;
    }
    return 0;
}

#include "Art.h"

#include "Canvas.h"

#include <cmath>
#include <string_view>

// Every picture is drawn in orientation 0; terminals sit where the catalogue puts them, mostly
// (0,17) and (34,17), and every lead is drawn from the edge pixel inwards.
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMid = 17;

void LeadsLR(CCanvas& cv, int xLeftEnd, int xRightStart, int y = kMid) {
    cv.Line(0, y, xLeftEnd, y);
    cv.Line(xRightStart, y, 34, y);
}

// A small solid contact point of a switch.
void ContactDot(CCanvas& cv, int x, int y) {
    cv.FillRect(x - 1, y - 1, x + 1, y + 1, kInk);
}

// The junction dot where wires join.
void JoinDot(CCanvas& cv, int x, int y) {
    cv.Disc(x, y, 2.3);
}

void ThickLine(CCanvas& cv, int x0, int y0, int x1, int y1) {
    cv.Line(x0, y0, x1, y1);
    cv.Line(x0, y0 - 1, x1, y1 - 1);
}

// Circle body of meters, sources and the motor, with leads on the left and right.
void RoundBody(CCanvas& cv) {
    LeadsLR(cv, 7, 27);
    cv.Circle(kMid, kMid, 10);
}

void DrawMeter(CCanvas& cv, std::string_view strUnit) {
    RoundBody(cv);
    cv.TextCentred(kMid, 14, strUnit);
}

std::string_view MeterUnit(int nSubType, int nRange) {
    static constexpr std::string_view kUnits[3][3] = {
        {"uA", "mA", "A"}, {"uV", "mV", "V"}, {"O", "kO", "MO"}};
    return kUnits[nSubType - 1][nRange < 0 || nRange > 2 ? 0 : nRange];
}

void DrawOscilloscope(CCanvas& cv) {
    cv.Rect(5, 2, 29, 32);
    cv.FillInsideRect(6, 3, 28, 31, kLight);
    for (int y : {9, 25}) {
        cv.Line(0, y, 5, y);
        cv.Line(29, y, 34, y);
    }
    cv.FillRect(9, 5, 25, 19, kDark);
    cv.Rect(9, 5, 25, 19);
    cv.Curve(
        [](double x) {
            return std::pair{x, 12.0 - 4.0 * std::sin(2 * kPi * (x - 11) / 13.0)};
        },
        11, 23, kWhite);
    // Input pair 1 on the left, pair 2 on the right, as the display's channels.
    cv.Text(8, 22, "1");
    cv.Text(23, 22, "2");
    cv.Disc(17, 27, 1.6, kGrey);
}

void DrawBatteries(CCanvas& cv) {
    LeadsLR(cv, 12, 24);
    for (int x : {12, 19}) {
        cv.Line(x, 9, x, 25);
        cv.FillRect(x + 3, 13, x + 4, 21, kInk);
    }
    cv.Line(17, kMid, 19, kMid);
    cv.Line(4, 10, 8, 10);
    cv.Line(6, 8, 6, 12);
}

void DrawDcPower(CCanvas& cv) {
    cv.Line(17, 34, 17, 13);
    cv.FillRect(9, 12, 25, 13, kInk);
    cv.Line(14, 6, 20, 6);
    cv.Line(17, 3, 17, 9);
}

void DrawPowerSupply(CCanvas& cv) {
    LeadsLR(cv, 7, 27);
    cv.Rect(7, 8, 27, 26);
    for (double dy : {0.0, 1.0})
        cv.Curve(
            [dy](double x) {
                return std::pair{x, 17.0 + dy - 3.5 * std::sin(2 * kPi * (x - 11) / 12.0)};
            },
            11, 23);
}

void Zigzag(CCanvas& cv) {
    static constexpr int kX[] = {7, 9, 13, 17, 21, 25, 27};
    static constexpr int kY[] = {17, 13, 21, 13, 21, 13, 17};
    for (int i = 0; i + 1 < 7; ++i)
        cv.Line(kX[i], kY[i], kX[i + 1], kY[i + 1]);
    LeadsLR(cv, 7, 27);
}

void DrawResistor(CCanvas& cv, int nSubType) {
    Zigzag(cv);
    switch (nSubType) {
    case 2: // rheostat: adjustable
        cv.Arrow(9, 27, 25, 6);
        break;
    case 3: // thermistor: the bent line of a resistance that follows temperature
        cv.Line(5, 27, 9, 27);
        cv.Line(9, 27, 26, 8);
        break;
    case 4: // photo cell: light falling on it
        cv.Arrow(6, 2, 11, 8, 3.0);
        cv.Arrow(12, 2, 17, 8, 3.0);
        break;
    case 5: // potentiometer: wiper from the top terminal
        cv.Arrow(17, 0, 17, 12, 4.0);
        break;
    default:
        break;
    }
}

uint8_t LampFill(int nState) {
    return nState == 1 ? kWhite : (nState == 2 ? kGrey : kBack);
}

void DrawLamp(CCanvas& cv, int nSubType, int nState) {
    const uint8_t nFill = LampFill(nState);
    switch (nSubType) {
    case 6: // filament lamp: two legs and a looped filament
        cv.Circle(kMid, kMid, 10);
        LeadsLR(cv, 13, 21);
        cv.Line(13, 17, 13, 14);
        cv.Line(21, 17, 21, 14);
        cv.Arc(17, 14, 4, 0, 180);
        break;
    case 7: // neon lamp: two electrodes and the gas dot
        cv.Circle(kMid, kMid, 10);
        LeadsLR(cv, 13, 21);
        cv.Line(13, 11, 13, 23);
        cv.Line(21, 11, 21, 23);
        cv.Disc(17, 22, 1.5);
        break;
    case 8: // signal lamp: the crossed circle
        RoundBody(cv);
        cv.Line(10, 10, 24, 24);
        cv.Line(10, 24, 24, 10);
        break;
    default: // fluorescent tube with its two electrodes
        cv.Rect(3, 12, 31, 22);
        LeadsLR(cv, 7, 27);
        cv.Line(7, 14, 7, 20);
        cv.Line(27, 14, 27, 20);
        if (nFill != kBack)
            cv.FillInsideRect(4, 13, 30, 21, nFill);
        return;
    }
    if (nFill != kBack)
        cv.FillInsideDisc(kMid, kMid, 8.5, nFill);
}

void DrawFuse(CCanvas& cv, bool bBlown) {
    cv.Rect(8, 13, 26, 21);
    if (bBlown) {
        cv.FillInsideRect(9, 14, 25, 20, kGrey);
        LeadsLR(cv, 14, 20);
    } else {
        cv.Line(0, kMid, 34, kMid);
    }
}

void DrawBreaker(CCanvas& cv, bool bTripped) {
    LeadsLR(cv, 9, 25);
    ContactDot(cv, 10, kMid);
    ContactDot(cv, 24, kMid);
    // The arc bridges both contacts; tripped, it swings up about the left contact.
    const double fTurn = bTripped ? 40.0 * kPi / 180.0 : 0.0;
    const double cx = 17.0, cy = 18.08, r = 7.08;
    for (double dr : {0.0, -0.9})
        cv.Curve(
            [&](double a) {
                const double x = cx + (r + dr) * std::cos(a) - 10.0;
                const double y = cy - (r + dr) * std::sin(a) - 17.0;
                return std::pair{10.0 + x * std::cos(fTurn) + y * std::sin(fTurn),
                                 17.0 - x * std::sin(fTurn) + y * std::cos(fTurn)};
            },
            9.0 * kPi / 180.0, 171.0 * kPi / 180.0);
}

void DrawBell(CCanvas& cv, bool bRinging) {
    cv.Arc(17, 19, 9, 0, 180);
    cv.Line(8, 19, 26, 19);
    cv.FloodBackground(17, 15, kShade);
    cv.Line(0, 22, 12, 22);
    cv.Line(12, 22, 12, 19);
    cv.Line(22, 19, 22, 22);
    cv.Line(22, 22, 34, 22);
    cv.Disc(17, 22, 1.5);
    if (bRinging)
        for (double a : {160.0, 125.0, 90.0, 55.0, 20.0}) {
            const double c = std::cos(a * kPi / 180), s = std::sin(a * kPi / 180);
            cv.Line(int(std::lround(17 + 11 * c)), int(std::lround(19 - 11 * s)),
                    int(std::lround(17 + 14.5 * c)), int(std::lround(19 - 14.5 * s)));
        }
}

void DrawMotor(CCanvas& cv) {
    RoundBody(cv);
    cv.TextCentred(kMid, 14, "M");
}

void DrawSpeaker(CCanvas& cv) {
    cv.Line(12, 0, 12, 11);
    cv.Line(12, 23, 12, 34);
    cv.Rect(9, 11, 15, 23);
    cv.Line(15, 11, 24, 3);
    cv.Line(15, 23, 24, 31);
    cv.Line(24, 3, 24, 31);
}

void DrawMicrophone(CCanvas& cv) {
    cv.Circle(17, 12, 7);
    cv.FillRect(10, 20, 24, 21, kInk);
    cv.Line(0, 22, 10, 22);
    cv.Line(24, 22, 34, 22);
}

void DrawEarphone(CCanvas& cv) {
    cv.Line(12, 0, 12, 12);
    cv.Line(12, 22, 12, 34);
    cv.Rect(8, 12, 15, 22);
    cv.Line(15, 9, 15, 25);
    cv.Arc(15, 17, 8, -90, 90);
    cv.FloodBackground(18, 17, kShade);
}

// Single-throw blade pivoting on the left contact at (10, y).
void Blade(CCanvas& cv, int y, bool bClosed) {
    if (bClosed)
        ThickLine(cv, 10, y, 24, y);
    else
        ThickLine(cv, 10, y, 23, y - 7);
}

void DrawSwitch(CCanvas& cv, int nSubType, bool bOn) {
    switch (nSubType) {
    case 1: // SPST
        LeadsLR(cv, 9, 25);
        ContactDot(cv, 10, kMid);
        ContactDot(cv, 24, kMid);
        Blade(cv, kMid, bOn);
        break;
    case 2: // SPDT: position 0 joins the upper throw, 1 the lower
        cv.Line(0, kMid, 9, kMid);
        cv.Line(24, 10, 34, 10);
        cv.Line(24, 24, 34, 24);
        ContactDot(cv, 10, kMid);
        ContactDot(cv, 24, 10);
        ContactDot(cv, 24, 24);
        ThickLine(cv, 10, kMid, 23, bOn ? 24 : 11);
        break;
    case 3: // DPST: two ganged single-throw blades
        for (int y : {9, 25}) {
            LeadsLR(cv, 9, 25, y);
            ContactDot(cv, 10, y);
            ContactDot(cv, 24, y);
            Blade(cv, y, bOn);
        }
        cv.DashedLine(17, bOn ? 10 : 7, 17, bOn ? 24 : 19, 2, 2);
        break;
    default: // DPDT: the commons at top and bottom change over between left and right throws
        for (int nSide : {0, 1}) {
            const int y = nSide == 0 ? 9 : 25;
            const int yPivot = nSide == 0 ? 4 : 30;
            cv.Line(17, nSide == 0 ? 0 : 34, 17, yPivot);
            LeadsLR(cv, 8, 26, y);
            ContactDot(cv, 9, y);
            ContactDot(cv, 25, y);
            ContactDot(cv, 17, yPivot);
            cv.Line(17, yPivot, bOn ? 24 : 10, y);
            cv.Line(17, yPivot + (nSide == 0 ? 1 : -1), bOn ? 24 : 10, y + (nSide == 0 ? 1 : -1));
        }
        cv.DashedLine(17, 8, 17, 26, 2, 2);
        break;
    }
}

// Push buttons: a bar pressed onto (or, normally closed, away from) the two contacts.
void DrawPushButton(CCanvas& cv, bool bNormallyClosed, bool bPressed) {
    LeadsLR(cv, 9, 25);
    ContactDot(cv, 10, kMid);
    ContactDot(cv, 24, kMid);
    int yBar;
    if (bNormallyClosed)
        yBar = bPressed ? 22 : 19;
    else
        yBar = bPressed ? 15 : 11;
    cv.FillRect(7, yBar, 27, yBar + 1, kInk);
    const int yTop = bPressed ? 8 : 4;
    cv.Line(17, yTop, 17, yBar);
    cv.FillRect(13, yTop, 21, yTop + 1, kInk);
}

void DrawPlugAndSocket(CCanvas& cv, bool bPlugged) {
    const int dx = bPlugged ? 7 : 0;
    cv.Line(0, kMid, 8 + dx, kMid);
    cv.FillRect(8 + dx, 13, 12 + dx, 21, kInk);
    cv.FillRect(13 + dx, 16, 17 + dx, 18, kInk);
    cv.Line(26, kMid, 34, kMid);
    cv.FillRect(25, 12, 26, 22, kInk);
    cv.Line(19, 12, 25, 12);
    cv.Line(19, 22, 25, 22);
}

void DrawJunction(CCanvas& cv, int nSubType) {
    switch (nSubType) {
    case 10:
        cv.Line(0, kMid, 34, kMid);
        cv.Line(17, 0, 17, kMid);
        break;
    case 11:
        cv.Line(0, kMid, 17, kMid);
        cv.Line(17, 9, 17, 25);
        cv.Line(17, 9, 34, 9);
        cv.Line(17, 25, 34, 25);
        break;
    default:
        cv.Line(0, kMid, 34, kMid);
        cv.Line(17, 0, 17, 34);
        break;
    }
    JoinDot(cv, 17, kMid);
}

void DrawEarthing(CCanvas& cv) {
    cv.Line(17, 0, 17, 18);
    cv.FillRect(7, 18, 27, 19, kInk);
    cv.FillRect(10, 22, 24, 23, kInk);
    cv.FillRect(13, 26, 21, 27, kInk);
    cv.FillRect(16, 30, 18, 31, kInk);
}

// Coil turns drawn from a hand-made pixel pattern: each turn is five pixels long and bulges
// three pixels sideways. (x, y) is the first joint; the coil runs along +y (vertical) or +x.
void CoilTurns(CCanvas& cv, int x, int y, bool bVertical, int nDir, int nTurns) {
    static constexpr int kAlong[] = {0, 1, 1, 2, 3, 4, 4};
    static constexpr int kAcross[] = {0, 1, 2, 3, 3, 1, 2};
    for (int t = 0; t < nTurns; ++t)
        for (int i = 0; i < 7; ++i) {
            const int a = 5 * t + kAlong[i], c = nDir * kAcross[i];
            if (bVertical)
                cv.Plot(x + c, y + a);
            else
                cv.Plot(x + a, y + c);
        }
    if (bVertical)
        cv.Plot(x, y + 5 * nTurns);
    else
        cv.Plot(x + 5 * nTurns, y);
}

void DrawTransformer(CCanvas& cv, int nSubType) {
    cv.Line(0, 6, 8, 6);
    cv.Line(0, 28, 8, 28);
    cv.Line(26, 6, 34, 6);
    cv.Line(26, 28, 34, 28);
    CoilTurns(cv, 8, 7, true, 1, 4);
    CoilTurns(cv, 26, 7, true, -1, 4);
    const int nCore = (nSubType - 1) / 3;  // air, iron, ferrite
    const int nPhase = (nSubType - 1) % 3; // unmarked, in phase, out of phase
    for (int x : {16, 18}) {
        if (nCore == 1)
            cv.Line(x, 4, x, 30);
        else if (nCore == 2)
            cv.DashedLine(x, 4, x, 30, 3, 2);
    }
    if (nPhase > 0) {
        cv.Disc(4, 10, 1.5);
        cv.Disc(30, nPhase == 1 ? 10 : 24, 1.5);
    }
}

// Transistor envelope and the three leads: base or gate from the left, collector or drain at
// the top, emitter or source at the bottom, both at x = 23.
void DrawTransistor(CCanvas& cv, int nSubType) {
    cv.Circle(19, 17, 11);
    if (nSubType <= 2) {
        cv.Line(0, kMid, 13, kMid);
        cv.FillRect(13, 10, 14, 24, kInk);
        cv.Line(15, 13, 23, 7);
        cv.Line(23, 0, 23, 7);
        cv.Line(15, 21, 23, 27);
        cv.Line(23, 27, 23, 34);
        if (nSubType == 1)
            cv.Head(22, 26.3, 8, 6, 4.0);
        else
            cv.Head(15.5, 21.4, -8, -6, 4.0);
        return;
    }
    cv.Line(23, 0, 23, 11);
    cv.Line(15, 11, 23, 11);
    cv.Line(23, 23, 23, 34);
    cv.Line(15, 23, 23, 23);
    if (nSubType <= 4) { // JFET: gate arrow points in for N, out for P
        cv.FillRect(14, 9, 14, 25, kInk);
        cv.Line(0, kMid, 13, kMid);
        if (nSubType == 3)
            cv.Head(13, kMid, 1, 0, 4.0);
        else
            cv.Head(9, kMid, -1, 0, 4.0);
        return;
    }
    // MOSFET: insulated gate plate, channel solid (depletion) or broken (enhancement), and
    // the substrate arrow tied to the source.
    cv.Line(0, 19, 11, 19);
    cv.Line(11, 11, 11, 23);
    if (nSubType <= 6) {
        cv.Line(14, 9, 14, 25);
    } else {
        cv.Line(14, 9, 14, 12);
        cv.Line(14, 15, 14, 19);
        cv.Line(14, 22, 14, 25);
    }
    cv.Line(15, kMid, 23, kMid);
    cv.Line(23, kMid, 23, 23);
    if (nSubType % 2 == 1)
        cv.Head(15, kMid, -1, 0, 4.0);
    else
        cv.Head(22, kMid, 1, 0, 4.0);
}

void StraightPlates(CCanvas& cv) {
    cv.FillRect(14, 9, 15, 25, kInk);
    cv.FillRect(19, 9, 20, 25, kInk);
    LeadsLR(cv, 14, 20);
}

void CurvedPlate(CCanvas& cv) {
    cv.FillRect(14, 9, 15, 25, kInk);
    cv.Line(0, kMid, 14, kMid);
    for (double r : {9.0, 9.8})
        cv.Arc(28, 17, r, 130, 230);
    cv.Line(19, kMid, 34, kMid);
}

void DrawCapacitor(CCanvas& cv, int nSubType) {
    switch (nSubType) {
    case 1: // electrolytic: the hollow plate
        cv.Rect(12, 9, 15, 25);
        cv.FillRect(19, 9, 20, 25, kInk);
        LeadsLR(cv, 12, 20);
        break;
    case 2: // polarized: curved negative plate, plus sign at the positive one
        CurvedPlate(cv);
        cv.Text(5, 3, "+");
        break;
    case 3:
        StraightPlates(cv);
        break;
    case 4:
        StraightPlates(cv);
        cv.Arrow(8, 28, 26, 6);
        break;
    case 5: // preset: a trimming line ending in a bar
        StraightPlates(cv);
        cv.Line(9, 27, 24, 9);
        cv.Line(21, 7, 27, 12);
        break;
    default:
        CurvedPlate(cv);
        cv.Arrow(8, 28, 26, 6);
        break;
    }
}

void DrawDiode(CCanvas& cv, int nSubType) {
    cv.Line(0, kMid, 11, kMid);
    cv.Triangle(11, 10, 11, 24, 21, 17);
    cv.FillRect(21, 10, 22, 24, kInk);
    cv.Line(nSubType == 4 ? 26 : 22, kMid, 34, kMid);
    switch (nSubType) {
    case 1: // LED: light going out
        cv.Arrow(14, 8, 19, 3, 3.0);
        cv.Arrow(19, 9, 24, 4, 3.0);
        break;
    case 2: // photodiode: light coming in
        cv.Arrow(19, 2, 14, 7, 3.0);
        cv.Arrow(24, 3, 19, 8, 3.0);
        break;
    case 4: // varactor: the capacitor plate after the bar
        cv.FillRect(25, 10, 26, 24, kInk);
        break;
    case 5: // Zener: bent bar ends
        cv.Line(21, 10, 18, 7);
        cv.Line(22, 24, 25, 27);
        break;
    default:
        break;
    }
}

void DrawInductor(CCanvas& cv, int nSubType) {
    LeadsLR(cv, 7, 27);
    CoilTurns(cv, 7, kMid, false, -1, 4);
    for (int y : {10, 12}) {
        if (nSubType == 2)
            cv.Line(7, y, 27, y);
        else if (nSubType == 3)
            cv.DashedLine(7, y, 27, y, 3, 2);
    }
    if (nSubType == 4)
        cv.Arrow(9, 25, 25, 7);
}

void DrawSource(CCanvas& cv, int nSubType) {
    RoundBody(cv);
    switch (nSubType) {
    case 1:
        cv.Curve(
            [](double x) {
                return std::pair{x, 17.0 - 4.5 * std::sin(2 * kPi * (x - 10) / 14)};
            },
            10, 24);
        break;
    case 2:
        cv.Line(10, 21, 10, 13);
        cv.Line(10, 13, 17, 13);
        cv.Line(17, 13, 17, 21);
        cv.Line(17, 21, 24, 21);
        cv.Line(24, 21, 24, 13);
        break;
    default:
        cv.Line(10, 17, 13, 13);
        cv.Line(13, 13, 20, 21);
        cv.Line(20, 21, 24, 16);
        break;
    }
}

void DrawAerial(CCanvas& cv) {
    cv.Line(17, 34, 17, 5);
    cv.Line(17, 16, 8, 5);
    cv.Line(17, 16, 26, 5);
    cv.Line(8, 5, 26, 5);
}

void DrawAmplifier(CCanvas& cv) {
    cv.Line(8, 4, 8, 30);
    cv.Line(8, 4, 28, 17);
    cv.Line(8, 30, 28, 17);
    cv.Line(0, 12, 8, 12);
    cv.Line(0, 22, 8, 22);
    cv.Line(28, kMid, 34, kMid);
    // The first input is the inverting one.
    cv.Line(10, 12, 12, 12);
    cv.Line(10, 22, 12, 22);
    cv.Line(11, 21, 11, 23);
}

} // namespace

SIndexedPicture DrawPicture(const SPictureSlot& slot) {
    SIndexedPicture pic;
    CCanvas cv(pic);
    const int s = slot.nState;
    switch (slot.nType) {
    case 1:
        if (slot.nSubType <= 3)
            DrawMeter(cv, MeterUnit(slot.nSubType, s));
        else if (slot.nSubType == 4)
            DrawMeter(cv, "G");
        else
            DrawOscilloscope(cv);
        break;
    case 2:
        if (slot.nSubType == 1)
            DrawBatteries(cv);
        else if (slot.nSubType == 2)
            DrawDcPower(cv);
        else
            DrawPowerSupply(cv);
        break;
    case 3:
        if (slot.nSubType <= 5)
            DrawResistor(cv, slot.nSubType);
        else if (slot.nSubType <= 9)
            DrawLamp(cv, slot.nSubType, s);
        else if (slot.nSubType == 10)
            DrawFuse(cv, s != 0);
        else if (slot.nSubType == 11)
            DrawBreaker(cv, s != 0);
        else if (slot.nSubType == 12)
            DrawBell(cv, s != 0);
        else if (slot.nSubType == 13)
            DrawMotor(cv);
        else if (slot.nSubType == 14)
            DrawSpeaker(cv);
        else if (slot.nSubType == 15)
            DrawMicrophone(cv);
        else
            DrawEarphone(cv);
        break;
    case 4:
        if (slot.nSubType <= 4)
            DrawSwitch(cv, slot.nSubType, s != 0);
        else if (slot.nSubType == 6 || slot.nSubType == 7)
            DrawPushButton(cv, slot.nSubType == 7, s != 0);
        else if (slot.nSubType == 9)
            DrawPlugAndSocket(cv, s != 0);
        else if (slot.nSubType == 13)
            DrawEarthing(cv);
        else
            DrawJunction(cv, slot.nSubType);
        break;
    case 5:
        DrawTransformer(cv, slot.nSubType);
        break;
    case 6:
        DrawTransistor(cv, slot.nSubType);
        break;
    case 7:
        DrawCapacitor(cv, slot.nSubType);
        break;
    case 8:
        DrawDiode(cv, slot.nSubType);
        break;
    case 9:
        DrawInductor(cv, slot.nSubType);
        break;
    case 10:
        if (slot.nSubType == 4)
            DrawAerial(cv);
        else
            DrawSource(cv, slot.nSubType);
        break;
    default:
        DrawAmplifier(cv);
        break;
    }
    return pic;
}

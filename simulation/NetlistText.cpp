#include "NetlistText.h"

namespace {

struct SZenerModel {
    const char* szName;
    const char* szIs;
    const char* szRs;
    const char* szCjo;
    const char* szM;
    const char* szIsr;
    const char* szBv;
    const char* szIbv;
    const char* szNbv;
    const char* szIbvl;
    const char* szNbvl;
    const char* szTbv1;
    const char* szZ1;
    const char* szZ5;
    const char* szZ20;
};

constexpr SZenerModel kZener[kZenerModels] = {
    {"D1N747", "1.242f", "1.137", "210p", ".6063", "1.922n", "3.6", "13.987m", "3.031", "10.212m",
     "12.73", "-555.6u", "330", "52", "7.3"},
    {"D1N748", "1.252f", "1.156", "205p", ".6004", "1.867n", "3.9", "17.244m", "2.4016", "8.619m",
     "13.283", "-384.62u", "345", "49", "5.8"},
    {"D1N749", "880.5E-18", ".25", "190p", ".6124", "1.743n", "4.3", "16.748m", "1.7936", "5.0382m",
     "12.554", "-232.56u", "325", "24", "3.2"},
    {"D1N750", "880.5E-18", ".25", "175p", ".5516", "1.859n", "4.7", "20.245m", "1.6989", "1.9556m",
     "14.976", "-21.277u", "300", "12.5", "2.6"},
    {"D1N751", "1.004f", ".5875", "160p", ".5484", "1.8n", "5.1", "27.721m", "1.1779", "1.1646m",
     "21.894", "176.47u", "175", "8.2", "2.2"},
    {"D1N753", "1.536f", "1.687", "130p", ".5259", "1.719n", "6.2", "1.9685", ".28384", "7.0094e-7",
     ".29418", "443.55u", "9", "3.4", "1.85"},
    {"D1N755", "2.077f", "2.467", "104p", ".5061", "1.645n", "7.5", "2.5701", ".39227", "4.0222e-5",
     ".25042", "533.33u", "12.5", "5.3", "2.3"},
    {"D1N756", "2.453f", "2.9", "90p", ".448", "1.803n", "8.2", "1.5593", ".51406", "8.3521e-5",
     ".1313", "585.366u", "16", "6.9", "2.5"},
    {"D1N758", "1.953f", "2.305", "68p", ".3856", "1.939n", "10", ".16597", ".84122", "1.003m",
     ".20892", "650u", "24", "7.25", "2.9"},
};

// The D1N750 comment line has its own spacing at the end.
constexpr int kIrregularZener = 3;

constexpr const char* kAmplifier[] = {
    ".subckt AD 13 15 12 16 14",
    "*",
    "  vos 15  8 dc 0",
    "  ec   9  0 14 0 1",
    "  c1   6  7 1.25p",
    "  rp  16 12 12K",
    "  gb  11  0 3 0 1.67K",
    "  rd1  6 16 16K",
    "  rd2  7 16 16K",
    "  iss 12  1 dc 100u",
    "  cci  3 11 14p",
    "  gcm  0  3 0 1 1.76n",
    "  ga   3  0 7 6 176u",
    "  re   1  0 2.5Meg",
    "  rgm  3  0 2.84K",
    "  vc  12  2 dc 2.8",
    "  ve  10 16 dc 2.8",
    "  ro1 11 14 25",
    "  ce   1  0 2p",
    "  ro2  0 11 30",
    "  rs1  1  4 5.77K",
    "  rs2  1  5 5.77K",
    "  j1   6 13 4 fet",
    "  j2   7  8 5 fet",
    "  dc  14  2 diode",
    "  de  10 14 diode",
    "  dp  16 12 diode",
    "  d1   9 11 diode",
    "  d2  11  9 diode",
    ".model diode d()",
    ".model fet pjf(vto=-1 beta=1m)",
    ".ends ",
};

constexpr const char* kDiodeModel =
    ".model D1N3493 D(Is=68.65f Rs=3.786m Ikf=1.774 N=1 Xti=2 Eg=1.11 Cjo=1.457n";

} // namespace

void AppendLine(std::string& out, std::initializer_list<std::string_view> parts) {
    out += kNetlistBreak;
    for (std::string_view part : parts)
        out += part;
}

int ClampZenerIndex(int nIndex) {
    return nIndex < 0 ? 0 : nIndex >= kZenerModels ? kZenerModels - 1 : nIndex;
}

const char* ZenerModelName(int nIndex) {
    return kZener[ClampZenerIndex(nIndex)].szName;
}

void AppendZenerModel(std::string& out, int nIndex) {
    const int z = ClampZenerIndex(nIndex);
    const SZenerModel& m = kZener[z];
    AppendLine(out, {".model ", m.szName, "\tD(Is=", m.szIs, " Rs=", m.szRs,
                     " Ikf=0 N=1 Xti=3 Eg=1.11 Cjo=", m.szCjo, " M=", m.szM});
    AppendLine(out, {"+\t\tVj=.75 Fc=.5 Isr=", m.szIsr, " Nr=2 Bv=", m.szBv, " Ibv=", m.szIbv,
                     " Nbv=", m.szNbv});
    AppendLine(out, {"+\t\tIbvl=", m.szIbvl, " Nbvl=", m.szNbvl, " Tbv1=", m.szTbv1, ")"});
    if (z == kIrregularZener)
        AppendLine(out, {"*\t\tVz = ", m.szBv, " @ 20mA, Zz = ", m.szZ1, " @ 1mA, Zz = ", m.szZ5,
                         " @ 5mA, Zz =", m.szZ20, "  @ 20mA"});
    else
        AppendLine(out, {"*\t\tVz = ", m.szBv, " @ 20mA, Zz = ", m.szZ1, " @ 1mA, Zz = ", m.szZ5,
                         " @ 5mA, Zz = ", m.szZ20, " @ 20mA"});
}

void AppendTrailer(std::string& out) {
    for (const char* szLine : kAmplifier)
        AppendLine(out, {szLine});
    AppendLine(out, {kDiodeModel});
    AppendLine(out, {".end"});
}

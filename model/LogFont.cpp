#include "LogFont.h"

#include "Archive.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstring>

void SLogFont::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(lfHeight);
        ar.WriteInt32(lfWidth);
        ar.WriteInt32(lfEscapement);
        ar.WriteInt32(lfOrientation);
        ar.WriteInt32(lfWeight);
        for (uint8_t b : {lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision,
                          lfClipPrecision, lfQuality, lfPitchAndFamily})
            ar.WriteByte(b);
        ar.WriteBytes(lfFaceName, sizeof lfFaceName);
        return;
    }
    lfHeight = ar.ReadInt32();
    lfWidth = ar.ReadInt32();
    lfEscapement = ar.ReadInt32();
    lfOrientation = ar.ReadInt32();
    lfWeight = ar.ReadInt32();
    for (uint8_t* p : {&lfItalic, &lfUnderline, &lfStrikeOut, &lfCharSet, &lfOutPrecision,
                       &lfClipPrecision, &lfQuality, &lfPitchAndFamily})
        *p = ar.ReadByte();
    const QByteArray face = ar.ReadBytes(sizeof lfFaceName);
    if (face.size() == qsizetype(sizeof lfFaceName))
        std::memcpy(lfFaceName, face.constData(), sizeof lfFaceName);
    lfFaceName[sizeof lfFaceName - 1] = 0; // a name without terminator must not run on
}

QString SLogFont::FaceName() const {
    return QString::fromLatin1(lfFaceName, qsizetype(strnlen(lfFaceName, sizeof lfFaceName)));
}

void SLogFont::SetFaceName(const QString& strFace) {
    std::memset(lfFaceName, 0, sizeof lfFaceName);
    const QByteArray bytes = strFace.toLatin1().left(sizeof lfFaceName - 1);
    std::memcpy(lfFaceName, bytes.constData(), size_t(bytes.size()));
}

QFont SLogFont::ToQFont() const {
    QFont font(FaceName());
    // fontconfig maps Arial to its metric-compatible stand-in; the family hint covers the rest.
    const int nFamily = lfPitchAndFamily & 0xf0;
    font.setStyleHint(nFamily == 0x10   ? QFont::Serif
                      : nFamily == 0x30 ? QFont::Monospace
                                        : QFont::SansSerif);
    const int nHeight = lfHeight == 0 ? -12 : lfHeight;
    if (nHeight < 0) {
        font.setPixelSize(std::max(1, -nHeight));
    } else {
        // A positive height is the whole cell, internal leading included.
        font.setPixelSize(std::max(1, nHeight));
        const int nCell = QFontMetrics(font).height();
        if (nCell > nHeight)
            font.setPixelSize(std::max(1, nHeight * nHeight / nCell));
    }
    const int nWeight = std::clamp(lfWeight == 0 ? 400 : int(lfWeight), 1, 1000);
    font.setWeight(QFont::Weight(nWeight));
    font.setItalic(lfItalic != 0);
    font.setUnderline(lfUnderline != 0);
    font.setStrikeOut(lfStrikeOut != 0);
    return font;
}

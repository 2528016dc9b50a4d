#pragma once

#include <QFont>

#include <cstdint>

class CArchive;

// A font description in the 60-byte layout circuit files store: five 32-bit values, eight
// bytes and a 32-byte zero-terminated face name.
struct SLogFont {
    int32_t lfHeight = -12;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 400;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 3;
    uint8_t lfClipPrecision = 2;
    uint8_t lfQuality = 1;
    uint8_t lfPitchAndFamily = 0x22;
    // Kept byte for byte, bytes after the terminator included, so files round-trip exactly.
    char lfFaceName[32] = "Arial";

    static constexpr int kRecordSize = 60;

    void Serialize(CArchive& ar);
    // The font to draw with: a negative height is the character height in pixels.
    QFont ToQFont() const;
    void SetFaceName(const QString& strFace);
    QString FaceName() const;
};

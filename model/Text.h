#pragma once

#include "LogFont.h"
#include "Rect.h"

#include <QPoint>
#include <QString>

#include <cstdint>

class CArchive;
class QPaintDevice;
class QPainter;

// A free text item on the workbench: lines separated by CR LF, its own font, colour and
// horizontal alignment, in a box that MeasureText fits to the text.
class CText {
public:
    enum EAlign { Left = 0, Centred = 1, Right = 2 };

    CText();
    CText(int x, int y);

    // Fits m_rect around its centre to the text as drawn on pDevice (null: the screen),
    // kept inside the workbench's top-left corner and no larger than the workbench.
    void MeasureText(const QPaintDevice* pDevice, int nBenchWidth, int nBenchHeight);
    // bBlack: printing draws every text in black.
    void Draw(QPainter& painter, bool bBlack = false) const;
    // Normalises the box, then tests the point against it.
    bool HitTest(QPoint pt);
    void Offset(int dx, int dy) { m_rect.Offset(dx, dy); }
    void Serialize(CArchive& ar);

    QColor TextColor() const;

    int32_t m_nAlign = Centred;
    uint32_t m_crText = 0; // 0x00BBGGRR
    SLogFont m_logFont;
    int32_t m_bSelected = 0;
    QString m_strText = QStringLiteral("Text");
    CRect m_rect;
};

#include "Text.h"

#include "Archive.h"

#include <QFontMetrics>
#include <QPainter>

CText::CText() = default;

CText::CText(int x, int y) : m_rect(x, y, x, y) {}

QColor CText::TextColor() const {
    return QColor(int(m_crText & 0xff), int((m_crText >> 8) & 0xff), int((m_crText >> 16) & 0xff));
}

void CText::MeasureText(const QPaintDevice* pDevice, int nBenchWidth, int nBenchHeight) {
    const QFont font = m_logFont.ToQFont();
    const QFontMetrics metrics =
        pDevice ? QFontMetrics(font, const_cast<QPaintDevice*>(pDevice)) : QFontMetrics(font);
    int w = 0;
    int h = 0;
    const qsizetype n = m_strText.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype nEnd = m_strText.indexOf(QLatin1Char('\r'), i);
        const qsizetype nStop = nEnd < 0 ? n : nEnd;
        QString strLine = m_strText.mid(i, nStop - i);
        i = nStop + 2; // past the CR and the LF after it
        if (strLine.isEmpty() && i < n)
            strLine = QStringLiteral(" ");
        const int cx = metrics.horizontalAdvance(strLine);
        if (cx + 4 > w)
            w = cx + 4;
        h += metrics.height();
    }
    const int dx = (w - m_rect.Width() + 5) / 2;
    const int dy = (h - m_rect.Height() + 5) / 2;
    m_rect.left -= dx;
    m_rect.right += dx;
    m_rect.top -= dy;
    m_rect.bottom += dy;
    if (m_rect.top < 0)
        m_rect.Offset(0, -m_rect.top);
    if (m_rect.left < 0)
        m_rect.Offset(-m_rect.left, 0);
    if (m_rect.Width() > nBenchWidth) {
        m_rect.left = 0;
        m_rect.right = nBenchWidth;
    }
    if (m_rect.Height() > nBenchHeight) {
        m_rect.top = 0;
        m_rect.bottom = nBenchHeight;
    }
}

void CText::Draw(QPainter& painter, bool bBlack) const {
    static constexpr Qt::Alignment kAlign[4] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                                Qt::AlignLeft};
    const Qt::Alignment align = (m_nAlign >= 0 && m_nAlign < 4) ? kAlign[m_nAlign] : Qt::AlignLeft;
    painter.save();
    painter.setFont(m_logFont.ToQFont());
    painter.setPen(bBlack ? QColor(Qt::black) : TextColor());
    painter.setBackgroundMode(Qt::TransparentMode);
    const CRect r = m_rect.Normalized();
    const QRect box(QPoint(r.left + 3, r.top), QPoint(r.right - 3 - 1, r.bottom - 1));
    QString strText = m_strText;
    strText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    painter.drawText(box, int(align | Qt::AlignTop | Qt::TextDontClip), strText);
    painter.restore();
}

bool CText::HitTest(QPoint pt) {
    m_rect.Normalize();
    return m_rect.Contains(pt);
}

void CText::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(int32_t(m_crText));
        ar.WriteInt32(m_nAlign);
        ar.WriteString(m_strText);
        ar.WriteInt32(m_rect.top);
        ar.WriteInt32(m_rect.left);
        ar.WriteInt32(m_rect.right);
        ar.WriteInt32(m_rect.bottom);
        m_logFont.Serialize(ar);
        return;
    }
    m_crText = uint32_t(ar.ReadInt32());
    m_nAlign = ar.ReadInt32();
    m_strText = ar.ReadString();
    m_rect.top = ar.ReadInt32();
    m_rect.left = ar.ReadInt32();
    m_rect.right = ar.ReadInt32();
    m_rect.bottom = ar.ReadInt32();
    m_logFont.Serialize(ar);
    m_bSelected = 0;
}

#include "ComponentList.h"

#include "Archive.h"
#include "Component.h"
#include "ScopeWnd.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

QString FormatMeterReading(float fReading, int nRange) {
    const int e = 3 * (2 - nRange);
    // A range beyond the largest gives the factor 0, as the integer division 1/10^-e did.
    const float fFactor = e >= 0 ? float(std::pow(10.0, e)) : 0.0f;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", double(fReading * fFactor));
    if (std::strcmp(buffer, "-0.00") == 0)
        return QStringLiteral("0.00");
    return QString::fromLatin1(buffer);
}

CComponentList::~CComponentList() {
    DeleteAll();
}

void CComponentList::DeleteAll() {
    // Take each component out before deleting it, so nothing sees a half-emptied list.
    while (!m_list.empty()) {
        CComponent* pComp = m_list.front();
        m_list.pop_front();
        delete pComp;
    }
}

void CComponentList::AddHead(CComponent* pComp) {
    m_list.push_front(pComp);
}

void CComponentList::AddTail(CComponent* pComp) {
    m_list.push_back(pComp);
}

void CComponentList::MoveToHead(CComponent* pComp) {
    auto it = std::find(m_list.begin(), m_list.end(), pComp);
    if (it == m_list.end())
        return;
    m_list.splice(m_list.begin(), m_list, it);
}

CComponent* CComponentList::HitTest(QPoint pt, int* pnTerminal) {
    for (CComponent* pComp : m_list)
        if (CComponent* pHit = pComp->HitTest(pt, pnTerminal))
            return pHit;
    if (pnTerminal)
        *pnTerminal = -1;
    return nullptr;
}

CComponent* CComponentList::FindSelected() const {
    for (CComponent* pComp : m_list)
        if (pComp->m_bSelected)
            return pComp;
    return nullptr;
}

void CComponentList::SelectAll(bool bFlag) {
    for (CComponent* pComp : m_list)
        pComp->m_bSelected = bFlag ? 1 : 0;
}

int CComponentList::CountSelected(bool bFlag) const {
    return int(std::count_if(m_list.begin(), m_list.end(), [bFlag](const CComponent* p) {
        return (p->m_bSelected != 0) == bFlag;
    }));
}

bool CComponentList::Remove(CComponent* pComp) {
    auto it = std::find(m_list.begin(), m_list.end(), pComp);
    if (it == m_list.end())
        return false;
    m_list.erase(it);
    return true;
}

void CComponentList::RemoveAndDelete(CComponent* pComp) {
    if (Remove(pComp))
        delete pComp;
}

void CComponentList::DrawAll(QPainter& painter) const {
    for (auto it = m_list.rbegin(); it != m_list.rend(); ++it)
        (*it)->Draw(painter);
}

void CComponentList::DrawReadings(QPainter& painter, bool bRunning) {
    const QFontMetrics metrics = painter.fontMetrics();
    for (auto it = m_list.rbegin(); it != m_list.rend(); ++it) {
        CComponent* pComp = *it;
        if (pComp->m_nType != 1)
            continue;
        if (pComp->IsOscilloscope()) {
            if (!pComp->m_pScope)
                continue;
            const QString strTitle = pComp->m_pScope->m_strTitle;
            const QSize size = metrics.size(0, strTitle);
            const QRect rect(pComp->m_rect.left, pComp->m_rect.top - size.height(), size.width(),
                             size.height());
            painter.save();
            painter.setPen(Qt::black);
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, strTitle);
            painter.restore();
            continue;
        }
        if (!bRunning || !pComp->m_bShowValue)
            continue;
        if (std::fabs(pComp->m_fValue[3] + 6789.0f) < 0.01f)
            pComp->m_fValue[3] = 0.0f;
        const float fRange = pComp->m_fValue[0];
        const int nRange = std::isnan(fRange) ? 0 : int(std::clamp(fRange, -1000.0f, 1000.0f));
        const QString strText = FormatMeterReading(pComp->m_fValue[3], nRange);
        const QSize size = metrics.size(0, strText);
        QRect rect(pComp->m_rect.left, pComp->m_rect.top - size.height(), size.width(),
                   size.height());
        if (rect.top() < 0)
            rect.moveTop(0);
        painter.save();
        painter.setPen(QPen(Qt::blue, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(rect.adjusted(-1, -1, 0, 0));
        painter.setPen(Qt::black);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, strText);
        painter.restore();
    }
}

CRect CComponentList::BoundingRect() const {
    if (m_list.empty())
        return {};
    CRect r = m_list.front()->m_rect;
    for (const CComponent* pComp : m_list)
        r = r.United(pComp->m_rect);
    return r;
}

void CComponentList::MoveAll(int dx, int dy) {
    for (CComponent* pComp : m_list)
        pComp->MoveBy(dx, dy);
}

void CComponentList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(int32_t(m_list.size()));
        for (CComponent* pComp : m_list)
            pComp->Serialize(ar);
        return;
    }
    DeleteAll();
    const int32_t n = ar.ReadInt32();
    if (!ar.CheckCount(n, 36))
        return;
    for (int32_t i = 0; i < n && !ar.Failed(); ++i) {
        auto* pComp = new CComponent;
        m_list.push_back(pComp);
        pComp->Serialize(ar);
    }
}

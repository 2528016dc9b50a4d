#include "OutlineList.h"

#include "ProgramState.h"
#include "VonnView.h"

#include <QPainter>

void COutlineList::Add(const CRect& rect) {
    m_rects.push_back(rect);
    if (m_pView) {
        CRect rc = rect.Normalized();
        rc.Offset(-m_ptScroll.x(), -m_ptScroll.y());
        m_pView->update(rc.ToQRect());
    }
}

void COutlineList::Clear() {
    m_rects.clear();
    if (m_pView)
        m_pView->update();
}

CRect COutlineList::GetBounds() const {
    if (m_rects.empty())
        return {};
    CRect bounds = m_rects.front();
    for (const CRect& rc : m_rects)
        bounds = bounds.United(rc);
    return bounds;
}

void COutlineList::Offset(int dx, int dy) {
    const CRect bounds = GetBounds();
    if (bounds.left + dx < 0)
        dx = -bounds.left;
    if (bounds.top + dy < 0)
        dy = -bounds.top;
    for (CRect& rc : m_rects)
        rc.Offset(dx, dy);
    if (m_pView)
        m_pView->repaint();
}

void COutlineList::Draw(QPainter& painter) const {
    painter.save();
    painter.setPen(ProgramState().DrawTools().m_penOutline);
    painter.setBrush(Qt::NoBrush);
    for (const CRect& rc : m_rects) {
        const QPoint pts[5] = {{rc.left, rc.top},
                               {rc.left, rc.bottom - 1},
                               {rc.right - 1, rc.bottom - 1},
                               {rc.right - 1, rc.top},
                               {rc.left, rc.top}};
        painter.drawPolyline(pts, 5);
    }
    painter.restore();
}

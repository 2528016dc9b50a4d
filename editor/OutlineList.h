#pragma once

#include "Rect.h"

#include <QPoint>

#include <vector>

class QPainter;
class CVonnView;

// The selection outlines of a view: one rectangle per selected component (its m_rect grown
// by one pixel) and per selected text item, in workbench coordinates, in the order added.
// A drag moves the outlines first, so they are also its feedback.
class COutlineList {
public:
    explicit COutlineList(CVonnView* pView = nullptr) : m_pView(pView) {}

    void Add(const CRect& rect);
    void Clear();
    CRect GetBounds() const;
    // Moves every outline, keeping the group's left and top edges at 0 or beyond.
    void Offset(int dx, int dy);
    void Draw(QPainter& painter) const;
    int Count() const { return int(m_rects.size()); }
    const std::vector<CRect>& Rects() const { return m_rects; }
    void SetScrollPosition(QPoint pt) { m_ptScroll = pt; }
    QPoint ScrollPosition() const { return m_ptScroll; }

private:
    CVonnView* m_pView;
    std::vector<CRect> m_rects;
    QPoint m_ptScroll;
};

#pragma once

#include "Rect.h"

#include <QPoint>

#include <list>

class CArchive;
class CComponent;
class QPainter;

// A wire between two (component, terminal) ends, drawn as a polyline through its vertices.
// The first vertex lies on the first end's terminal and the last on the second end's.
class CWire {
public:
    enum EState { Plain = 0, Selected = 1, Marked = 2 };

    CWire();
    // Joins terminal i of A (first end) to terminal j of B (second end); neither terminal
    // may have a wire yet.
    CWire(CComponent* pA, int i, CComponent* pB, int j);
    ~CWire();
    CWire(const CWire&) = delete;
    CWire& operator=(const CWire&) = delete;

    bool IsComplete() const { return m_pCompA && m_pCompB; }

    void ReattachFirstEnd();
    void ReattachSecondEnd();
    void SetFirstVertex(QPoint pt);
    void SetLastVertex(QPoint pt);

    QPoint* FindVertex(QPoint pt);
    bool FindSegment(QPoint pt, QPoint** ppA, QPoint** ppB);
    void InsertVertex(QPoint pt, const QPoint* pA, const QPoint* pB);
    void RemoveVertex(const QPoint* pV);
    void SetVertex(const QPoint* pV, QPoint pt);
    void OffsetVertex(const QPoint* pV, QPoint d);
    bool IsFirstVertex(const QPoint* pV) const;
    bool IsLastVertex(const QPoint* pV) const;
    void OffsetInnerVertices(QPoint d);
    CRect BoundingRect() const;

    void Draw(QPainter& painter) const;
    // The vertices only; the ends are saved by the document.
    void Serialize(CArchive& ar);

    // Near tests with the workbench's tolerances.
    static bool IsNearVertex(QPoint p, QPoint q);
    static bool IsNearSegment(QPoint p, QPoint a, QPoint b);

    CComponent* m_pCompA = nullptr;
    CComponent* m_pCompB = nullptr;
    // std::list keeps vertex addresses stable, so m_pMarked and found vertices stay valid
    // while others are inserted or removed.
    std::list<QPoint> m_pPoints;
    int m_nTermA = 0;
    int m_nTermB = 0;
    int m_nState = Plain;
    QPoint* m_pMarked = nullptr;
    int m_nIndex = 0;

private:
    std::list<QPoint>::iterator Find(const QPoint* pV);
};

#pragma once

#include "Rect.h"

#include <QPoint>

#include <list>

class CArchive;
class CWire;
class QPainter;

// The document's wires, owned; new wires go to the tail.
class CWireList {
public:
    using Container = std::list<CWire*>;

    CWireList() = default;
    ~CWireList();
    CWireList(const CWireList&) = delete;
    CWireList& operator=(const CWireList&) = delete;

    void AddTail(CWire* pWire);
    void AddHead(CWire* pWire);
    // Draws every complete wire and deletes every wire that lost an end.
    void DrawAll(QPainter& painter);
    // Deletes the wires that lost an end, without drawing.
    void RemoveIncomplete();
    CWire* FindVertex(QPoint pt, QPoint** ppVertex);
    CWire* FindSegment(QPoint pt, QPoint** ppA, QPoint** ppB);
    int CountState(int nState) const;
    CRect BoundingRect() const;
    void MoveAll(QPoint d);
    bool Remove(CWire* pWire);
    void RemoveAndDelete(CWire* pWire);
    void DeleteAll();
    void Serialize(CArchive& ar);

    bool IsEmpty() const { return m_list.empty(); }
    int GetCount() const { return int(m_list.size()); }
    Container::const_iterator begin() const { return m_list.begin(); }
    Container::const_iterator end() const { return m_list.end(); }

private:
    Container m_list;
};

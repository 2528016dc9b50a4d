#pragma once

#include "Rect.h"

#include <QPoint>
#include <QString>

#include <list>

class CArchive;
class CComponent;
class QPainter;

// Text of a meter reading on range r: the reading scaled to the range's unit with "%.2f";
// a negative zero reads "0.00".
QString FormatMeterReading(float fReading, int nRange);

// The document's components, owned, head first: the head is the topmost component.
class CComponentList {
public:
    using Container = std::list<CComponent*>;

    CComponentList() = default;
    ~CComponentList();
    CComponentList(const CComponentList&) = delete;
    CComponentList& operator=(const CComponentList&) = delete;

    void AddHead(CComponent* pComp);
    void AddTail(CComponent* pComp);
    void MoveToHead(CComponent* pComp);
    CComponent* HitTest(QPoint pt, int* pnTerminal);
    CComponent* FindSelected() const;
    void SelectAll(bool bFlag);
    int CountSelected(bool bFlag) const;
    void RemoveAndDelete(CComponent* pComp);
    // Removes the component from the list without deleting it.
    bool Remove(CComponent* pComp);
    void DeleteAll();
    void DrawAll(QPainter& painter) const;
    void DrawReadings(QPainter& painter, bool bRunning);
    CRect BoundingRect() const;
    void MoveAll(int dx, int dy);
    void Serialize(CArchive& ar);

    bool IsEmpty() const { return m_list.empty(); }
    int GetCount() const { return int(m_list.size()); }
    Container::const_iterator begin() const { return m_list.begin(); }
    Container::const_iterator end() const { return m_list.end(); }

private:
    Container m_list;
};

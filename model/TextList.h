#pragma once

#include "Rect.h"

#include <QPoint>

#include <list>

class CArchive;
class CText;
class QPainter;

// The document's text items, owned, head first: the head lies on top.
class CTextList {
public:
    using Container = std::list<CText*>;

    CTextList() = default;
    ~CTextList();
    CTextList(const CTextList&) = delete;
    CTextList& operator=(const CTextList&) = delete;

    void AddTail(CText* pText);
    void AddHead(CText* pText);
    void MoveToHead(CText* pText);
    CText* HitTest(int x, int y);
    void MarkAll(bool bValue);
    int CountMarked(bool bValue) const;
    bool Remove(CText* pText);
    void RemoveAndDelete(CText* pText);
    void DeleteAll();
    void DrawAll(QPainter& painter, bool bBlack = false) const;
    CRect GetBounds() const;
    void MoveAll(int dx, int dy);
    void Serialize(CArchive& ar);

    bool IsEmpty() const { return m_list.empty(); }
    int GetCount() const { return int(m_list.size()); }
    Container::const_iterator begin() const { return m_list.begin(); }
    Container::const_iterator end() const { return m_list.end(); }

private:
    Container m_list;
};

#include "TextList.h"

#include "Archive.h"
#include "LogFont.h"
#include "Text.h"

#include <algorithm>

CTextList::~CTextList() {
    DeleteAll();
}

void CTextList::DeleteAll() {
    while (!m_list.empty()) {
        CText* pText = m_list.front();
        m_list.pop_front();
        delete pText;
    }
}

void CTextList::AddTail(CText* pText) {
    m_list.push_back(pText);
}

void CTextList::AddHead(CText* pText) {
    m_list.push_front(pText);
}

void CTextList::MoveToHead(CText* pText) {
    auto it = std::find(m_list.begin(), m_list.end(), pText);
    if (it != m_list.end())
        m_list.splice(m_list.begin(), m_list, it);
}

CText* CTextList::HitTest(int x, int y) {
    for (CText* pText : m_list)
        if (pText->HitTest(QPoint(x, y)))
            return pText;
    return nullptr;
}

void CTextList::MarkAll(bool bValue) {
    for (CText* pText : m_list)
        pText->m_bSelected = bValue ? 1 : 0;
}

int CTextList::CountMarked(bool bValue) const {
    return int(std::count_if(m_list.begin(), m_list.end(),
                             [bValue](const CText* p) { return (p->m_bSelected != 0) == bValue; }));
}

bool CTextList::Remove(CText* pText) {
    auto it = std::find(m_list.begin(), m_list.end(), pText);
    if (it == m_list.end())
        return false;
    m_list.erase(it);
    return true;
}

void CTextList::RemoveAndDelete(CText* pText) {
    if (Remove(pText))
        delete pText;
}

void CTextList::DrawAll(QPainter& painter, bool bBlack) const {
    for (auto it = m_list.rbegin(); it != m_list.rend(); ++it)
        (*it)->Draw(painter, bBlack);
}

CRect CTextList::GetBounds() const {
    if (m_list.empty())
        return {};
    CRect r = m_list.front()->m_rect.Normalized();
    for (const CText* pText : m_list)
        r = r.United(pText->m_rect.Normalized());
    return r;
}

void CTextList::MoveAll(int dx, int dy) {
    for (CText* pText : m_list)
        pText->Offset(dx, dy);
}

void CTextList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(int32_t(m_list.size()));
        for (CText* pText : m_list)
            pText->Serialize(ar);
        return;
    }
    DeleteAll();
    const int32_t n = ar.ReadInt32();
    // Colour, alignment, a length byte, the box and the font at the least.
    if (!ar.CheckCount(n, 4 + 4 + 1 + 16 + SLogFont::kRecordSize))
        return;
    for (int32_t i = 0; i < n && !ar.Failed(); ++i) {
        auto* pText = new CText;
        m_list.push_back(pText);
        pText->Serialize(ar);
    }
}

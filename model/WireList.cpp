#include "WireList.h"

#include "Archive.h"
#include "Wire.h"

#include <algorithm>

CWireList::~CWireList() {
    DeleteAll();
}

void CWireList::DeleteAll() {
    while (!m_list.empty()) {
        CWire* pWire = m_list.front();
        m_list.pop_front();
        delete pWire;
    }
}

void CWireList::AddTail(CWire* pWire) {
    m_list.push_back(pWire);
}

void CWireList::AddHead(CWire* pWire) {
    m_list.push_front(pWire);
}

void CWireList::RemoveIncomplete() {
    for (auto it = m_list.begin(); it != m_list.end();) {
        if ((*it)->IsComplete()) {
            ++it;
        } else {
            delete *it;
            it = m_list.erase(it);
        }
    }
}

void CWireList::DrawAll(QPainter& painter) {
    for (auto it = m_list.end(); it != m_list.begin();) {
        --it;
        if ((*it)->IsComplete()) {
            (*it)->Draw(painter);
        } else {
            delete *it;
            it = m_list.erase(it);
        }
    }
}

CWire* CWireList::FindVertex(QPoint pt, QPoint** ppVertex) {
    for (CWire* pWire : m_list) {
        if (QPoint* pV = pWire->FindVertex(pt)) {
            *ppVertex = pV;
            return pWire;
        }
    }
    return nullptr;
}

CWire* CWireList::FindSegment(QPoint pt, QPoint** ppA, QPoint** ppB) {
    for (CWire* pWire : m_list)
        if (pWire->FindSegment(pt, ppA, ppB))
            return pWire;
    return nullptr;
}

int CWireList::CountState(int nState) const {
    return int(std::count_if(m_list.begin(), m_list.end(),
                             [nState](const CWire* w) { return w->m_nState == nState; }));
}

CRect CWireList::BoundingRect() const {
    if (m_list.empty())
        return {};
    CRect r = m_list.front()->BoundingRect();
    for (const CWire* pWire : m_list)
        r = r.United(pWire->BoundingRect());
    return r;
}

void CWireList::MoveAll(QPoint d) {
    for (CWire* pWire : m_list)
        pWire->OffsetInnerVertices(d);
}

bool CWireList::Remove(CWire* pWire) {
    auto it = std::find(m_list.begin(), m_list.end(), pWire);
    if (it == m_list.end())
        return false;
    m_list.erase(it);
    return true;
}

void CWireList::RemoveAndDelete(CWire* pWire) {
    if (Remove(pWire))
        delete pWire;
}

void CWireList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(int32_t(m_list.size()));
        for (CWire* pWire : m_list)
            pWire->Serialize(ar);
        return;
    }
    DeleteAll();
    const int32_t n = ar.ReadInt32();
    if (!ar.CheckCount(n, 4))
        return;
    for (int32_t i = 0; i < n && !ar.Failed(); ++i) {
        auto* pWire = new CWire;
        m_list.push_back(pWire);
        pWire->Serialize(ar);
    }
}

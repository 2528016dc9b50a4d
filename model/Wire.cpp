#include "Wire.h"

#include "Archive.h"
#include "Component.h"
#include "ProgramState.h"

#include <QPainter>
#include <QVarLengthArray>

#include <cmath>

CWire::CWire() = default;

CWire::CWire(CComponent* pA, int i, CComponent* pB, int j) {
    m_pCompA = pA;
    m_nTermA = i;
    pA->m_pWire[i] = this;
    m_pPoints.push_back(pA->GetTerminal(i));
    m_pCompB = pB;
    m_nTermB = j;
    pB->m_pWire[j] = this;
    m_pPoints.push_back(pB->GetTerminal(j));
}

CWire::~CWire() {
    if (m_pCompA)
        m_pCompA->DetachWire(m_nTermA, this);
    if (m_pCompB)
        m_pCompB->DetachWire(m_nTermB, this);
}

std::list<QPoint>::iterator CWire::Find(const QPoint* pV) {
    for (auto it = m_pPoints.begin(); it != m_pPoints.end(); ++it)
        if (&*it == pV)
            return it;
    return m_pPoints.end();
}

void CWire::ReattachFirstEnd() {
    if (!m_pCompA)
        return;
    if (!m_pPoints.empty())
        m_pPoints.pop_front();
    m_pPoints.push_front(m_pCompA->GetTerminal(m_nTermA));
}

void CWire::ReattachSecondEnd() {
    if (!m_pCompB)
        return;
    if (!m_pPoints.empty())
        m_pPoints.pop_back();
    m_pPoints.push_back(m_pCompB->GetTerminal(m_nTermB));
}

void CWire::SetFirstVertex(QPoint pt) {
    if (!m_pPoints.empty())
        m_pPoints.front() = pt;
}

void CWire::SetLastVertex(QPoint pt) {
    if (!m_pPoints.empty())
        m_pPoints.back() = pt;
}

bool CWire::IsNearVertex(QPoint p, QPoint q) {
    const qint64 dx = p.x() - q.x();
    const qint64 dy = p.y() - q.y();
    return dx * dx + dy * dy < 32;
}

bool CWire::IsNearSegment(QPoint p, QPoint a, QPoint b) {
    const CRect grown(std::min(a.x(), b.x()) - 5, std::min(a.y(), b.y()) - 5,
                      std::max(a.x(), b.x()) + 5, std::max(a.y(), b.y()) + 5);
    if (!grown.Contains(p) || a == b)
        return false;
    auto dist = [](QPoint u, QPoint v) {
        const double dx = double(u.x()) - v.x();
        const double dy = double(u.y()) - v.y();
        return std::sqrt(dx * dx + dy * dy);
    };
    const double s = dist(a, b);
    const double u = dist(a, p);
    const double v = dist(b, p);
    const double h = (s + u + v) / 2;
    const double area = std::sqrt(std::max(0.0, h * (h - v) * (h - u) * (h - s)));
    return area / s < 2.5;
}

QPoint* CWire::FindVertex(QPoint pt) {
    for (QPoint& v : m_pPoints)
        if (IsNearVertex(v, pt))
            return &v;
    return nullptr;
}

bool CWire::FindSegment(QPoint pt, QPoint** ppA, QPoint** ppB) {
    if (m_pPoints.size() < 2)
        return false;
    auto it = m_pPoints.begin();
    for (auto next = std::next(it); next != m_pPoints.end(); ++it, ++next) {
        if (IsNearSegment(pt, *it, *next)) {
            *ppA = &*it;
            *ppB = &*next;
            return true;
        }
    }
    return false;
}

void CWire::InsertVertex(QPoint pt, const QPoint* pA, const QPoint* pB) {
    auto itA = Find(pA);
    if (itA == m_pPoints.end())
        return;
    auto itB = std::next(itA);
    if (itB == m_pPoints.end() || &*itB != pB)
        return;
    m_pPoints.insert(itB, pt);
}

void CWire::RemoveVertex(const QPoint* pV) {
    auto it = Find(pV);
    if (it == m_pPoints.end())
        return;
    if (m_pMarked == pV)
        m_pMarked = nullptr;
    m_pPoints.erase(it);
}

void CWire::SetVertex(const QPoint* pV, QPoint pt) {
    auto it = Find(pV);
    if (it != m_pPoints.end())
        *it = pt;
}

void CWire::OffsetVertex(const QPoint* pV, QPoint d) {
    auto it = Find(pV);
    if (it != m_pPoints.end())
        *it += d;
}

bool CWire::IsFirstVertex(const QPoint* pV) const {
    return !m_pPoints.empty() && &m_pPoints.front() == pV;
}

bool CWire::IsLastVertex(const QPoint* pV) const {
    return !m_pPoints.empty() && &m_pPoints.back() == pV;
}

void CWire::OffsetInnerVertices(QPoint d) {
    if (m_pPoints.size() < 3)
        return;
    auto last = std::prev(m_pPoints.end());
    for (auto it = std::next(m_pPoints.begin()); it != last; ++it)
        *it += d;
}

CRect CWire::BoundingRect() const {
    if (m_pPoints.empty())
        return {};
    CRect r(m_pPoints.front().x(), m_pPoints.front().y(), m_pPoints.front().x(),
            m_pPoints.front().y());
    for (const QPoint& p : m_pPoints) {
        r.left = std::min(r.left, p.x());
        r.top = std::min(r.top, p.y());
        r.right = std::max(r.right, p.x());
        r.bottom = std::max(r.bottom, p.y());
    }
    return r;
}

void CWire::Draw(QPainter& painter) const {
    if (m_pPoints.size() < 2)
        return;
    const CDrawTools& tools = ProgramState().DrawTools();
    painter.save();
    painter.setPen(m_nState == Selected ? tools.m_penSelectedWire : tools.m_penWire);
    QVarLengthArray<QPoint, 16> points(m_pPoints.begin(), m_pPoints.end());
    painter.drawPolyline(points.constData(), int(points.size()));
    auto handle = [&](QPoint p) {
        painter.fillRect(QRect(p.x() - 2, p.y() - 2, 4, 4), tools.m_brushHandle);
    };
    if (m_nState == Selected) {
        for (const QPoint& p : m_pPoints)
            handle(p);
    } else if (m_nState == Marked && m_pMarked) {
        for (const QPoint& p : m_pPoints)
            if (&p == m_pMarked)
                handle(p);
    }
    painter.restore();
}

void CWire::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(int32_t(m_pPoints.size()));
        for (const QPoint& p : m_pPoints) {
            ar.WriteInt32(p.x());
            ar.WriteInt32(p.y());
        }
        return;
    }
    m_pPoints.clear();
    m_pMarked = nullptr;
    const int32_t n = ar.ReadInt32();
    if (!ar.CheckCount(n, 8))
        return;
    for (int32_t i = 0; i < n; ++i) {
        const int x = ar.ReadInt32();
        const int y = ar.ReadInt32();
        m_pPoints.emplace_back(x, y);
    }
}

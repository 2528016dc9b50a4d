#include "ScopeWnd.h"

#include "Archive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

CScopeDisplay::Factory& CScopeDisplay::WindowFactory() {
    static Factory factory;
    return factory;
}

CScopeWnd::CScopeWnd() = default;
CScopeWnd::~CScopeWnd() = default;

void CScopeWnd::Create() {
    m_strTitle = QStringLiteral("Osci - %1").arg(m_nDisplay);
    if (const auto& factory = CScopeDisplay::WindowFactory(); factory && !m_pDisplay) {
        m_pDisplay = factory(this);
        if (m_pDisplay) {
            m_pDisplay->Create();
            m_pDisplay->SetTitle(m_strTitle);
            m_rectWindow = m_pDisplay->WindowRect();
        }
    }
    m_bVisible = 0;
}

void CScopeWnd::OpenFromBlock() {
    const QString strTitle = m_strTitle;
    const CRect rect = m_rectWindow;
    const int bVisible = m_bVisible;
    Create();
    SetTitle(strTitle);
    m_rectWindow = rect;
    if (m_pDisplay)
        m_pDisplay->MoveTo(rect);
    Show(bVisible != 0);
}

void CScopeWnd::SerializeBlock(CArchive& ar) {
    if (ar.IsStoring()) {
        const CRect rect = WindowRect();
        ar.WriteInt32(m_nRange1);
        ar.WriteInt32(m_nRange2);
        ar.WriteInt32(rect.left);
        ar.WriteInt32(rect.top);
        ar.WriteInt32(rect.right);
        ar.WriteInt32(rect.bottom);
        ar.WriteInt32(IsVisible() ? 1 : 0);
        ar.WriteString(m_strTitle);
    } else {
        m_nRange1 = ar.ReadInt32();
        m_nRange2 = ar.ReadInt32();
        m_rectWindow.left = ar.ReadInt32();
        m_rectWindow.top = ar.ReadInt32();
        m_rectWindow.right = ar.ReadInt32();
        m_rectWindow.bottom = ar.ReadInt32();
        m_bVisible = ar.ReadInt32() != 0 ? 1 : 0;
        m_strTitle = ar.ReadString();
    }
}

CRect CScopeWnd::WindowRect() const {
    return m_pDisplay ? m_pDisplay->WindowRect() : m_rectWindow;
}

bool CScopeWnd::IsVisible() const {
    return m_pDisplay ? m_pDisplay->IsVisible() : m_bVisible != 0;
}

void CScopeWnd::Show(bool bShow) {
    m_bVisible = bShow ? 1 : 0;
    if (m_pDisplay)
        m_pDisplay->Show(bShow);
}

void CScopeWnd::SetTitle(const QString& strTitle) {
    m_strTitle = strTitle;
    if (m_pDisplay)
        m_pDisplay->SetTitle(strTitle);
}

void CScopeWnd::ResetTraces() {
    m_bReset = 1;
    m_nSamples = 0;
    m_strReading1.clear();
    m_strReading2.clear();
    if (m_pDisplay)
        m_pDisplay->Refresh(true);
}

void CScopeWnd::UpdateCheckBoxes() {
    if (m_pDisplay)
        m_pDisplay->UpdateCheckBoxes();
}

QSize CScopeWnd::TraceSize() const {
    return m_pDisplay ? m_pDisplay->TraceSize() : QSize(kDefaultTraceWidth, kDefaultTraceHeight);
}

int CScopeWnd::TraceY(float v, int nHeight) const {
    const double y = double(m_fTop - v) / double(m_fTop - m_fBottom) * (nHeight - 12);
    if (!std::isfinite(y))
        return 6;
    return int(std::clamp(y, -1.0e6, 1.0e6)) + 6;
}

namespace {
// A channel carries a value unless it holds the no-value marker.
bool IsValid(float v) {
    const float f = v + 6789.0f;
    return !(f > -1.0f && f < 1.0f);
}

QString FormatScopeReading(float v, int nRange) {
    static constexpr double kMultiplier[3] = {1e6, 1e3, 1};
    static constexpr const char* kUnit[3] = {"uV", "mV", "V"};
    const int r = std::clamp(nRange, 0, 2);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "= %.2f %s", double(v) * kMultiplier[r], kUnit[r]);
    return QString::fromLatin1(buffer);
}
} // namespace

void CScopeWnd::AddSample(float t, float a, float b) {
    if (!m_bReset) {
        if (t - m_fLastTime < 0.000095f)
            return;
        m_fLastTime = t;
    }
    m_fValue1 = a;
    m_fValue2 = b;
    const bool bValid1 = IsValid(a);
    const bool bValid2 = IsValid(b);
    // A missing channel takes the other's value so that it never widens the scale.
    if (bValid1 && !bValid2)
        m_fValue2 = a;
    else if (bValid2 && !bValid1)
        m_fValue1 = b;
    if (bValid1)
        m_strReading1 = FormatScopeReading(a, m_nRange1);
    if (bValid2)
        m_strReading2 = FormatScopeReading(b, m_nRange2);

    bool bFull = false;
    if (m_bReset) {
        m_fLastTime = t;
        m_fTop = std::max(m_fValue1 + 0.0001f, m_fValue2 + 0.001f);
        m_fBottom = std::min(m_fValue1 - 0.0001f, m_fValue2 - 0.001f);
        m_bReset = 0;
        bFull = true;
    } else {
        bFull = m_fValue1 > m_fTop || m_fValue1 < m_fBottom || m_fValue2 > m_fTop ||
                m_fValue2 < m_fBottom;
        m_fTop = std::max({m_fTop, m_fValue1, m_fValue2});
        m_fBottom = std::min({m_fBottom, m_fValue1, m_fValue2});
    }
    const int nWidth = std::clamp(TraceSize().width(), 1, kMaxSamples - 1);
    if (m_nSamples > nWidth) {
        std::copy(m_afSamples1.begin() + 1, m_afSamples1.begin() + nWidth + 1,
                  m_afSamples1.begin());
        std::copy(m_afSamples2.begin() + 1, m_afSamples2.begin() + nWidth + 1,
                  m_afSamples2.begin());
        m_nSamples = nWidth;
        bFull = true;
    }
    m_afSamples1[size_t(m_nSamples)] = m_fValue1;
    m_afSamples2[size_t(m_nSamples)] = m_fValue2;
    if (m_pDisplay && m_nSamples > 0 && (bFull || m_nSamples >= 2))
        m_pDisplay->Refresh(bFull);
    m_nSamples += 1;
}

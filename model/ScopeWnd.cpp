#include "ScopeWnd.h"

#include "Archive.h"

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

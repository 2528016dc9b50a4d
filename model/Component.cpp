#include "Component.h"

#include "Archive.h"
#include "PictureRules.h"
#include "ProgramState.h"
#include "ScopeWnd.h"
#include "Wire.h"

#include <QFile>
#include <QPainter>

#include <cmath>
#include <dlfcn.h>
#include <mutex>
#include <unordered_map>

namespace {

// Whole-number part of a state kept in a float, safe for any stored bits.
int TruncState(float f) {
    if (std::isnan(f))
        return 0;
    if (f > 1.0e6f)
        return 1000000;
    if (f < -1.0e6f)
        return -1000000;
    return static_cast<int>(f);
}

} // namespace

namespace {

uint32_t Le32(const uchar* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The library's pictures are small 4-bit BMPs; decoding them directly is many times
// faster than a general image reader, which matters when a large circuit is loaded.
QImage DecodePicture(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n < 54 || p[0] != 'B' || p[1] != 'M')
        return {};
    const uint32_t nOffset = Le32(p + 10);
    const uint32_t nInfo = Le32(p + 14);
    const int32_t nWidth = int32_t(Le32(p + 18));
    const int32_t nHeight = int32_t(Le32(p + 22));
    const int nBits = p[28] | p[29] << 8;
    const uint32_t nCompression = Le32(p + 30);
    uint32_t nColours = Le32(p + 46);
    if (nBits != 4 || nCompression != 0 || nInfo < 40 || nWidth <= 0 || nWidth > 1024 ||
        nHeight == 0 || nHeight > 1024 || nHeight < -1024)
        return QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    if (nColours == 0 || nColours > 16)
        nColours = 16;
    const qsizetype nPalette = 14 + qsizetype(nInfo);
    const qsizetype nRow = ((qsizetype(nWidth) * 4 + 31) / 32) * 4;
    const int nRows = nHeight < 0 ? -nHeight : nHeight;
    if (nPalette + 4 * qsizetype(nColours) > n || qsizetype(nOffset) + nRow * nRows > n)
        return {};
    QRgb palette[16] = {};
    for (uint32_t i = 0; i < nColours; ++i) {
        const uchar* e = p + nPalette + 4 * i;
        palette[i] = qRgb(e[2], e[1], e[0]);
    }
    QImage image(nWidth, nRows, QImage::Format_RGB32);
    uchar* pBits = image.bits();
    const qsizetype nStride = image.bytesPerLine();
    for (int y = 0; y < nRows; ++y) {
        const uchar* pRow = p + nOffset + nRow * (nHeight < 0 ? y : nRows - 1 - y);
        auto* pOut = reinterpret_cast<QRgb*>(pBits + nStride * y);
        int x = 0;
        for (; x + 1 < nWidth; x += 2) {
            const uchar b = *pRow++;
            pOut[x] = palette[b >> 4];
            pOut[x + 1] = palette[b & 0x0f];
        }
        if (x < nWidth)
            pOut[x] = palette[*pRow >> 4];
    }
    return image;
}

// The same picture bytes always decode to the same pixels: components that show the same
// picture share one pixel buffer (each still holds its own image, and every load still goes
// through the library), so a circuit of thousands of parts needs no more than the library's
// 261 decoded pictures.
QImage DecodeOnce(int id, const QByteArray& bytes) {
    struct SDecoded {
        QByteArray bytes;
        QImage image;
    };
    static std::mutex mutex;
    static std::unordered_map<int, SDecoded> decoded;
    const std::lock_guard lock(mutex);
    SDecoded& entry = decoded[id];
    if (entry.image.isNull() || entry.bytes != bytes) {
        entry.bytes = QByteArray(bytes.constData(), bytes.size());
        entry.image = DecodePicture(bytes);
    }
    return entry.image;
}

} // namespace

QImage LoadPicture(int id) {
    // The program folder comes first, as the platform's search does for the program's own
    // libraries; the plain name is the fallback.
    CProgramState& state = ProgramState();
    if (state.ProgramFolder().isEmpty())
        state.InitProgramFolder();
    void* pLibrary = nullptr;
    if (!state.ProgramFolder().isEmpty()) {
        const QByteArray path = QFile::encodeName(state.ProgramFile(state.m_strLibraryName));
        pLibrary = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    }
    if (!pLibrary) {
        const QByteArray name = QFile::encodeName(state.m_strLibraryName);
        pLibrary = ::dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
    }
    if (!pLibrary)
        return {};
    // The picture is decoded straight from the library's data, before the library goes.
    QImage image;
    using LoadFn = const void* (*)(int, unsigned int*);
    if (auto pfnLoad = reinterpret_cast<LoadFn>(::dlsym(pLibrary, "LoadPictureResource"))) {
        unsigned int nSize = 0;
        if (const void* pData = pfnLoad(id, &nSize); pData && nSize > 0)
            image = DecodeOnce(
                id, QByteArray::fromRawData(static_cast<const char*>(pData), qsizetype(nSize)));
    }
    ::dlclose(pLibrary);
    return image;
}

CComponent::CComponent() = default;

CComponent::CComponent(const tagSComponentInfo& info, QPoint ptPos) {
    CopyFromRecord(info);
    for (int i = 0; i < 4; ++i)
        m_fValue[i] = info.fValue[i];
    if (m_nType == 1) {
        // A new meter starts on its largest current and voltage range, the smallest ohm range.
        if (m_nSubType == 1) {
            m_fValue[0] = 2.1f;
            m_nBitmapId = 339;
        } else if (m_nSubType == 2) {
            m_fValue[0] = 2.1f;
            m_nBitmapId = 320;
        } else if (m_nSubType == 3) {
            m_fValue[0] = 0.1f;
            m_nBitmapId = 351;
        }
    }
    m_ptPos = ptPos;
    m_rect = CRect(ptPos.x(), ptPos.y(), 0, 0);
    m_hBitmap = LoadPicture(PictureId());
    UpdateSize(true);
}

CComponent::~CComponent() {
    delete m_pScope;
    for (int i = 0; i < m_nTerminals; ++i) {
        CWire* w = m_pWire[i];
        if (!w)
            continue;
        m_pWire[i] = nullptr;
        // Compare the terminal as well: a wire may join two terminals of one component.
        if (w->m_pCompA == this && w->m_nTermA == i) {
            if (w->m_pCompB && w->m_pCompB != this)
                w->m_pCompB->DetachWire(w->m_nTermB, w);
            w->m_pCompA = nullptr;
        } else if (w->m_pCompB == this && w->m_nTermB == i) {
            if (w->m_pCompA && w->m_pCompA != this)
                w->m_pCompA->DetachWire(w->m_nTermA, w);
            w->m_pCompB = nullptr;
        }
    }
}

void CComponent::DetachWire(int nTerminal, const CWire* pWire) {
    if (nTerminal >= 0 && nTerminal < kMaxTerminals && m_pWire[nTerminal] == pWire)
        m_pWire[nTerminal] = nullptr;
}

void CComponent::CopyFromRecord(const tagSComponentInfo& info) {
    m_nType = info.nType;
    m_nSubType = info.nSubType;
    m_nOrientations = info.nOrientations;
    m_nBitmapId = info.nBitmapId;
    m_nTerminals = info.nTerminals;
    for (int k = 0; k < KEST_MAX_ORIENTATIONS; ++k)
        for (int i = 0; i < kMaxTerminals; ++i)
            m_ptTerminal[k][i] = QPoint(info.ptTerminal[k][i].x, info.ptTerminal[k][i].y);
}

void CComponent::CreateScope() {
    if (m_pScope)
        return;
    const int nNumber = ProgramState().TakeScopeNumber();
    m_fValue[1] = float(nNumber) + 0.1f;
    m_pScope = new CScopeWnd;
    m_pScope->m_nRange1 = 2;
    m_pScope->m_nRange2 = 2;
    m_pScope->SetDisplayNumber(nNumber);
    m_pScope->Create();
}

void CComponent::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(m_nType);
        ar.WriteInt32(m_nSubType);
        ar.WriteInt32(m_nOrientation);
        ar.WriteInt32(m_ptPos.x());
        ar.WriteInt32(m_ptPos.y());
        for (float f : m_fValue)
            ar.WriteFloat(f);
        if (m_nType == 1 && m_nSubType == 5) {
            if (m_pScope) {
                m_pScope->SerializeBlock(ar);
            } else {
                CScopeWnd scope;
                scope.SerializeBlock(ar);
            }
        }
        return;
    }

    m_nType = ar.ReadInt32();
    m_nSubType = ar.ReadInt32();
    m_nOrientation = ar.ReadInt32();
    const int x = ar.ReadInt32();
    const int y = ar.ReadInt32();
    m_ptPos = QPoint(x, y);
    for (float& f : m_fValue)
        f = ar.ReadFloat();
    if (m_nType == 1 && m_nSubType == 5) {
        delete m_pScope;
        m_pScope = new CScopeWnd;
        m_pScope->SerializeBlock(ar);
    }
    if (ar.Failed())
        return;

    if (m_nType == 4)
        m_fValue[0] = 0.0f; // every switch comes back open, every plug apart
    if (m_nType == 1) {
        m_fValue[2] = kNoValue;
        m_fValue[3] = kNoValue;
    }
    if (m_pScope) {
        const int nNumber = ProgramState().TakeScopeNumber();
        m_fValue[1] = float(nNumber) + 0.1f;
        m_pScope->SetDisplayNumber(nNumber);
    }
    InitFromCatalogue();
}

void CComponent::InitFromCatalogue() {
    const tagSComponentInfo* pInfo = FindInfo(m_nType, m_nSubType);
    if (!pInfo) {
        m_nType = 0;
        m_nTerminals = 0;
        m_nOrientations = 0;
        m_nOrientation = 0;
        m_hBitmap = QImage();
        m_size = QSize();
        m_rect = CRect(m_ptPos.x(), m_ptPos.y(), 0, 0);
        delete m_pScope;
        m_pScope = nullptr;
        return;
    }
    CopyFromRecord(*pInfo);
    // A stored orientation the kind does not have would index past the terminal table.
    if (m_nOrientation < 0 || m_nOrientation >= m_nOrientations)
        m_nOrientation = 0;
    if (m_nType == 1 && m_nSubType <= 3)
        m_nBitmapId = PictureBlock();
    m_size = QSize(0, 0);
    m_rect = CRect(m_ptPos.x(), m_ptPos.y(), 0, 0);
    m_bSelected = 0;
    if (IsOscilloscope()) {
        if (m_pScope)
            m_pScope->OpenFromBlock();
    } else {
        delete m_pScope;
        m_pScope = nullptr;
    }
    m_bShowValue = 1;
    m_hBitmap = LoadPicture(PictureId());
    UpdateSize(true);
}

int CComponent::PictureBlock() const {
    const int r = TruncState(m_fValue[0]);
    const int s2 = TruncState(m_fValue[2]);
    const bool bUsesRange = m_nType == 1 || m_nType == 4;
    return PictureBlockForState(m_nType, m_nSubType, m_nBitmapId, bUsesRange ? r : s2);
}

CComponent* CComponent::HitTest(QPoint pt, int* pnTerminal) {
    if (pnTerminal)
        *pnTerminal = -1;
    if (!m_rect.Contains(pt))
        return nullptr;
    for (int i = 0; i < m_nTerminals; ++i) {
        const int tx = GetTerminalX(i);
        const int ty = GetTerminalY(i);
        CRect zone;
        if (tx == m_rect.left)
            zone = CRect(tx, ty - 4, tx + 8, ty + 4);
        else if (ty == m_rect.top)
            zone = CRect(tx - 4, ty, tx + 4, ty + 8);
        else if (m_rect.right - tx == 1)
            zone = CRect(tx - 8, ty - 4, tx, ty + 4);
        else if (m_rect.bottom - ty == 1)
            zone = CRect(tx - 4, ty - 8, tx + 4, ty);
        else
            continue;
        if (zone.Contains(pt)) {
            if (pnTerminal)
                *pnTerminal = i;
            break;
        }
    }
    return this;
}

void CComponent::ReattachWires() {
    for (int i = 0; i < m_nTerminals; ++i) {
        CWire* w = m_pWire[i];
        if (!w)
            continue;
        if (w->m_pCompA == this && w->m_nTermA == i)
            w->ReattachFirstEnd();
        else if (w->m_pCompB == this && w->m_nTermB == i)
            w->ReattachSecondEnd();
    }
}

void CComponent::MoveBy(int dx, int dy) {
    m_ptPos += QPoint(dx, dy);
    m_rect = CRect(m_ptPos.x(), m_ptPos.y(), m_ptPos.x() + m_size.width(),
                   m_ptPos.y() + m_size.height());
    ReattachWires();
}

bool CComponent::ReloadPicture() {
    if (IsInert())
        return false;
    m_nBitmapId = PictureBlock();
    QImage image = LoadPicture(PictureId());
    if (image.isNull()) {
        ProgramState().ShowMessage(QStringLiteral("Can't read in bitmap file"));
        return false;
    }
    m_hBitmap = std::move(image);
    UpdateSize(false);
    return true;
}

void CComponent::UpdateSize(bool bKeep) {
    if (m_hBitmap.isNull())
        return;
    const int cx = m_hBitmap.width();
    const int cy = m_hBitmap.height();
    // A component that had no picture has no size to keep its centre in.
    if (!bKeep && !m_size.isEmpty()) {
        m_ptPos.rx() += (m_rect.Width() - cx) / 2;
        m_ptPos.ry() += (m_rect.Height() - cy) / 2;
    }
    m_size = QSize(cx, cy);
    m_rect = CRect(m_ptPos.x(), m_ptPos.y(), m_ptPos.x() + cx, m_ptPos.y() + cy);
}

void CComponent::Rotate(bool /*bForward*/) {
    if (m_nOrientations < 2)
        return;
    for (;;) {
        m_nOrientation = (m_nOrientation + 1) % m_nOrientations;
        if (ReloadPicture() || m_nOrientation == 0)
            break;
    }
    ReattachWires();
}

void CComponent::Draw(QPainter& painter) const {
    if (m_hBitmap.isNull())
        return;
    painter.drawImage(m_ptPos, m_hBitmap, QRect(QPoint(0, 0), m_size));
}

void CComponent::DrawSelection(QPainter& painter) const {
    if (!m_bSelected)
        return;
    painter.save();
    painter.setPen(ProgramState().DrawTools().m_penOutline);
    painter.setBrush(Qt::NoBrush);
    const QPoint pts[5] = {{m_rect.left - 1, m_rect.top - 1},
                           {m_rect.left - 1, m_rect.bottom},
                           {m_rect.right, m_rect.bottom},
                           {m_rect.right, m_rect.top - 1},
                           {m_rect.left - 1, m_rect.top - 1}};
    painter.drawPolyline(pts, 5);
    painter.restore();
}

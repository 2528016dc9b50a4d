#include "VonnDoc.h"

#include "Archive.h"
#include "Component.h"
#include "ComponentList.h"
#include "Text.h"
#include "TextList.h"
#include "Wire.h"
#include "WireList.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>
#include <vector>

namespace {
// Far beyond any real circuit; keeps a stray huge file from being read into memory.
constexpr qint64 kMaxFileSize = 256 * 1024 * 1024;
} // namespace

CVonnDoc::CVonnDoc(QObject* pParent)
    : QObject(pParent), m_pWires(std::make_unique<CWireList>()),
      m_pComponents(std::make_unique<CComponentList>()), m_pTexts(std::make_unique<CTextList>()) {}

CVonnDoc::~CVonnDoc() {
    if (m_bRunning && s_pfnStopRunning)
        s_pfnStopRunning(this);
    // Texts, then wires (which detach from their components), then the components.
    m_pTexts.reset();
    m_pWires.reset();
    m_pComponents.reset();
}

void CVonnDoc::DeleteContents() {
    m_pTexts->DeleteAll();
    m_pWires->DeleteAll();
    m_pComponents->DeleteAll();
}

void CVonnDoc::SetModifiedFlag(bool bModified) {
    if (m_bModified == bModified)
        return;
    m_bModified = bModified;
    emit ModifiedChanged(bModified);
}

void CVonnDoc::SetPathName(const QString& strPath) {
    m_strPathName = strPath;
    SetTitle(QFileInfo(strPath).fileName());
}

void CVonnDoc::SetTitle(const QString& strTitle) {
    m_strTitle = strTitle;
    emit TitleChanged(strTitle);
}

void CVonnDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(256);
        ar.WriteInt32(m_nBenchWidth);
        ar.WriteInt32(m_nBenchHeight);
        m_pWires->Serialize(ar);
        m_pComponents->Serialize(ar);
        m_pTexts->Serialize(ar);
        WriteConnections(ar);
        return;
    }
    ar.ReadInt32();
    const int nWidth = ar.ReadInt32();
    const int nHeight = ar.ReadInt32();
    if (ar.Failed())
        return;
    m_nBenchWidth = nWidth;
    m_nBenchHeight = nHeight;
    m_pWires->Serialize(ar);
    if (ar.Failed())
        return;
    m_pComponents->Serialize(ar);
    if (ar.Failed())
        return;
    m_pTexts->Serialize(ar);
    if (ar.Failed())
        return;
    ReadConnections(ar);
}

void CVonnDoc::WriteConnections(CArchive& ar) {
    int n = 0;
    for (CComponent* pComp : *m_pComponents)
        pComp->m_nIndex = n++;
    n = 0;
    for (CWire* pWire : *m_pWires)
        pWire->m_nIndex = n++;
    int32_t nCount = 0;
    for (const CComponent* pComp : *m_pComponents)
        for (int i = 0; i < pComp->m_nTerminals; ++i)
            if (pComp->m_pWire[i])
                ++nCount;
    ar.WriteInt32(nCount);
    for (const CComponent* pComp : *m_pComponents) {
        for (int i = 0; i < pComp->m_nTerminals; ++i) {
            const CWire* pWire = pComp->m_pWire[i];
            if (!pWire)
                continue;
            ar.WriteInt32(pComp->m_nIndex);
            ar.WriteInt32(i);
            // The terminal decides too: a wire may join two terminals of one component.
            ar.WriteInt32(pWire->m_pCompA == pComp && pWire->m_nTermA == i ? 1 : 0);
            ar.WriteInt32(pWire->m_nIndex);
        }
    }
}

void CVonnDoc::ReadConnections(CArchive& ar) {
    std::vector<CComponent*> comps;
    comps.reserve(size_t(m_pComponents->GetCount()));
    for (CComponent* pComp : *m_pComponents) {
        pComp->m_nIndex = int(comps.size());
        comps.push_back(pComp);
    }
    std::vector<CWire*> wires;
    wires.reserve(size_t(m_pWires->GetCount()));
    for (CWire* pWire : *m_pWires) {
        pWire->m_nIndex = int(wires.size());
        wires.push_back(pWire);
    }
    const int32_t nCount = ar.ReadInt32();
    if (!ar.CheckCount(nCount, 16))
        return;
    for (int32_t n = 0; n < nCount; ++n) {
        const int32_t k = ar.ReadInt32();
        const int32_t t = ar.ReadInt32();
        const int32_t f = ar.ReadInt32();
        const int32_t j = ar.ReadInt32();
        if (k < 0 || size_t(k) >= comps.size() || j < 0 || size_t(j) >= wires.size())
            continue;
        CComponent* pComp = comps[size_t(k)];
        CWire* pWire = wires[size_t(j)];
        // A terminal the component does not have is never stored.
        if (t < 0 || t >= pComp->m_nTerminals)
            continue;
        // Records that would give a terminal two wires or a wire end two terminals are
        // skipped: they would leave pointers that outlive what they point at.
        if (pComp->m_pWire[t] && pComp->m_pWire[t] != pWire)
            continue;
        CComponent*& pEnd = f ? pWire->m_pCompA : pWire->m_pCompB;
        int& nEndTerm = f ? pWire->m_nTermA : pWire->m_nTermB;
        if (pEnd && (pEnd != pComp || nEndTerm != t))
            continue;
        if (!pEnd && pComp->m_pWire[t] == pWire)
            continue; // already this wire's other end
        pComp->m_pWire[t] = pWire;
        pEnd = pComp;
        nEndTerm = t;
    }
}

QByteArray CVonnDoc::SaveToBytes() {
    QByteArray bytes;
    CArchive ar(&bytes, CArchive::Store);
    Serialize(ar);
    return bytes;
}

bool CVonnDoc::LoadFromBytes(const QByteArray& bytes, QString* pstrError) {
    CVonnDoc scratch;
    QByteArray copy = bytes;
    CArchive ar(&copy, CArchive::Load);
    scratch.Serialize(ar);
    if (ar.Failed()) {
        if (pstrError)
            *pstrError = QString::fromLatin1(kUnexpectedFormat);
        return false;
    }
    std::swap(m_pWires, scratch.m_pWires);
    std::swap(m_pComponents, scratch.m_pComponents);
    std::swap(m_pTexts, scratch.m_pTexts);
    m_nBenchWidth = scratch.m_nBenchWidth;
    m_nBenchHeight = scratch.m_nBenchHeight;
    return true;
}

bool CVonnDoc::OnNewDocument() {
    DeleteContents();
    m_nBenchWidth = kDefaultBenchSize;
    m_nBenchHeight = kDefaultBenchSize;
    m_strPathName.clear();
    SetModifiedFlag(false);
    emit ContentsChanged();
    return true;
}

bool CVonnDoc::OnOpenDocument(const QString& strPath, QString* pstrError) {
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (pstrError)
            *pstrError = QString::fromLatin1(kFailedToOpen);
        return false;
    }
    if (file.size() > kMaxFileSize) {
        if (pstrError)
            *pstrError = QString::fromLatin1(kUnexpectedFormat);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (pstrError)
            *pstrError = QString::fromLatin1(kFailedToOpen);
        return false;
    }
    if (!LoadFromBytes(bytes, pstrError))
        return false;
    SetPathName(strPath);
    SetModifiedFlag(false);
    emit ContentsChanged();
    return true;
}

bool CVonnDoc::OnSaveDocument(const QString& strPath, QString* pstrError) {
    const QByteArray bytes = SaveToBytes();
    QSaveFile file(strPath);
    bool bOk = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
               file.flush() && ::fsync(file.handle()) == 0;
    if (bOk)
        bOk = file.commit();
    else
        file.cancelWriting();
    if (!bOk) {
        if (pstrError)
            *pstrError = QString::fromLatin1(kFailedToSave);
        return false;
    }
    SetPathName(strPath);
    SetModifiedFlag(false);
    return true;
}

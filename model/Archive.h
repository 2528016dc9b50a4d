#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The byte stream circuits are written to and read from: files, the undo snapshot and the
// clipboard. Little-endian 32-bit words, written field by field. Reading past the end does
// not throw: it yields zeros and marks the archive as failed, which callers check.
class CArchive {
public:
    enum EMode { Store, Load };

    // Storing appends to *pBuffer; loading reads it from the start.
    CArchive(QByteArray* pBuffer, EMode eMode);

    bool IsStoring() const { return m_eMode == Store; }
    bool IsLoading() const { return m_eMode == Load; }

    void WriteInt32(int32_t n);
    void WriteFloat(float f);
    void WriteByte(uint8_t b);
    void WriteBytes(const char* p, qsizetype n);
    // Counted string: one length byte below 255, else 255 and a 16-bit length below 65534,
    // else 255, 0xFFFF and a 32-bit length. One byte per character.
    void WriteString(const QString& str);

    int32_t ReadInt32();
    float ReadFloat();
    uint8_t ReadByte();
    QByteArray ReadBytes(qsizetype n);
    QString ReadString();

    // True after any read that ran past the end of the data.
    bool Failed() const { return m_bFailed; }
    void SetFailed() { m_bFailed = true; }
    qsizetype Remaining() const { return m_pBuffer->size() - m_nPos; }
    // A count announced by the data: valid when count * nMinBytes fits in what is left.
    bool CheckCount(int32_t nCount, qsizetype nMinBytes);

private:
    bool Take(qsizetype n);

    QByteArray* m_pBuffer;
    EMode m_eMode;
    qsizetype m_nPos = 0;
    bool m_bFailed = false;
};

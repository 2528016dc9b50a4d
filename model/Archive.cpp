#include "Archive.h"

#include <cstring>

CArchive::CArchive(QByteArray* pBuffer, EMode eMode) : m_pBuffer(pBuffer), m_eMode(eMode) {}

void CArchive::WriteInt32(int32_t n) {
    const uint32_t u = static_cast<uint32_t>(n);
    const char bytes[4] = {char(u & 0xff), char((u >> 8) & 0xff), char((u >> 16) & 0xff),
                           char((u >> 24) & 0xff)};
    m_pBuffer->append(bytes, 4);
}

void CArchive::WriteFloat(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    WriteInt32(static_cast<int32_t>(u));
}

void CArchive::WriteByte(uint8_t b) {
    m_pBuffer->append(char(b));
}

void CArchive::WriteBytes(const char* p, qsizetype n) {
    m_pBuffer->append(p, n);
}

void CArchive::WriteString(const QString& str) {
    const QByteArray bytes = str.toLatin1();
    const qsizetype n = bytes.size();
    if (n < 255) {
        WriteByte(uint8_t(n));
    } else if (n < 65534) {
        WriteByte(255);
        WriteByte(uint8_t(n & 0xff));
        WriteByte(uint8_t(n >> 8));
    } else {
        WriteByte(255);
        WriteByte(0xff);
        WriteByte(0xff);
        WriteInt32(int32_t(n));
    }
    WriteBytes(bytes.constData(), n);
}

bool CArchive::Take(qsizetype n) {
    if (m_bFailed || n < 0 || n > Remaining()) {
        m_bFailed = true;
        return false;
    }
    return true;
}

int32_t CArchive::ReadInt32() {
    if (!Take(4))
        return 0;
    const auto* p = reinterpret_cast<const uint8_t*>(m_pBuffer->constData() + m_nPos);
    m_nPos += 4;
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}

float CArchive::ReadFloat() {
    const uint32_t u = static_cast<uint32_t>(ReadInt32());
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

uint8_t CArchive::ReadByte() {
    if (!Take(1))
        return 0;
    return static_cast<uint8_t>(m_pBuffer->at(m_nPos++));
}

QByteArray CArchive::ReadBytes(qsizetype n) {
    if (!Take(n))
        return {};
    QByteArray out = m_pBuffer->mid(m_nPos, n);
    m_nPos += n;
    return out;
}

QString CArchive::ReadString() {
    qint64 n = ReadByte();
    if (n == 255) {
        const uint32_t n16 = uint32_t(ReadByte()) | uint32_t(ReadByte()) << 8;
        n = n16;
        if (n16 == 0xffff)
            n = static_cast<uint32_t>(ReadInt32());
    }
    if (m_bFailed || n > Remaining()) {
        m_bFailed = true;
        return {};
    }
    return QString::fromLatin1(ReadBytes(qsizetype(n)));
}

bool CArchive::CheckCount(int32_t nCount, qsizetype nMinBytes) {
    if (nCount < 0 || qint64(nCount) * nMinBytes > Remaining()) {
        m_bFailed = true;
        return false;
    }
    return true;
}

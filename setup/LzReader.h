#pragma once

#include <QString>
#include <cstdint>
#include <vector>

struct msszdd_decompressor;

// Reads a file expanded: an SZDD-compressed file gives its expanded content, any other file
// passes through unchanged.
class CLzReader {
public:
    CLzReader() = default;
    ~CLzReader();
    CLzReader(const CLzReader&) = delete;
    CLzReader& operator=(const CLzReader&) = delete;

    bool Open(const QString& strPath);
    // Takes ownership of fd.
    bool OpenFd(int fd);
    // Up to nBytes expanded bytes; 0 at the end, -1 when the source cannot be read or expanded.
    int Read(char* pBuffer, int nBytes);
    void Close();

    bool IsCompressed() const { return m_bCompressed; }

private:
    bool Expand();

    int m_nFd = -1;
    bool m_bCompressed = false;
    bool m_bExpanded = false;
    bool m_bFailed = false;
    int64_t m_nExpectedLength = 0;
    std::vector<unsigned char> m_aExpanded;
    size_t m_nReadPos = 0;
};

#include "LzReader.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mspack.h>
#include <unistd.h>

namespace {

const unsigned char kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xf0, 0x27, 0x33};
// libmspack only ever opens these two names through our system: the source and the output.
const char kInputName[] = "<input>";
const char kOutputName[] = "<output>";

// One mspack_file: either the source descriptor or the memory that collects the output.
struct SLzFile {
    int m_nFd = -1;
    std::vector<unsigned char>* m_pOut = nullptr;
    int64_t m_nLimit = 0;
};

struct SLzSystem {
    mspack_system m_sys;
    int m_nFd;
    std::vector<unsigned char>* m_pOut;
    int64_t m_nLimit;
};

mspack_file* SysOpen(mspack_system* self, const char* filename, int mode) {
    auto* sys = reinterpret_cast<SLzSystem*>(self);
    auto* file = new SLzFile;
    if (mode == MSPACK_SYS_OPEN_READ && std::strcmp(filename, kInputName) == 0) {
        file->m_nFd = sys->m_nFd;
        ::lseek(file->m_nFd, 0, SEEK_SET);
    } else if (mode == MSPACK_SYS_OPEN_WRITE && std::strcmp(filename, kOutputName) == 0) {
        file->m_pOut = sys->m_pOut;
        file->m_nLimit = sys->m_nLimit;
    } else {
        delete file;
        return nullptr;
    }
    return reinterpret_cast<mspack_file*>(file);
}

void SysClose(mspack_file* file) {
    delete reinterpret_cast<SLzFile*>(file);
}

int SysRead(mspack_file* file, void* buffer, int bytes) {
    auto* f = reinterpret_cast<SLzFile*>(file);
    if (f->m_nFd < 0 || bytes < 0)
        return -1;
    int done = 0;
    while (done < bytes) {
        const ssize_t n = ::read(f->m_nFd, static_cast<char*>(buffer) + done, bytes - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<int>(n);
    }
    return done;
}

int SysWrite(mspack_file* file, void* buffer, int bytes) {
    auto* f = reinterpret_cast<SLzFile*>(file);
    if (!f->m_pOut || bytes < 0)
        return -1;
    // More output than the header announced means corrupt data: stop before it grows further.
    if (static_cast<int64_t>(f->m_pOut->size()) + bytes > f->m_nLimit)
        return -1;
    const auto* p = static_cast<const unsigned char*>(buffer);
    f->m_pOut->insert(f->m_pOut->end(), p, p + bytes);
    return bytes;
}

int SysSeek(mspack_file* file, off_t offset, int mode) {
    auto* f = reinterpret_cast<SLzFile*>(file);
    if (f->m_nFd < 0)
        return -1;
    const int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET
                       : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR
                                                     : SEEK_END;
    return ::lseek(f->m_nFd, offset, whence) < 0 ? -1 : 0;
}

off_t SysTell(mspack_file* file) {
    auto* f = reinterpret_cast<SLzFile*>(file);
    if (f->m_nFd < 0)
        return static_cast<off_t>(f->m_pOut ? f->m_pOut->size() : 0);
    return ::lseek(f->m_nFd, 0, SEEK_CUR);
}

void SysMessage(mspack_file*, const char*, ...) {}

void* SysAlloc(mspack_system*, size_t bytes) {
    return std::malloc(bytes);
}

void SysFree(void* ptr) {
    std::free(ptr);
}

void SysCopy(void* src, void* dest, size_t bytes) {
    std::memmove(dest, src, bytes);
}

SLzSystem MakeSystem(int fd, std::vector<unsigned char>* pOut, int64_t nLimit) {
    SLzSystem sys{};
    sys.m_sys.open = SysOpen;
    sys.m_sys.close = SysClose;
    sys.m_sys.read = SysRead;
    sys.m_sys.write = SysWrite;
    sys.m_sys.seek = SysSeek;
    sys.m_sys.tell = SysTell;
    sys.m_sys.message = SysMessage;
    sys.m_sys.alloc = SysAlloc;
    sys.m_sys.free = SysFree;
    sys.m_sys.copy = SysCopy;
    sys.m_sys.null_ptr = nullptr;
    sys.m_nFd = fd;
    sys.m_pOut = pOut;
    sys.m_nLimit = nLimit;
    return sys;
}

} // namespace

CLzReader::~CLzReader() {
    Close();
}

bool CLzReader::Open(const QString& strPath) {
    Close();
    const int fd = ::open(QFile::encodeName(strPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    return OpenFd(fd);
}

bool CLzReader::OpenFd(int fd) {
    Close();
    m_nFd = fd;
    unsigned char head[8] = {};
    ssize_t got = 0;
    while (got < 8) {
        const ssize_t n = ::read(m_nFd, head + got, 8 - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    if (got < 0 || ::lseek(m_nFd, 0, SEEK_SET) != 0) {
        Close();
        return false;
    }
    m_bCompressed = got == 8 && std::memcmp(head, kSignature, 8) == 0;
    if (!m_bCompressed)
        return true;

    // Read the header now, so that a damaged one fails the open as the source would.
    SLzSystem sys = MakeSystem(m_nFd, nullptr, 0);
    msszdd_decompressor* d = mspack_create_szdd_decompressor(&sys.m_sys);
    if (!d) {
        Close();
        return false;
    }
    msszddd_header* hdr = d->open(d, const_cast<char*>(kInputName));
    const bool bOk = hdr && hdr->length >= 0 && hdr->length <= INT32_MAX;
    if (hdr) {
        m_nExpectedLength = hdr->length;
        d->close(d, hdr);
    }
    mspack_destroy_szdd_decompressor(d);
    if (!bOk) {
        Close();
        return false;
    }
    return true;
}

bool CLzReader::Expand() {
    m_bExpanded = true;
    SLzSystem sys = MakeSystem(m_nFd, &m_aExpanded, m_nExpectedLength);
    msszdd_decompressor* d = mspack_create_szdd_decompressor(&sys.m_sys);
    if (!d)
        return false;
    bool bOk = false;
    msszddd_header* hdr = d->open(d, const_cast<char*>(kInputName));
    if (hdr) {
        // Never trust the header for a reservation larger than the data can plausibly expand to.
        const off_t nFileSize = ::lseek(m_nFd, 0, SEEK_END);
        const int64_t nReserve = std::min<int64_t>(hdr->length, int64_t(nFileSize) * 9 + 64);
        m_aExpanded.reserve(static_cast<size_t>(std::max<int64_t>(nReserve, 0)));
        const int err = d->extract(d, hdr, const_cast<char*>(kOutputName));
        // libmspack accepts a truncated file; the length in the header tells.
        bOk = err == MSPACK_ERR_OK && static_cast<int64_t>(m_aExpanded.size()) == hdr->length;
        d->close(d, hdr);
    }
    mspack_destroy_szdd_decompressor(d);
    return bOk;
}

int CLzReader::Read(char* pBuffer, int nBytes) {
    if (m_nFd < 0 || m_bFailed || nBytes < 0)
        return -1;
    if (!m_bCompressed) {
        int done = 0;
        while (done < nBytes) {
            const ssize_t n = ::read(m_nFd, pBuffer + done, nBytes - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                m_bFailed = true;
                return -1;
            }
            if (n == 0)
                break;
            done += static_cast<int>(n);
        }
        return done;
    }
    if (!m_bExpanded && !Expand()) {
        m_bFailed = true;
        m_aExpanded.clear();
        return -1;
    }
    const size_t nLeft = m_aExpanded.size() - m_nReadPos;
    const size_t n = std::min(nLeft, static_cast<size_t>(nBytes));
    if (n > 0)
        std::memcpy(pBuffer, m_aExpanded.data() + m_nReadPos, n);
    m_nReadPos += n;
    return static_cast<int>(n);
}

void CLzReader::Close() {
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
    m_bCompressed = false;
    m_bExpanded = false;
    m_bFailed = false;
    m_nExpectedLength = 0;
    m_aExpanded.clear();
    m_aExpanded.shrink_to_fit();
    m_nReadPos = 0;
}

#include "FuzzBodies.h"

#include "LzReader.h"
#include "SetupPaths.h"
#include "SetupScript.h"

#include <QDir>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

int FuzzSetupScript(const uint8_t* pData, size_t nSize) {
    CSetupScript script;
    if (!script.Parse(
            QByteArray(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize))))
        return 0;
    if (script.m_nDisks <= 0 || script.m_aTargetNames.size() != size_t(script.m_nDisks))
        std::abort();
    // Every target name the copy would accept must land below the destination.
    const QString dest = QStringLiteral("/dest/dir");
    for (const QStringList& targets : script.m_aTargetNames) {
        for (const QString& name : targets) {
            if (!SetupPaths::IsSafeTargetName(name))
                continue;
            const QString path =
                QDir::cleanPath(dest + QLatin1Char('/') + SetupPaths::ToPosix(name));
            if (!path.startsWith(dest + QLatin1Char('/')))
                std::abort();
        }
    }
    return 0;
}

int FuzzLzExpand(const uint8_t* pData, size_t nSize) {
    const int fd = ::memfd_create("fuzz", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    size_t nDone = 0;
    while (nDone < nSize) {
        const ssize_t n = ::write(fd, pData + nDone, nSize - nDone);
        if (n <= 0) {
            ::close(fd);
            return 0;
        }
        nDone += static_cast<size_t>(n);
    }
    CLzReader reader;
    if (!reader.OpenFd(fd))
        return 0;
    std::vector<char> buffer(4096);
    long long nTotal = 0;
    for (;;) {
        const int n = reader.Read(buffer.data(), static_cast<int>(buffer.size()));
        if (n < 0)
            break;
        nTotal += n;
        if (!reader.IsCompressed() && nTotal > static_cast<long long>(nSize))
            std::abort();
        if (n < static_cast<int>(buffer.size()))
            break;
    }
    return 0;
}

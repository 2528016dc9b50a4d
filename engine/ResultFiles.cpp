#include "ResultFiles.h"

#include "EngineProtocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

void AppendFormatted(std::string& strOut, const char* pszFormat, auto... args) {
    char szBuffer[512];
    int n = std::snprintf(szBuffer, sizeof szBuffer, pszFormat, args...);
    if (n > 0)
        strOut.append(szBuffer,
                      std::min<std::size_t>(static_cast<std::size_t>(n), sizeof szBuffer - 1));
}

} // namespace

CResultFiles::CResultFiles(const std::string& strRunFolder) {
    m_voltageFile.strPath = strRunFolder + "/" + CEngineProtocol::kVoltageFile;
    m_currentFile.strPath = strRunFolder + "/" + CEngineProtocol::kCurrentFile;
}

CResultFiles::~CResultFiles() {
    for (SFile* pFile : {&m_voltageFile, &m_currentFile}) {
        if (pFile->fd >= 0)
            close(pFile->fd);
    }
}

bool CResultFiles::Write(const SVectorLayout& layout, const std::vector<double>& values,
                         std::string& strError) {
    FormatVoltages(layout, values, m_strVoltages);
    FormatCurrents(layout, values, m_strCurrents);
    return WriteFile(m_voltageFile, m_strVoltages, strError) &&
           WriteFile(m_currentFile, m_strCurrents, strError);
}

void CResultFiles::FormatVoltages(const SVectorLayout& layout, const std::vector<double>& values,
                                  std::string& strOut) {
    strOut.clear();
    AppendFormatted(strOut, "time = %e\n", values[static_cast<std::size_t>(layout.nTimeIndex)]);
    for (const auto& [nNode, nIndex] : layout.nodes)
        AppendFormatted(strOut, "%d,%e\n", nNode, values[static_cast<std::size_t>(nIndex)]);
}

void CResultFiles::FormatCurrents(const SVectorLayout& layout, const std::vector<double>& values,
                                  std::string& strOut) {
    strOut.clear();
    for (const auto& [strName, nIndex] : layout.branches) {
        // A name is one word; one that is not (never from ngspice) would break the pairs.
        if (strName.find_first_of(" \t\r\n") != std::string::npos || strName.size() > 200)
            continue;
        strOut += strName;
        AppendFormatted(strOut, "\n%e\n", values[static_cast<std::size_t>(nIndex)]);
    }
}

bool CResultFiles::WriteFile(SFile& file, const std::string& strText, std::string& strError) {
    if (file.fd < 0) {
        file.fd = open(file.strPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (file.fd < 0) {
            strError = "cannot write " + file.strPath + ": " + std::strerror(errno);
            return false;
        }
    }
    const char* p = strText.data();
    std::size_t nDone = 0;
    while (nDone < strText.size()) {
        ssize_t n = pwrite(file.fd, p + nDone, strText.size() - nDone, static_cast<off_t>(nDone));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            strError = "cannot write " + file.strPath + ": " + std::strerror(errno);
            return false;
        }
        nDone += static_cast<std::size_t>(n);
    }
    const auto nSize = static_cast<long long>(strText.size());
    if (file.nSize < 0 || nSize < file.nSize) {
        if (ftruncate(file.fd, static_cast<off_t>(nSize)) != 0) {
            strError = "cannot write " + file.strPath + ": " + std::strerror(errno);
            return false;
        }
    }
    file.nSize = nSize;
    return true;
}

#include "NetlistInput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One result per step of the .tran line (interp), and no vectors kept in memory for the
// whole run: the data callback sees every value anyway.
const char* const kControlLines[] = {".options interp", ".save none"};

bool IsEndLine(const std::string& strLine) {
    std::size_t nBegin = strLine.find_first_not_of(" \t");
    if (nBegin == std::string::npos)
        return false;
    std::size_t nEnd = strLine.find_last_not_of(" \t");
    if (nEnd + 1 - nBegin != 4)
        return false;
    return strncasecmp(strLine.c_str() + nBegin, ".end", 4) == 0;
}

bool IsBlank(const std::string& strLine) {
    return strLine.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

bool CNetlistInput::ReadFile(const std::string& strPath, std::string& strError) {
    int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        strError = "cannot open " + strPath + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        strError = strPath + " is not a regular file";
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > kMaxFileSize) {
        close(fd);
        strError = strPath + " is larger than " + std::to_string(kMaxFileSize) + " bytes";
        return false;
    }
    std::string strText;
    strText.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            strError = "cannot read " + strPath + ": " + std::strerror(errno);
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        if (strText.size() + static_cast<std::size_t>(n) > kMaxFileSize) {
            close(fd);
            strError = strPath + " is larger than " + std::to_string(kMaxFileSize) + " bytes";
            return false;
        }
        strText.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return SetText(strText, strError);
}

bool CNetlistInput::SetText(const std::string& strText, std::string& strError) {
    m_lines.clear();
    if (strText.find('\0') != std::string::npos) {
        strError = "the netlist holds a NUL byte";
        return false;
    }
    std::string strLine;
    for (char c : strText) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (!m_lines.empty() || !IsBlank(strLine))
                m_lines.push_back(std::move(strLine));
            strLine.clear();
            continue;
        }
        strLine += c;
    }
    if (!m_lines.empty() || !IsBlank(strLine))
        m_lines.push_back(std::move(strLine));
    if (m_lines.empty()) {
        strError = "the netlist is empty";
        return false;
    }

    // The first line is the title; ".end" there would be a title, not the end.
    std::size_t nEnd = m_lines.size();
    for (std::size_t i = m_lines.size(); i-- > 1;) {
        if (IsEndLine(m_lines[i])) {
            nEnd = i;
            break;
        }
    }
    const bool bHasEnd = nEnd < m_lines.size();
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nEnd), std::begin(kControlLines),
                   std::end(kControlLines));
    if (!bHasEnd)
        m_lines.emplace_back(".end");
    return true;
}

#include "NetlistInput.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// No vectors kept in memory for the whole run (gigabytes over 600 s): the data callback
// sees every value anyway.
const char* const kControlLines[] = {".save none"};

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
    ReadTranLine();
    return true;
}

void CNetlistInput::ReadTranLine() {
    m_fStep = 0.0;
    m_fStart = 0.0;
    for (std::size_t i = 1; i < m_lines.size(); ++i) {
        std::istringstream words(m_lines[i]);
        std::string strWord;
        words >> strWord;
        if (strcasecmp(strWord.c_str(), ".tran") != 0)
            continue;
        // .tran tstep tstop [tstart [tmax]]
        std::vector<std::string> fields;
        while (words >> strWord)
            fields.push_back(strWord);
        double fStep = 0.0;
        double fStart = 0.0;
        if (fields.empty() || !ParseSpiceNumber(fields[0], fStep) || !(fStep > 0.0))
            return;
        if (fields.size() >= 3 && !ParseSpiceNumber(fields[2], fStart))
            fStart = 0.0;
        m_fStep = fStep;
        m_fStart = fStart > 0.0 ? fStart : 0.0;
        return;
    }
}

bool CNetlistInput::ParseSpiceNumber(const std::string& strText, double& fValue) {
    const char* psz = strText.c_str();
    char* pEnd = nullptr;
    const double f = std::strtod(psz, &pEnd);
    if (pEnd == psz || !std::isfinite(f))
        return false;
    std::string strSuffix;
    for (const char* p = pEnd; *p != '\0'; ++p)
        strSuffix += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    double fScale = 1.0;
    if (strSuffix.rfind("meg", 0) == 0)
        fScale = 1e6;
    else if (strSuffix.rfind("mil", 0) == 0)
        fScale = 25.4e-6;
    else if (!strSuffix.empty()) {
        switch (strSuffix[0]) {
        case 't':
            fScale = 1e12;
            break;
        case 'g':
            fScale = 1e9;
            break;
        case 'k':
            fScale = 1e3;
            break;
        case 'm':
            fScale = 1e-3;
            break;
        case 'u':
            fScale = 1e-6;
            break;
        case 'n':
            fScale = 1e-9;
            break;
        case 'p':
            fScale = 1e-12;
            break;
        case 'f':
            fScale = 1e-15;
            break;
        default:
            break; // a unit such as "s"
        }
    }
    fValue = f * fScale;
    return std::isfinite(fValue);
}

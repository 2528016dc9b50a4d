#include "EngineOptions.h"

#include "EngineProtocol.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool CEngineOptions::ParseInt(const char* psz, long long nMin, long long nMax, long long& nValue) {
    if (psz == nullptr || *psz < '0' || *psz > '9')
        return false;
    errno = 0;
    char* pEnd = nullptr;
    nValue = std::strtoll(psz, &pEnd, 10);
    return errno == 0 && *pEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

bool CEngineOptions::ParseRate(const std::string& strValue, std::string& strError) {
    if (strValue == "fast") {
        m_nRate = 0;
        return true;
    }
    long long nRate = 0;
    if (!ParseInt(strValue.c_str(), 1, kMaxRate, nRate)) {
        strError = "the rate must be \"fast\" or a number of steps per second from 1 to " +
                   std::to_string(kMaxRate) + ", not \"" + strValue + "\"";
        return false;
    }
    m_nRate = static_cast<int>(nRate);
    return true;
}

bool CEngineOptions::Parse(int argc, const char* const* argv, const char* pszRateEnv,
                           std::string& strError) {
    if (argc < 4) {
        strError = "too few arguments";
        return false;
    }
    if (std::strcmp(argv[1], "1") != 0) {
        strError = "the first argument must be 1";
        return false;
    }
    long long nFd = 0;
    if (!ParseInt(argv[2], 0, 1 << 20, nFd)) {
        strError = std::string("not a descriptor number: \"") + argv[2] + "\"";
        return false;
    }
    m_nSocketFd = static_cast<int>(nFd);
    m_strRunFolder = argv[3];
    if (m_strRunFolder.empty()) {
        strError = "the run folder is empty";
        return false;
    }
    m_nRate = CEngineProtocol::kDefaultRate;
    if (pszRateEnv != nullptr && *pszRateEnv != '\0' && !ParseRate(pszRateEnv, strError)) {
        strError = "KEST_ENGINE_RATE: " + strError;
        return false;
    }
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], CEngineProtocol::kFastOption) == 0) {
            m_nRate = 0;
        } else if (std::strcmp(argv[i], CEngineProtocol::kVerboseOption) == 0) {
            m_bVerbose = true;
        } else if (std::strcmp(argv[i], CEngineProtocol::kRateOption) == 0) {
            if (i + 1 >= argc) {
                strError = "--rate needs a number of steps per second";
                return false;
            }
            if (!ParseRate(argv[++i], strError))
                return false;
        } else {
            strError = std::string("unknown option \"") + argv[i] + "\"";
            return false;
        }
    }
    return true;
}

const char* CEngineOptions::Usage() {
    return "usage: engine 1 FD RUN-FOLDER [--rate N | --fast] [--verbose]\n"
           "  Simulates RUN-FOLDER/kest.cir with ngspice. For every result step it writes\n"
           "  temp.dat and amp.dat into RUN-FOLDER, sends a notification record on the socket\n"
           "  FD and waits for the answer (1 go on, 0 stop).\n"
           "  --rate N   N result steps per second of wall time (default 100)\n"
           "  --fast     no pacing\n"
           "  --verbose  copy ngspice's output to stderr\n"
           "  KEST_ENGINE_RATE=N|fast sets the pacing when no option does.\n";
}

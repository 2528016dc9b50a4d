#pragma once

#include <string>

// The engine's command line: "1 <fd> <run folder>" as the workbench gives it, then options.
// KEST_ENGINE_RATE ("fast" or a number) sets the pacing when no option does.
class CEngineOptions {
public:
    static constexpr int kMaxRate = 1000000;

    bool Parse(int argc, const char* const* argv, const char* pszRateEnv, std::string& strError);

    static const char* Usage();

    int m_nSocketFd = -1;
    std::string m_strRunFolder;
    int m_nRate = 0; // result steps per second of wall time; 0 = fast
    bool m_bVerbose = false;

private:
    static bool ParseInt(const char* psz, long long nMin, long long nMax, long long& nValue);
    bool ParseRate(const std::string& strValue, std::string& strError);
};

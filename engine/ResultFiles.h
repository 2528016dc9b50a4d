#pragma once

#include "SpiceSession.h"

#include <string>
#include <vector>

// temp.dat and amp.dat of one result step. temp.dat: "time = %e", then "%d,%e" for every
// node in ascending order; amp.dat: the name and the current of every branch vector, one
// per line. Both are written completely and closed before the step is announced.
class CResultFiles {
public:
    explicit CResultFiles(const std::string& strRunFolder);

    bool Write(const SVectorLayout& layout, const std::vector<double>& values,
               std::string& strError);

    const std::string& VoltageText() const { return m_strVoltages; }
    const std::string& CurrentText() const { return m_strCurrents; }

    static void FormatVoltages(const SVectorLayout& layout, const std::vector<double>& values,
                               std::string& strOut);
    static void FormatCurrents(const SVectorLayout& layout, const std::vector<double>& values,
                               std::string& strOut);

private:
    static bool WriteFile(const std::string& strPath, const std::string& strText,
                          std::string& strError);

    std::string m_strVoltagePath;
    std::string m_strCurrentPath;
    std::string m_strVoltages;
    std::string m_strCurrents;
};

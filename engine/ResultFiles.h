#pragma once

#include "SpiceSession.h"

#include <string>
#include <vector>

// temp.dat and amp.dat of one result step. temp.dat: "time = %e", then "%d,%e" for every
// node in ascending order; amp.dat: the name and the current of every branch vector, one
// per line. Both are written completely before the step is announced.
//
// The files stay open for the whole run and are overwritten in place, cut only when a step
// is shorter than the one before: reopening, O_TRUNC (ext4 flushes a file truncated to zero
// when it is closed) and a truncate at every step together cost ten times the writing.
class CResultFiles {
public:
    explicit CResultFiles(const std::string& strRunFolder);
    ~CResultFiles();
    CResultFiles(const CResultFiles&) = delete;
    CResultFiles& operator=(const CResultFiles&) = delete;

    bool Write(const SVectorLayout& layout, const std::vector<double>& values,
               std::string& strError);

    const std::string& VoltageText() const { return m_strVoltages; }
    const std::string& CurrentText() const { return m_strCurrents; }

    static void FormatVoltages(const SVectorLayout& layout, const std::vector<double>& values,
                               std::string& strOut);
    static void FormatCurrents(const SVectorLayout& layout, const std::vector<double>& values,
                               std::string& strOut);

private:
    struct SFile {
        std::string strPath;
        int fd = -1;
        long long nSize = -1; // unknown until the first step has cut the file
    };
    static bool WriteFile(SFile& file, const std::string& strText, std::string& strError);

    SFile m_voltageFile;
    SFile m_currentFile;
    std::string m_strVoltages;
    std::string m_strCurrents;
};

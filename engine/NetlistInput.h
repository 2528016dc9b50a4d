#pragma once

#include <string>
#include <vector>

// The netlist as the engine hands it to ngspice. The workbench writes kest.cir with CR LF
// breaks and a line break before every line; ngspice takes the first line it is given as
// the title, so the blank lines in front must go, or the title would be read as an element.
class CNetlistInput {
public:
    // Far above any circuit a learner can draw; a larger file is refused, not loaded.
    static constexpr std::size_t kMaxFileSize = 64u << 20;

    // Reads and prepares the file. False with a message in strError when it cannot be read
    // or is not text.
    bool ReadFile(const std::string& strPath, std::string& strError);

    // Splits the text into lines, drops every CR and the leading blank lines, and adds the
    // engine's own control line in front of ".end" (or at the end, with an ".end", when the
    // text has none).
    bool SetText(const std::string& strText, std::string& strError);

    const std::vector<std::string>& Lines() const { return m_lines; }
    // Step and start time of the first ".tran" line in seconds; 0 when there is none.
    double StepSeconds() const { return m_fStep; }
    double StartSeconds() const { return m_fStart; }

    // A SPICE number: "0.1ms", "2.5Meg", "10u", "1e-3". False when the text starts with none.
    static bool ParseSpiceNumber(const std::string& strText, double& fValue);

private:
    void ReadTranLine();

    std::vector<std::string> m_lines;
    double m_fStep = 0.0;
    double m_fStart = 0.0;
};

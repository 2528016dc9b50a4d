#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// One result step as the engine left it in temp.dat (node voltages) and amp.dat (branch
// currents). Both files are read and checked completely before anything uses them, so a
// step with a bad file is skipped whole.
class CStepResults {
public:
    // The largest node count a step may announce; more is taken as a broken notification.
    static constexpr int kMaxNodes = 10'000'000;
    static constexpr int kMaxNameLength = 255;

    // False when the step must be skipped: a file missing or unreadable, a malformed line, a
    // node outside 0..nWParam, a name longer than kMaxNameLength. *pstrReason says which.
    bool Read(const QString& strRunFolder, int nWParam, QString* pstrReason = nullptr);

    float Time() const { return m_fTime; }
    // Whether the step gives node n's voltage (node 0 is 0 V unless the file says else).
    bool IsKnown(int nNode) const;
    float Voltage(int nNode) const { return m_afVoltage[size_t(nNode)]; }
    int HighestNode() const { return int(m_afVoltage.size()) - 1; }
    // The first current named "v<id>#branch", any case; null when the file has none.
    const float* FindBranchCurrent(int nId) const;

    bool ParseVoltages(const QByteArray& text, int nWParam, QString* pstrReason);
    bool ParseCurrents(const QByteArray& text, QString* pstrReason);

private:
    float m_fTime = 0.0f;
    std::vector<float> m_afVoltage;
    std::vector<std::pair<QByteArray, float>> m_currents;
};

#include "ResultFiles.h"

#include "Component.h"

#include <QFile>

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "EngineProtocol.h"

namespace {

constexpr qint64 kMaxFileSize = 256 * 1024 * 1024;

bool ReadWholeFile(const QString& strPath, QByteArray* pBytes) {
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return false;
    *pBytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// A decimal floating-point number filling the whole (trimmed) text, finite.
bool ParseFloat(const QByteArray& text, float* pf) {
    const QByteArray t = text.trimmed();
    if (t.isEmpty())
        return false;
    errno = 0;
    char* pEnd = nullptr;
    const double d = std::strtod(t.constData(), &pEnd);
    if (pEnd != t.constData() + t.size() || !std::isfinite(d) || std::fabs(d) > 3.0e38)
        return false;
    *pf = float(d);
    return true;
}

bool ParseInt(const QByteArray& text, long* pn) {
    const QByteArray t = text.trimmed();
    if (t.isEmpty())
        return false;
    errno = 0;
    char* pEnd = nullptr;
    const long n = std::strtol(t.constData(), &pEnd, 10);
    if (pEnd != t.constData() + t.size() || errno == ERANGE)
        return false;
    *pn = n;
    return true;
}

bool Fail(QString* pstrReason, const QString& strWhy) {
    if (pstrReason)
        *pstrReason = strWhy;
    return false;
}

} // namespace

bool CStepResults::ParseVoltages(const QByteArray& text, int nWParam, QString* pstrReason) {
    if (nWParam < 0 || nWParam > kMaxNodes)
        return Fail(pstrReason, QStringLiteral("node count %1 out of range").arg(nWParam));
    m_afVoltage.assign(size_t(nWParam) + 1, kNoValue);
    m_afVoltage[0] = 0.0f;
    const QList<QByteArray> lines = text.split('\n');
    bool bHaveTime = false;
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (!bHaveTime) {
            const qsizetype nEq = line.indexOf('=');
            if (nEq < 0 || line.left(nEq).trimmed() != "time" ||
                !ParseFloat(line.mid(nEq + 1), &m_fTime))
                return Fail(pstrReason, QStringLiteral("temp.dat: no time line"));
            bHaveTime = true;
            continue;
        }
        const qsizetype nComma = line.indexOf(',');
        long nNode = 0;
        float fVolts = 0;
        if (nComma < 0 || !ParseInt(line.left(nComma), &nNode) ||
            !ParseFloat(line.mid(nComma + 1), &fVolts))
            return Fail(pstrReason, QStringLiteral("temp.dat: malformed line"));
        if (nNode < 0 || nNode > nWParam)
            return Fail(pstrReason,
                        QStringLiteral("temp.dat: node %1 outside 0..%2").arg(nNode).arg(nWParam));
        m_afVoltage[size_t(nNode)] = fVolts;
    }
    if (!bHaveTime)
        return Fail(pstrReason, QStringLiteral("temp.dat: no time line"));
    return true;
}

bool CStepResults::ParseCurrents(const QByteArray& text, QString* pstrReason) {
    m_currents.clear();
    const QList<QByteArray> words = text.simplified().split(' ');
    if (words.size() == 1 && words[0].isEmpty())
        return true;
    if (words.size() % 2 != 0)
        return Fail(pstrReason, QStringLiteral("amp.dat: a name without its current"));
    m_currents.reserve(size_t(words.size() / 2));
    for (qsizetype i = 0; i < words.size(); i += 2) {
        if (words[i].size() > kMaxNameLength)
            return Fail(pstrReason, QStringLiteral("amp.dat: name too long"));
        float fAmps = 0;
        if (!ParseFloat(words[i + 1], &fAmps))
            return Fail(pstrReason, QStringLiteral("amp.dat: malformed current"));
        m_currents.emplace_back(words[i].toLower(), fAmps);
    }
    return true;
}

bool CStepResults::Read(const QString& strRunFolder, int nWParam, QString* pstrReason) {
    QByteArray voltages;
    QByteArray currents;
    const QString strVoltages =
        strRunFolder + QLatin1Char('/') + QLatin1String(CEngineProtocol::kVoltageFile);
    const QString strCurrents =
        strRunFolder + QLatin1Char('/') + QLatin1String(CEngineProtocol::kCurrentFile);
    if (!ReadWholeFile(strVoltages, &voltages))
        return Fail(pstrReason, QStringLiteral("temp.dat cannot be read"));
    if (!ReadWholeFile(strCurrents, &currents))
        return Fail(pstrReason, QStringLiteral("amp.dat cannot be read"));
    return ParseVoltages(voltages, nWParam, pstrReason) && ParseCurrents(currents, pstrReason);
}

bool CStepResults::IsKnown(int nNode) const {
    if (nNode < 0 || size_t(nNode) >= m_afVoltage.size())
        return false;
    const float v = m_afVoltage[size_t(nNode)];
    return !(v + 6789.0f > -1.0f && v + 6789.0f < 1.0f);
}

const float* CStepResults::FindBranchCurrent(int nId) const {
    const QByteArray name = "v" + QByteArray::number(nId) + "#branch";
    for (const auto& [strName, fAmps] : m_currents)
        if (strName == name)
            return &fAmps;
    return nullptr;
}

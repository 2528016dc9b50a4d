// The document's run mode: netlist, engine, and playback of every result step.
#include "Component.h"
#include "ComponentList.h"
#include "EngineProtocol.h"
#include "EngineRunner.h"
#include "Netlist.h"
#include "ProgramState.h"
#include "ResultFiles.h"
#include "ScopeWnd.h"
#include "SoundService.h"
#include "VonnDoc.h"

#include <QFile>

#include <cmath>
#include <unordered_map>

namespace {

QString RunFile(const char* szName) {
    const QString strFolder = ProgramState().RunFolder();
    return strFolder.isEmpty() ? QString() : strFolder + QLatin1Char('/') + QLatin1String(szName);
}

// Whole-number part of a state kept in a float, safe for any stored bits.
int State(float f) {
    if (std::isnan(f) || f > 1.0e6f || f < -1.0e6f)
        return -1;
    return int(f);
}

// The instrument flags of the netlist mark an unconnected input with the no-value marker.
bool IsUnconnected(float f) {
    return std::fabs(f + 6789.0f) <= 0.01f;
}

bool IsLampOrFuse(const CComponent* c) {
    return c->m_nType == 3 && c->m_nSubType >= 6 && c->m_nSubType <= 11;
}

bool IsBroken(const CComponent* c) {
    return IsLampOrFuse(c) && State(c->m_fValue[2]) == 2;
}

bool IsSwitch(const CComponent* c) {
    return c->m_nType == 4 && c->m_nSubType <= 9;
}

// Elements find their components by id: the first component from the head whose m_nIndex
// is that id.
class CComponentIndex {
public:
    explicit CComponentIndex(const CComponentList& list) {
        for (CComponent* pComp : list)
            if (pComp->m_nIndex >= 0)
                m_map.emplace(pComp->m_nIndex, pComp);
    }
    CComponent* Find(int nId) const {
        auto it = m_map.find(nId);
        return it == m_map.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<int, CComponent*> m_map;
};

void StopRunningDocument(CVonnDoc* pDoc) {
    EngineRunner().Terminate();
    Netlist().Clear();
    CVonnDoc::DeleteRunFiles();
    (void)pDoc;
}

} // namespace

void CVonnDoc::DeleteRunFiles() {
    for (const char* szName : {CEngineProtocol::kCurrentFile, CEngineProtocol::kVoltageFile,
                               CEngineProtocol::kNetlistFile}) {
        const QString strPath = RunFile(szName);
        if (!strPath.isEmpty())
            QFile::remove(strPath);
    }
}

bool CVonnDoc::StartSimulation() {
    s_pfnStopRunning = &StopRunningDocument;
    m_bRunning = true;
    CNetlist& netlist = Netlist();
    netlist.BuildElementList(*this);
    const QString strNetlist = RunFile(CEngineProtocol::kNetlistFile);
    const int nResult = strNetlist.isEmpty() ? -1 : netlist.BuildNetlist(strNetlist);
    ResetIndicators();
    if (nResult != 1)
        return false;
    m_bBellSound = 0;
    return LaunchEngine();
}

void CVonnDoc::ResetIndicators() {
    for (CComponent* pComp : *m_pComponents)
        if (pComp->m_nType == 1)
            pComp->m_bShowValue = 1;

    const CComponentIndex index(*m_pComponents);
    for (const auto& pElement : Netlist().GetInstrumentList()) {
        CComponent* pComp = index.Find(pElement->m_nId);
        if (!pComp)
            continue;
        const bool bInput1 = !IsUnconnected(pElement->m_fValue[2]);
        if (pComp->IsOscilloscope()) {
            if (CScopeWnd* pScope = pComp->m_pScope) {
                pScope->m_bShow1 = bInput1 ? 1 : 0;
                pScope->m_bShow2 = IsUnconnected(pElement->m_fValue[3]) ? 0 : 1;
                pScope->ResetTraces();
                pScope->UpdateCheckBoxes();
            }
        } else if (!bInput1) {
            pComp->m_fValue[3] = kNoValue;
        }
    }

    for (CComponent* pComp : *m_pComponents) {
        const bool bBell = pComp->m_nType == 3 && pComp->m_nSubType == 12;
        if (!bBell && !(IsLampOrFuse(pComp) && !IsBroken(pComp)))
            continue;
        pComp->m_fValue[2] = 0.1f;
        pComp->ReloadPicture();
        emit ComponentChanged(pComp);
    }
}

bool CVonnDoc::LaunchEngine() {
    CEngineRunner& runner = EngineRunner();
    disconnect(&runner, &CEngineRunner::EngineEnded, nullptr, nullptr);
    connect(&runner, &CEngineRunner::EngineEnded, this, &CVonnDoc::OnEngineEnded);
    const QString strEngine =
        ProgramState().ProgramFile(QLatin1String(CEngineProtocol::kProgramName));
    m_nStepsAtLaunch = m_nResultSteps;
    const bool bStarted = runner.Start(
        strEngine, ProgramState().RunFolder(), m_engineOptions,
        [this](int nWParam, int nLParam) { return OnResultNotification(nWParam, nLParam); });
    if (!bStarted) {
        ProgramState().ShowMessage(QStringLiteral("Error in executing Engine.exe"));
        DeleteRunFiles();
    }
    return bStarted;
}

void CVonnDoc::OnEngineEnded(int nExitStatus, const QString& strStderr) {
    if (!m_bRunning || m_nResultSteps != m_nStepsAtLaunch || nExitStatus == 0)
        return;
    // The engine gave no step at all: say why, in its own words.
    QString strReason = strStderr.trimmed();
    if (strReason.isEmpty())
        strReason =
            QStringLiteral("The simulation engine stopped (exit code %1).").arg(nExitStatus);
    emit SimulationFailed(QStringLiteral("The circuit cannot be simulated.\n\n") + strReason);
}

int CVonnDoc::OnResultNotification(int nWParam, int nLParam) {
    if (!m_bRunning)
        return 0;
    ++m_nResultSteps;
    const int nResult = ReadResults(nWParam, nLParam);
    emit ReadingsChanged();
    if (nResult == 1)
        return 1;
    // Something burnt out: a complete new run without it.
    EngineRunner().Terminate();
    emit RunRestarted();
    StartSimulation();
    return 0;
}

int CVonnDoc::ReadResults(int nWParam, int /*nLParam*/) {
    CStepResults step;
    if (!step.Read(ProgramState().RunFolder(), nWParam))
        return 1; // a step that cannot be read is skipped whole
    const CComponentIndex index(*m_pComponents);
    const auto& elements = Netlist().GetElementList();
    auto changed = [this](CComponent* pComp) {
        pComp->ReloadPicture();
        emit ComponentChanged(pComp);
    };
    auto across = [&step](const CNetElement& e, float* pd) {
        const int t1 = e.m_nNode[0];
        const int t2 = e.m_nNode[1];
        if (!step.IsKnown(t1) || !step.IsKnown(t2))
            return false;
        *pd = std::fabs(step.Voltage(t2) - step.Voltage(t1));
        return true;
    };

    bool bBurn = false;
    for (const auto& pElement : elements) {
        if (pElement->m_nType != 3 || (pElement->m_nSubType != 10 && pElement->m_nSubType != 11))
            continue;
        float d = 0;
        CComponent* pComp = index.Find(pElement->m_nId);
        if (!across(*pElement, &d) || !pComp || IsBroken(pComp))
            continue;
        if (d >= 1e-6f && pComp->m_fValue[1] < d) {
            pComp->m_fValue[2] = 2.1f;
            SoundService().PlayEffect("burn.wav", false);
            bBurn = true;
            changed(pComp);
        }
    }

    if (!bBurn) {
        for (const auto& pElement : elements) {
            if (pElement->m_nType != 3 || pElement->m_nSubType < 6 || pElement->m_nSubType > 9)
                continue;
            float d = 0;
            CComponent* pComp = index.Find(pElement->m_nId);
            if (!across(*pElement, &d) || !pComp)
                continue;
            const int s = State(pComp->m_fValue[2]);
            if (s == 2 || d < 1e-6f)
                continue;
            const float fRated = pComp->m_fValue[1];
            if (d <= 0.85f * fRated)
                continue;
            if (d < 1.15f * fRated) {
                pComp->m_fValue[2] = 1.1f;
                if (s != 1)
                    changed(pComp);
            } else {
                pComp->m_fValue[2] = 2.1f;
                SoundService().PlayEffect("burn.wav", false);
                bBurn = true;
                changed(pComp);
            }
        }
    }

    if (!bBurn) {
        int nRinging = 0;
        for (const auto& pElement : elements) {
            if (pElement->m_nType != 3 || pElement->m_nSubType != 12)
                continue;
            CComponent* pComp = index.Find(pElement->m_nId);
            if (!pComp)
                continue;
            const int nOld = State(pComp->m_fValue[2]);
            float d = 0;
            if (across(*pElement, &d) && d > 1e-6f) {
                ++nRinging;
                pComp->m_fValue[2] = 1.1f;
                if (nOld != 1)
                    changed(pComp);
            } else {
                pComp->m_fValue[2] = 0.1f;
                if (nOld != 0)
                    changed(pComp);
            }
        }
        if (nRinging > 0 && m_bBellSound == 0) {
            SoundService().PlayEffect("bellring.wav", true);
            m_bBellSound = 1;
        } else if (nRinging == 0 && m_bBellSound == 1) {
            SoundService().StopEffects();
        }
    }

    if (!bBurn) {
        auto difference = [&step](int a, int b, float* pv) {
            if (!step.IsKnown(a) || !step.IsKnown(b))
                return false;
            *pv = step.Voltage(a) - step.Voltage(b);
            return true;
        };
        for (const auto& pElement : Netlist().GetInstrumentList()) {
            CComponent* pComp = index.Find(pElement->m_nId);
            if (!pComp)
                continue;
            const CNetElement& e = *pElement;
            const bool bInput1 = !IsUnconnected(e.m_fValue[2]);
            if (pComp->IsOscilloscope()) {
                float a = kNoValue;
                float b = kNoValue;
                if (!bInput1 || !difference(e.m_nNode[0], e.m_nNode[1], &a))
                    a = kNoValue;
                if (IsUnconnected(e.m_fValue[3]) || !difference(e.m_nNode[2], e.m_nNode[3], &b))
                    b = kNoValue;
                pComp->m_fValue[2] = a;
                pComp->m_fValue[3] = b;
                if (pComp->m_pScope && pComp->m_pScope->IsVisible())
                    pComp->m_pScope->AddSample(step.Time(), a, b);
                continue;
            }
            if (!bInput1) {
                pComp->m_fValue[3] = 0.0f;
                continue;
            }
            switch (e.m_nSubType) {
            case 2: {
                float v = 0;
                if (difference(e.m_nNode[0], e.m_nNode[1], &v))
                    pComp->m_fValue[3] = v;
                break;
            }
            case 1:
            case 4:
                if (const float* pAmps = step.FindBranchCurrent(e.m_nId))
                    pComp->m_fValue[3] = *pAmps;
                break;
            case 3:
                if (const float* pAmps = step.FindBranchCurrent(e.m_nId))
                    pComp->m_fValue[3] = std::fmin(std::fabs(1e-6f / *pAmps), 999999.0f);
                break;
            default:
                break;
            }
        }
    }
    return bBurn ? 0 : 1;
}

void CVonnDoc::StopSimulation() {
    if (m_bRunning)
        EngineRunner().Terminate();
    SoundService().StopEffects();
    for (CComponent* pComp : *m_pComponents) {
        if (pComp->m_nType == 1) {
            pComp->m_fValue[2] = kNoValue;
            pComp->m_fValue[3] = kNoValue;
            if (pComp->m_pScope)
                pComp->m_pScope->ResetTraces();
        } else if (IsSwitch(pComp)) {
            pComp->m_fValue[0] = 0.1f;
            pComp->ReloadPicture();
        } else if (pComp->m_nType == 3 && pComp->m_nSubType >= 6 && pComp->m_nSubType <= 12) {
            pComp->m_fValue[2] = 0.1f;
            pComp->ReloadPicture();
        }
    }
    DeleteRunFiles();
    if (m_bRunning)
        Netlist().Clear();
    m_bRunning = false;
    emit ContentsChanged();
}

void CVonnDoc::ToggleSwitchWhileRunning(CComponent* pSwitch) {
    if (!m_bRunning || !IsSwitch(pSwitch))
        return;
    SoundService().PlayEffect("switch.wav", false);
    EngineRunner().Terminate();
    pSwitch->m_fValue[0] = State(pSwitch->m_fValue[0]) == 1 ? 0.1f : 1.1f;
    pSwitch->ReloadPicture();
    emit ComponentChanged(pSwitch);
    emit RunRestarted();
    StartSimulation();
}

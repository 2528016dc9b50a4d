// Result steps per second of a whole run in fast mode: the engine writes the result files
// and notifies, the document reads them and plays them back, the answer goes back; against
// ngspice alone on the same netlist in the same process.
#include "Component.h"
#include "ComponentList.h"
#include "EngineProtocol.h"
#include "EngineRunner.h"
#include "Netlist.h"
#include "NetlistInput.h"
#include "ProgramState.h"
#include "SpiceSession.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <QFile>

#include <benchmark/benchmark.h>

#include <poll.h>

namespace {

constexpr int kSteps = 20000;

// The lamp circuit of the first netlist example: 3 V, 1 Ohm, a 1.8 W 6 V lamp, an ammeter.
void BuildLampCircuit(CVonnDoc& doc) {
    QString strError;
    doc.OnOpenDocument(QStringLiteral(KEST_BIN_DIR "/examples/lamp.kst"), &strError);
}

// Ten ammeters in series with a resistor across a battery.
void BuildTenMeters(CVonnDoc& doc) {
    auto add = [&](int t, int s, float v) {
        auto* p = new CComponent(*FindInfo(t, s), QPoint(0, 0));
        if (v != 0)
            p->m_fValue[0] = v;
        doc.m_pComponents->AddTail(p);
        return p;
    };
    CComponent* pBattery = add(2, 1, 5);
    CComponent* pPrev = pBattery;
    for (int i = 0; i < 10; ++i) {
        CComponent* pMeter = add(1, 1, 0);
        doc.m_pWires->AddTail(new CWire(pPrev, 1, pMeter, 0));
        pPrev = pMeter;
    }
    CComponent* pR = add(3, 1, 100);
    doc.m_pWires->AddTail(new CWire(pPrev, 1, pR, 0));
    doc.m_pWires->AddTail(new CWire(pR, 1, pBattery, 0));
}

void RunSteps(benchmark::State& state, void (*pfnBuild)(CVonnDoc&)) {
    for (auto _ : state) {
        CVonnDoc doc;
        pfnBuild(doc);
        doc.m_engineOptions = {QLatin1String(CEngineProtocol::kFastOption)};
        QElapsedTimer timer;
        timer.start();
        doc.StartSimulation();
        while (doc.m_nResultSteps < kSteps && EngineRunner().IsRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["steps_per_s"] = double(doc.m_nResultSteps) / seconds;
        doc.StopSimulation();
    }
}

// Counts ngspice's result steps and stops after kSteps.
class CCountingSink : public IResultSink {
public:
    bool TakeStep(const SVectorLayout&, const std::vector<double>& values) override {
        benchmark::DoNotOptimize(values.data());
        return ++m_nSteps < kSteps;
    }
    long long m_nSteps = 0;
};

// ngspice alone on the netlist the document writes for the same circuit, in this process.
void RunNgspiceAlone(benchmark::State& state, void (*pfnBuild)(CVonnDoc&)) {
    CVonnDoc doc;
    pfnBuild(doc);
    Netlist().BuildElementList(doc);
    QByteArray bytes;
    Netlist().BuildNetlist(&bytes);
    Netlist().Clear();
    CNetlistInput netlist;
    std::string strError;
    static CSpiceSession session;
    static const bool bReady = session.Init(false, strError);
    if (!bReady || !netlist.SetText(bytes.toStdString(), strError)) {
        state.SkipWithError("ngspice not ready");
        return;
    }
    CCountingSink sink;
    session.SetSink(&sink);
    session.SetStepGrid(netlist.StepSeconds(), netlist.StartSeconds());
    for (auto _ : state) {
        sink.m_nSteps = 0;
        QElapsedTimer timer;
        timer.start();
        if (!session.LoadCircuit(netlist.Lines()) || !session.StartRun()) {
            state.SkipWithError("ngspice refused the netlist");
            break;
        }
        while (!session.Ended() && !session.StopRequested()) {
            pollfd fd = {session.WakeFd(), POLLIN, 0};
            poll(&fd, 1, 100);
            session.ClearWake();
        }
        session.Halt();
        session.RemoveCircuit();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["steps_per_s"] = double(sink.m_nSteps) / seconds;
    }
    session.SetSink(nullptr);
}

void BM_NgspiceAloneLampCircuit(benchmark::State& state) {
    RunNgspiceAlone(state, BuildLampCircuit);
}
void BM_NgspiceAloneTenMeters(benchmark::State& state) {
    RunNgspiceAlone(state, BuildTenMeters);
}

void BM_RoundTripLampCircuit(benchmark::State& state) {
    RunSteps(state, BuildLampCircuit);
}
void BM_RoundTripTenMeters(benchmark::State& state) {
    RunSteps(state, BuildTenMeters);
}

BENCHMARK(BM_RoundTripLampCircuit)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundTripTenMeters)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NgspiceAloneLampCircuit)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NgspiceAloneTenMeters)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ProgramState().InitProgramFolder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

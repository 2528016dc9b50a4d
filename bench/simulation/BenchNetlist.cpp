// Netlist building for a generated circuit of 10,000 components and their wires, and how
// the time grows with the circuit.
#include "Component.h"
#include "ComponentList.h"
#include "Netlist.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Ten components per cell: a battery, a closed switch, a resistor and an ammeter feed a lamp
// between two seven-way junctions; a voltmeter and a capacitor sit across the lamp, and a
// second resistor ties the cell to the next one. Every 100 cells start a new sub-circuit.
void BuildCircuit(CVonnDoc& doc, int nCells) {
    auto Add = [&](int nType, int nSubType, float fValue0) {
        auto* pComp = new CComponent(*FindInfo(nType, nSubType), QPoint(0, 0));
        if (nType == 4)
            pComp->m_fValue[0] = fValue0;
        doc.m_pComponents->AddTail(pComp);
        return pComp;
    };
    auto Wire = [&](CComponent* pA, int i, CComponent* pB, int j) {
        doc.m_pWires->AddTail(new CWire(pA, i, pB, j));
    };
    CComponent* pPrevTie = nullptr;
    for (int nCell = 0; nCell < nCells; ++nCell) {
        CComponent* pBattery = Add(2, 1, 0);
        CComponent* pSwitch = Add(4, 1, 1.1f);
        CComponent* pResistor = Add(3, 1, 0);
        CComponent* pAmmeter = Add(1, 1, 0);
        CComponent* pTop = Add(4, 8, 0);
        CComponent* pLamp = Add(3, 8, 0);
        CComponent* pBottom = Add(4, 8, 0);
        CComponent* pVoltmeter = Add(1, 2, 0);
        CComponent* pTie = Add(3, 1, 0);
        CComponent* pCapacitor = Add(7, 2, 0);
        Wire(pBattery, 0, pSwitch, 0);
        Wire(pSwitch, 1, pResistor, 0);
        Wire(pResistor, 1, pAmmeter, 0);
        Wire(pAmmeter, 1, pTop, 0);
        Wire(pTop, 1, pLamp, 0);
        Wire(pLamp, 1, pBottom, 0);
        Wire(pBottom, 1, pBattery, 1);
        Wire(pVoltmeter, 0, pTop, 2);
        Wire(pVoltmeter, 1, pBottom, 2);
        Wire(pCapacitor, 0, pTop, 3);
        Wire(pCapacitor, 1, pBottom, 3);
        Wire(pTie, 0, pTop, 4);
        if (pPrevTie && nCell % 100 != 0)
            Wire(pPrevTie, 1, pBottom, 4);
        pPrevTie = pTie;
    }
}

void BM_BuildNetlist(benchmark::State& state) {
    CVonnDoc doc;
    BuildCircuit(doc, int(state.range(0)) / 10);
    CNetlist netlist;
    std::size_t nBytes = 0;
    for (auto _ : state) {
        netlist.BuildElementList(doc);
        QByteArray bytes;
        if (netlist.BuildNetlist(&bytes) != 1)
            state.SkipWithError("nothing to simulate");
        nBytes = std::size_t(bytes.size());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["components"] = double(doc.m_pComponents->GetCount());
    state.counters["wires"] = double(doc.m_pWires->GetCount());
    state.counters["nodes"] = double(netlist.GetNodeCount());
    state.counters["bytes"] = double(nBytes);
    state.SetComplexityN(state.range(0));
}

void BM_WriteNetlistFile(benchmark::State& state) {
    CVonnDoc doc;
    BuildCircuit(doc, int(state.range(0)) / 10);
    CNetlist netlist;
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("kest.cir"));
    for (auto _ : state) {
        netlist.BuildElementList(doc);
        if (netlist.BuildNetlist(strPath) != 1)
            state.SkipWithError("not written");
    }
}

} // namespace

BENCHMARK(BM_BuildNetlist)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_WriteNetlistFile)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Pictures load through QtGui; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

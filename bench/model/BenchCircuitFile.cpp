// Load and save of a generated circuit of 10,000 components and 10,000 wires.
#include "Component.h"
#include "ComponentList.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A ring of batteries and resistors with a bend in every wire: 10,000 of each.
void BuildCircuit(CVonnDoc& doc, int nComponents) {
    std::vector<CComponent*> comps;
    for (int i = 0; i < nComponents; ++i) {
        const tagSComponentInfo* pInfo = FindInfo(i % 10 == 0 ? 2 : 3, 1);
        auto* pComp = new CComponent(*pInfo, QPoint(40 * (i % 100), 40 * (i / 100)));
        doc.m_pComponents->AddTail(pComp);
        comps.push_back(pComp);
    }
    for (int i = 0; i < nComponents; ++i) {
        auto* pWire = new CWire(comps[size_t(i)], 1, comps[size_t((i + 1) % nComponents)], 0);
        pWire->InsertVertex(QPoint(5, 5), &pWire->m_pPoints.front(), &pWire->m_pPoints.back());
        doc.m_pWires->AddTail(pWire);
    }
}

void BM_SaveCircuit(benchmark::State& state) {
    CVonnDoc doc;
    BuildCircuit(doc, int(state.range(0)));
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("big.kst"));
    for (auto _ : state) {
        QString strError;
        if (!doc.OnSaveDocument(strPath, &strError))
            state.SkipWithError("save failed");
    }
}

void BM_LoadCircuit(benchmark::State& state) {
    CVonnDoc doc;
    BuildCircuit(doc, int(state.range(0)));
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("big.kst"));
    QString strError;
    doc.OnSaveDocument(strPath, &strError);
    for (auto _ : state) {
        auto pLoaded = std::make_unique<CVonnDoc>();
        if (!pLoaded->OnOpenDocument(strPath, &strError))
            state.SkipWithError("load failed");
        // Closing the circuit is not part of loading it.
        state.PauseTiming();
        pLoaded.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_SaveCircuit)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCircuit)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

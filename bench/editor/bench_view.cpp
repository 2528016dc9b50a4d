// A full repaint of the visible area of a workbench holding 5,000 components and their
// wires: run as QT_QPA_PLATFORM=offscreen build/bin/bench_editor
#include "DemoCircuit.h"
#include "ProgramState.h"
#include "VonnDoc.h"
#include "VonnView.h"

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

namespace {

// range(1): 0 spreads the components over a large workbench (a few hundred in view), 1 packs
// all of them, overlapping, into the visible area.
void BM_FullRepaint(benchmark::State& state) {
    CVonnDoc doc;
    doc.OnNewDocument();
    if (state.range(1))
        kest::test::BuildGridCircuit(doc, int(state.range(0)), 16, 78);
    else
        kest::test::BuildGridCircuit(doc, int(state.range(0)));
    CVonnView view(&doc);
    view.resize(1280 + ProgramState().m_nVScrollWidth, 1024 + ProgramState().m_nHScrollHeight);
    view.show();
    view.OnInitialUpdate();
    QApplication::processEvents();
    const QRect visible = view.GetVisibleRect();
    for (auto _ : state) {
        view.ComposeBackBuffer(visible);
        benchmark::DoNotOptimize(view.BackBuffer().constBits());
    }
    state.counters["components"] = double(state.range(0));
}
BENCHMARK(BM_FullRepaint)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond);

// The same through the widget's own paint: compose and copy to the window.
void BM_WidgetRepaint(benchmark::State& state) {
    CVonnDoc doc;
    doc.OnNewDocument();
    kest::test::BuildGridCircuit(doc, int(state.range(0)));
    CVonnView view(&doc);
    view.resize(1280 + ProgramState().m_nVScrollWidth, 1024 + ProgramState().m_nHScrollHeight);
    view.show();
    view.OnInitialUpdate();
    QApplication::processEvents();
    for (auto _ : state)
        view.repaint(view.GetVisibleRect());
}
BENCHMARK(BM_WidgetRepaint)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    ProgramState().SetProgramFolderFromExecutable(args.first());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

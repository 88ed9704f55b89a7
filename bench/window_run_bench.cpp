// F5 in a circuit's window as the user sees it: preparation, execution and every printed line
// in the output panel. "First" runs open a new window and press F5 at once, while the threads
// the window asked for ahead of time are still being started; "FirstReserved" runs press it once
// they all are, as after looking at the circuit for a moment; "Later" runs find the node
// threads in place.
//
//   ./scripts/build.sh build-bench Release -DFLOW_BENCH=ON -DFLOW_TESTS=OFF
//   build-bench/bench/window_run_bench

#include "editor/actions/MenuCommands.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/EditorProcess.h"
#include "editor/window/WindowObserver.h"
#include "engine/NodeThreads.h"
#include "engine/RunObserver.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "support/BenchmarkMain.h"
#if __has_include("engine/ThreadReserve.h")
#include "engine/ThreadReserve.h"
#define FLOW_THREAD_RESERVE 1
#endif

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <benchmark/benchmark.h>

namespace {

using namespace flow;

// Rows of 100 nodes, 120 units apart: a constant at the start of each row feeds the 99 Print
// nodes after it, so all but a hundredth of the nodes print a line. The window shows the first
// rows, as it would after loading such a circuit.
constexpr int kRow = 100;

Circuit& PrintRows(int nodes) {
    Circuit& circuit = NewCircuit();
    Node* constant = nullptr;
    for (int i = 0; i < nodes; ++i) {
        const bool rowStart = i % kRow == 0;
        Node* node =
            rowStart
                ? AddNode(&circuit.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger)
                : AddNode(&circuit.MainFrame, FindFunction(QStringLiteral("Print")), nullptr);
        node->X = (i % kRow) * 120;
        node->Y = (i / kRow) * 120;
        if (rowStart) {
            constant = node;
            constant->PortArray[1]->Value = 42;
        } else {
            ConnectPorts(constant->PortArray.back(), node->PortArray[1]);
        }
    }
    OpenCircuitWindow(circuit);
    return circuit;
}

int PrintedLines(int nodes) {
    return nodes - (nodes + kRow - 1) / kRow;
}

bool AllPrinted(const Circuit& circuit, int lines) {
    const QTextDocument& document = *WindowOf(circuit)->OutputPanel()->document();
    return document.blockCount() == lines && document.lastBlock().text() == QLatin1String("42");
}

// F5, then the event loop until the panel shows every line.
[[gnu::noinline]] void OneRun(benchmark::State& state, Circuit& circuit, int lines) {
    OnMenu(circuit, Command::Start);
    if (SessionOf(circuit).Fault().Kind != ErrorKind::None) {
        state.SkipWithError("the generated circuit has a defect");
        return;
    }
    while (!AllPrinted(circuit, lines))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

void BM_F5Later(benchmark::State& state) {
    Circuit& circuit = PrintRows(int(state.range(0)));
    const int lines = PrintedLines(int(state.range(0)));
    OneRun(state, circuit, lines); // starts the threads
    for (auto _ : state)
        OneRun(state, circuit, lines);
    StopCircuitThreads(SessionOf(circuit));
    WindowOf(circuit)->hide();
}

template <bool Reserved> void F5First(benchmark::State& state) {
    const int lines = PrintedLines(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Circuit& circuit = PrintRows(int(state.range(0)));
        QCoreApplication::processEvents();
#ifdef FLOW_THREAD_RESERVE
        if (Reserved) WaitForThreadReserve();
#endif
        state.ResumeTiming();
        OneRun(state, circuit, lines);
        state.PauseTiming();
        // The windows stay open: closing one would ask about the unsaved circuit.
        StopCircuitThreads(SessionOf(circuit));
        WindowOf(circuit)->hide();
        state.ResumeTiming();
    }
}

// The output panel's part alone, without worker threads (so that an instruction counter can
// measure it, bench/instructions.sh): the lines of one run handed over as node threads would,
// then the event loop until the panel shows them.
[[gnu::noinline]] void OnePanelFill(Circuit& circuit, int lines) {
    WindowObserver& observer = ObserverOf(circuit);
    observer.ClearOutput();
    for (int i = 0; i < lines; ++i)
        observer.PrintLine(QStringLiteral("42"), observer.Session().RunNumber);
    while (!AllPrinted(circuit, lines))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

void BM_PanelFill(benchmark::State& state) {
    Circuit& circuit = PrintRows(kRow);
    for (auto _ : state)
        OnePanelFill(circuit, int(state.range(0)));
    WindowOf(circuit)->hide();
}

BENCHMARK(BM_PanelFill)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_F5Later)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(F5First<false>)
    ->Name("BM_F5First")
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(F5First<true>)
    ->Name("BM_F5FirstReserved")
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, flow::SetupResources);
}

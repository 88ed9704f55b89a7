// The memory of the history on a large circuit: what one step that removes or adds 10,000 nodes
// keeps, and what a long session of select all, delete and paste holds at its end.

#include "GeneratedCircuit.h"
#include "editor/actions/ClipboardCommands.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "render/Palette.h"
#include "support/BenchmarkMain.h"
#include "support/ViewWithHistory.h"

#include <QFile>
#include <QGuiApplication>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

namespace {

using namespace flow;

double HeapBytes() {
    return double(mallinfo2().uordblks);
}

// A figure of /proc/self/status, in kB.
double StatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ')[0].toDouble();
    return 0;
}

void SelectAll(Circuit& circuit) {
    for (const auto& node : circuit.MainFrame.Nodes)
        node->Flags |= ObjectFlag::Selected;
    for (const auto& comment : circuit.MainFrame.Comments)
        comment->Flags |= ObjectFlag::Selected;
}

// Select all, delete, paste: two steps, each of the whole circuit.
void DeleteAndPaste(Circuit& circuit) {
    SelectAll(circuit);
    const std::string text = CircuitFragmentText(SelectedObjectsWithInnerWires(circuit.MainFrame));
    DeleteObjects(circuit, QStringLiteral("Delete"),
                  SelectedObjectsWithSelectedWires(circuit.MainFrame));
    PasteAsStep(circuit, QStringLiteral("Paste"), text, QPointF(0, 0));
}

void BM_HistoryStepBytes(benchmark::State& state) {
    const int nodes = int(state.range(0));
    double perNode = 0;
    for (auto _ : state) {
        Circuit circuit;
        circuit.MainFrame.Owner = &circuit;
        GenerateCircuit(circuit, nodes, nodes / 10);
        const ViewWithHistory window(circuit);
        // A first round lets the circuit settle at its size; the second is what steps keep.
        DeleteAndPaste(circuit);
        const double before = HeapBytes();
        DeleteAndPaste(circuit);
        perNode = (HeapBytes() - before) / 2 / nodes;
    }
    state.counters["bytes_per_node_per_step"] = perNode;
}
BENCHMARK(BM_HistoryStepBytes)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

// steps/2 rounds of delete and paste on 10,000 nodes; the heap and the peak RSS at the end.
void BM_HistorySession(benchmark::State& state) {
    const int rounds = int(state.range(0)) / 2;
    for (auto _ : state) {
        Circuit circuit;
        circuit.MainFrame.Owner = &circuit;
        GenerateCircuit(circuit, 10000, 1000);
        const ViewWithHistory window(circuit);
        const double start = HeapBytes();
        for (int i = 0; i < rounds; ++i)
            DeleteAndPaste(circuit);
        state.counters["heap_growth_MB"] = (HeapBytes() - start) / (1 << 20);
        state.counters["steps_kept"] = HistoryOf(circuit)->count();
    }
    state.counters["peak_rss_MB"] = StatusKb("VmHWM:") / 1024;
}
BENCHMARK(BM_HistorySession)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv, flow::SetupPalette);
}

// Pasting groups of 1,000 and 10,000 nodes: the clipboard's circuit text read into a circuit
// as new objects, placed under the pointer and selected, alone and as a step of the history;
// undoing that step. And, for scale, copying them. And a circuit holding one comment of 50 MB,
// pasted or opened, up to its first frame.

#include "GeneratedCircuit.h"
#include "editor/actions/ClipboardCommands.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "render/Palette.h"
#include "support/BenchmarkMain.h"
#include "support/ViewWithHistory.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace flow;

struct Source {
    explicit Source(int nodes) {
        circuit.MainFrame.Owner = &circuit;
        GenerateCircuit(circuit, nodes, nodes / 10);
        for (const auto& node : circuit.MainFrame.Nodes)
            node->Flags |= ObjectFlag::Selected;
        for (const auto& comment : circuit.MainFrame.Comments)
            comment->Flags |= ObjectFlag::Selected;
        text = CircuitFragmentText(SelectedObjectsWithInnerWires(circuit.MainFrame));
    }
    Circuit circuit;
    std::string text;
};

const Source& SourceOf(int nodes) {
    static std::map<int, std::unique_ptr<Source>> sources;
    auto& source = sources[nodes];
    if (!source) source = std::make_unique<Source>(nodes);
    return *source;
}

void BM_Paste(benchmark::State& state) {
    const Source& source = SourceOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<Circuit>();
        target->MainFrame.Owner = target.get();
        state.ResumeTiming();
        const FrameObjects pasted = PasteCircuitText(*target, source.text, QPointF(0, 0), 0);
        benchmark::DoNotOptimize(pasted.Nodes.data());
        state.PauseTiming();
        if (pasted.Nodes.size() != source.circuit.MainFrame.Nodes.size())
            state.SkipWithError("not every node was pasted");
        target.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(source.text.size());
}
BENCHMARK(BM_Paste)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A circuit to paste into with the history its window would give it, made and dropped outside
// the timing.
struct StepTarget {
    StepTarget() { circuit->MainFrame.Owner = circuit.get(); }
    std::unique_ptr<Circuit> circuit = std::make_unique<Circuit>();
    std::unique_ptr<ViewWithHistory> window = std::make_unique<ViewWithHistory>(*circuit);
};

// The editor's Paste: the same, recorded as one step of the circuit's history, which keeps a
// snapshot of the group for undo.
void BM_PasteAsStep(benchmark::State& state) {
    const Source& source = SourceOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<StepTarget>();
        state.ResumeTiming();
        const FrameObjects pasted =
            PasteAsStep(*target->circuit, QStringLiteral("Paste"), source.text, QPointF(0, 0));
        benchmark::DoNotOptimize(pasted.Nodes.data());
        state.PauseTiming();
        if (HistoryOf(*target->circuit)->count() != 1) state.SkipWithError("no step recorded");
        target.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteAsStep)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Undo of the editor's Paste: the whole group taken out of the circuit again. The tests hold
// the paste to time growing with the group; the undo's time is stated here, where its growth
// from 1,000 to 10,000 nodes shows.
void BM_UndoPasteStep(benchmark::State& state) {
    const Source& source = SourceOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<StepTarget>();
        PasteAsStep(*target->circuit, QStringLiteral("Paste"), source.text, QPointF(0, 0));
        state.ResumeTiming();
        HistoryOf(*target->circuit)->undo();
        state.PauseTiming();
        if (!target->circuit->MainFrame.Nodes.empty())
            state.SkipWithError("the paste was not taken back");
        target.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoPasteStep)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Copy(benchmark::State& state) {
    const Source& source = SourceOf(int(state.range(0)));
    for (auto _ : state) {
        std::string text =
            CircuitFragmentText(SelectedObjectsWithInnerWires(source.circuit.MainFrame));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_Copy)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The peak of the process's resident memory so far, in MB: run one case per process.
double PeakResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return 0;
}

// The editor's Paste of the circuit text in the file FLOW_PASTE_FILE (skipped without it), for
// comparison with --resave of the same file: time here, peak memory in the counter.
void BM_PasteFileText(benchmark::State& state) {
    QFile file(qEnvironmentVariable("FLOW_PASTE_FILE"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("FLOW_PASTE_FILE names no readable file");
        return;
    }
    const QByteArray text = file.readAll();
    for (auto _ : state) {
        auto target = std::make_unique<Circuit>();
        target->MainFrame.Owner = target.get();
        const ViewWithHistory window(*target);
        const FrameObjects pasted = PasteAsStep(
            *target, QStringLiteral("Paste"),
            std::string_view(text.constData(), std::size_t(text.size())), QPointF(0, 0));
        benchmark::DoNotOptimize(pasted.Nodes.data());
    }
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_PasteFileText)->Iterations(1)->Unit(benchmark::kMillisecond);

// 50 MB of words, in lines of `lineLength` characters, or in one line when it is 0.
QString HugeText(int lineLength) {
    static const char* const words[] = {"flow ", "lattice ", "node ",    "wire ", "Value ",
                                        "AV ",   "To ",      "comment ", "T.y, "};
    QString text;
    text.reserve(50 << 20);
    qsizetype lineStart = 0;
    for (std::size_t i = 0; text.size() < (50 << 20); ++i) {
        text += QLatin1String(words[(i * 7) % std::size(words)]);
        if (lineLength > 0 && text.size() - lineStart >= lineLength) {
            text += QLatin1Char('\n');
            lineStart = text.size();
        }
    }
    return text;
}

// A window's first frame of the circuit, its camera on the origin, where the comment lies.
void DrawFirstFrame(CircuitView& view) {
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    RedrawViewInto(view, image);
    benchmark::DoNotOptimize(image.constBits());
}

// One comment of 50 MB, pasted centred on the origin (0) or read from a file (1), then drawn.
// Arguments: that, and the length of its lines (0: one line). Run one case per process: the
// memory counter is the process's peak from the start of the timed part, the paste's text (or
// the file) included.
void BM_HugeComment(benchmark::State& state) {
    const bool open = state.range(0) != 0;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("comment.xml"));
    std::string text;
    {
        Circuit source;
        source.MainFrame.Owner = &source;
        AddComment(&source.MainFrame, HugeText(int(state.range(1))), 0, 0)->Flags |=
            ObjectFlag::Selected;
        if (open)
            SaveCircuit(source, file);
        else
            text = CircuitFragmentText(SelectedObjectsWithInnerWires(source.MainFrame));
    }
    // The peak counted from here: the source and its text are the benchmark's, not the paste's.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
    clear.close();
    for (auto _ : state) {
        if (open) {
            Circuit* circuit = LoadCircuit(file);
            CircuitView view(*circuit);
            DrawFirstFrame(view);
            state.PauseTiming();
            FreeCircuit(*circuit);
            state.ResumeTiming();
        } else {
            auto target = std::make_unique<StepTarget>();
            const FrameObjects pasted =
                PasteAsStep(*target->circuit, QStringLiteral("Paste"), text, QPointF(0, 0));
            if (pasted.Comments.size() != 1) state.SkipWithError("the comment was not pasted");
            DrawFirstFrame(target->window->view);
            state.PauseTiming();
            target.reset();
            state.ResumeTiming();
        }
    }
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_HugeComment)
    ->ArgsProduct({{0, 1}, {80, 0}})
    ->ArgNames({"open", "line"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv, flow::SetupPalette);
}

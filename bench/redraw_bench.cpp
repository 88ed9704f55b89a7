// Time of one full redraw (hit test included) at 1280 x 800 for generated circuits of 100,
// 1,000, 5,000, 10,000 and 100,000 nodes with as many wires and comments; and what the overview
// adds to a frame. Arguments: node count; 0 for the camera at 1:1 on the circuit's middle (most of
// the circuit lies off the canvas) or 1 for a camera zoomed out until the whole circuit shows; the
// device pixel ratio (2: a screen scaled to 200 %, four times the pixels); 1 for value labels on,
// with a value on every wire as a run would leave them.

#include "GeneratedCircuit.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "engine/RunSession.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Overview.h"
#include "render/Palette.h"
#include "render/Redraw.h"
#include "render/ValueLabels.h"
#include "support/BenchmarkMain.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace flow;

// The 10,000-node circuit has a comment for every tenth node, as in the goals.
int CommentsFor(int count) {
    return count >= 10000 ? count / 10 : count;
}

// One frame, kept out of line so that an instruction counter can measure the frames alone:
//   valgrind --tool=callgrind --toggle-collect='*OneFrame*' redraw_bench --benchmark_filter=...
[[gnu::noinline]] void OneFrame(CircuitView& view, QImage& image) {
    view.Set(InteractionFlag::HoverFound, false);
    RedrawViewInto(view, image);
    benchmark::DoNotOptimize(image.constBits());
}

void RedrawLoop(benchmark::State& state, CircuitView& view, int ratio) {
    // The mouse rests on empty canvas between nodes, so the hit test tries every object.
    view.MouseX = view.CameraX + kGeneratedSpacing / 2 + 3;
    view.MouseY = view.CameraY + kGeneratedSpacing / 2 - 30;
    QImage image(1280 * ratio, 800 * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    RedrawViewInto(view, image); // first layout of every comment and constant
    for (auto _ : state)
        OneFrame(view, image);
    state.counters["wires"] = double(view.Circuit->MainFrame.Wires.size());
    state.counters["magnification"] = view.Magnification;
}

// Every wire's input holds a value of the latest run, of its own type.
void LeaveValuesOfARun(RunSession& run) {
    run.RunNumber = 1;
    for (const auto& wire : run.Target()->MainFrame.Wires) {
        Port* input = wire->Destination;
        run.Prepare(*input->Node);
        PortRun& slot = *run.SlotOf(*input);
        slot.ValueRun = 1;
        slot.ValueType = input->Type == PortType::Generic ? PortType::Integer : input->Type;
        slot.Value = 12345;
        slot.Text = QStringLiteral("text");
    }
}

void BM_Redraw(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const bool whole = state.range(1) != 0;
    const int ratio = static_cast<int>(state.range(2));
    const bool labels = state.range(3) != 0;
    Circuit& circuit = NewCircuit();
    GenerateCircuit(circuit, count, CommentsFor(count));
    RunSession run(circuit);
    ShowValueLabels(labels);
    if (labels) LeaveValuesOfARun(run);
    CircuitView view(circuit);
    view.TakeSavedCamera();
    view.Run = &run;
    if (whole) {
        view.ZoomLevel = WholeCircuitZoom(count, 800);
        view.Magnification = std::exp2(view.ZoomLevel);
    }
    RedrawLoop(state, view, ratio);
    ShowValueLabels(false);
    CloseCircuit(circuit);
}

BENCHMARK(BM_Redraw)
    ->ArgsProduct({{100, 1000, 5000, 10000}, {0, 1}, {1}, {0}})
    ->ArgsProduct({{10000}, {0, 1}, {1}, {1}})
    ->ArgsProduct({{100, 1000}, {0, 1}, {2}, {0}})
    ->ArgsProduct({{100000}, {0, 1}, {1}, {0}})
    ->ArgNames({"nodes", "whole", "ratio", "labels"})
    ->Unit(benchmark::kMillisecond);

// The fixed cost of a frame: background, grid and origin marker only.
void BM_EmptyFrame(benchmark::State& state) {
    Circuit& circuit = NewCircuit();
    const RunSession run(circuit);
    CircuitView view(circuit);
    view.Run = &run;
    RedrawLoop(state, view, 1);
    CloseCircuit(circuit);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

// The overview at 10,000 nodes. Arguments: 0 for its cost in a frame whose circuit did not
// change (the kept map drawn with the frame of what the canvas shows), 1 for a frame after a
// change, which makes the map again; 1 for a full redraw with the overview on around it.
void BM_Overview(benchmark::State& state) {
    const bool remade = state.range(0) != 0;
    const bool wholeFrame = state.range(1) != 0;
    Circuit& circuit = NewCircuit();
    GenerateCircuit(circuit, 10000, CommentsFor(10000));
    CircuitView view(circuit);
    view.TakeSavedCamera();
    ShowOverview(true);
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    RedrawViewInto(view, image);
    Node& moved = *circuit.MainFrame.Nodes.front();
    for (auto _ : state) {
        if (remade) {
            // An edit between frames: the scene index sees it and the map follows.
            state.PauseTiming();
            moved.X += 1;
            view.Index.Refresh(circuit.MainFrame);
            state.ResumeTiming();
        }
        if (wholeFrame) {
            OneFrame(view, image);
        } else {
            RefreshOverview(view, 1);
            QPainter painter(&image);
            DrawOverview(painter, view);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    ShowOverview(false);
    CloseCircuit(circuit);
}
BENCHMARK(BM_Overview)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"changed", "frame"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv, flow::SetupPalette);
}

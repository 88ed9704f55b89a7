// Time of one full redraw (hit test included) at 1280 x 800 for generated circuits of 100,
// 1,000 and 5,000 nodes with as many wires and comments.
// Arguments: node count; 0 for the camera at 1:1 on the circuit's middle (most of the circuit
// lies off the canvas) or 1 for a camera zoomed out until the whole circuit shows; the device
// pixel ratio (2: a screen scaled to 200 %, four times the pixels).

#include "GeneratedCircuit.h"
#include "editor/canvas/EditorState.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Palette.h"
#include "render/Redraw.h"
#include "support/BenchmarkMain.h"

#include <QGuiApplication>
#include <QImage>
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
[[gnu::noinline]] void OneFrame(Circuit& circuit, QImage& image) {
    Editor().Set(InteractionFlag::HoverFound, false);
    RedrawCircuitInto(circuit, image);
    benchmark::DoNotOptimize(image.constBits());
}

void RedrawLoop(benchmark::State& state, Circuit& circuit, int ratio) {
    // The mouse rests on empty canvas between nodes, so the hit test tries every object.
    Editor().MouseX = circuit.CameraX + kGeneratedSpacing / 2 + 3;
    Editor().MouseY = circuit.CameraY + kGeneratedSpacing / 2 - 30;
    QImage image(1280 * ratio, 800 * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    RedrawCircuitInto(circuit, image); // first layout of every comment and constant
    for (auto _ : state)
        OneFrame(circuit, image);
    state.counters["wires"] = double(circuit.MainFrame.Wires.size());
    state.counters["magnification"] = circuit.Magnification;
}

void BM_Redraw(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const bool whole = state.range(1) != 0;
    const int ratio = static_cast<int>(state.range(2));
    Circuit& circuit = NewCircuit();
    GenerateCircuit(circuit, count, CommentsFor(count));
    if (whole) {
        circuit.ZoomLevel = WholeCircuitZoom(count, 800);
        circuit.Magnification = std::exp2(circuit.ZoomLevel);
    }
    RedrawLoop(state, circuit, ratio);
    CloseCircuit(circuit);
}

BENCHMARK(BM_Redraw)
    ->ArgsProduct({{100, 1000, 5000, 10000}, {0, 1}, {1}})
    ->ArgsProduct({{100, 1000}, {0, 1}, {2}})
    ->Args({100000, 1, 1})
    ->ArgNames({"nodes", "whole", "ratio"})
    ->Unit(benchmark::kMillisecond);

// The fixed cost of a frame: background, grid and origin marker only.
void BM_EmptyFrame(benchmark::State& state) {
    Circuit& circuit = NewCircuit();
    RedrawLoop(state, circuit, 1);
    CloseCircuit(circuit);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv, flow::SetupPalette);
}

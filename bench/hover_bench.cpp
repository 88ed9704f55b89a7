// One mouse move over a circuit of 1,000 nodes, and over 10,000: the event handler and the
// redraw with its hit test, on a 1280 x 800 canvas; one wheel notch over 10,000 nodes. The hit
// test alone is timed too, to tell finding what is under the mouse apart from drawing. And a
// hover change from one node to its neighbour with 10,000 in view, beside a full frame of the
// same view.

#include "GeneratedCircuit.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/HitTestPass.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/EditorProcess.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Camera.h"
#include "support/BenchmarkMain.h"

#include <QApplication>
#include <QLabel>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace flow;

constexpr int kCanvasWidth = 1280, kCanvasHeight = 800;

// 40 columns by 25 rows of nodes, 64 units apart, around the origin; every operator is fed by
// the constant to its left, so about half the nodes carry a wire.
Circuit& ThousandNodes(float zoomLevel) {
    static const char* const functions[] = {"Constant", "Plus",     "Print", "And",
                                            "ToString", "Constant", "Times", "Not"};
    Circuit& circuit = NewCircuit();
    circuit.Saved.ZoomLevel = zoomLevel;
    circuit.Saved.Magnification = std::exp2(zoomLevel);
    for (int row = 0; row < 25; ++row) {
        for (int column = 0; column < 40; ++column) {
            FunctionDef* function = FindFunction(functions[(row + column) % 8]);
            Implementation* implementation =
                function == Catalogue().Constant ? Catalogue().ConstantInteger : nullptr;
            Node* node = AddNode(&circuit.MainFrame, function, implementation);
            node->X = column * 64 - 1280;
            node->Y = row * 64 - 800;
        }
    }
    const auto& nodes = circuit.MainFrame.Nodes;
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        Node* left = nodes[i - 1].get();
        Node* node = nodes[i].get();
        if (IsConstant(*left) && !IsConstant(*node) && node->PortArray.size() > 1)
            ConnectPorts(left->PortArray[1], node->PortArray[1]);
    }
    return circuit;
}

// One event, kept out of line so that an instruction counter can measure the events alone
// (bench/instructions.sh).
[[gnu::noinline]] void OneEvent(Circuit& circuit, const CanvasInput& input) {
    OnCanvasEvent(circuit, input);
}

// The view of a window of the benchmark's size, with its canvas and status line, for the
// circuit's events.
struct CanvasFor {
    explicit CanvasFor(Circuit& shown) : view(shown), canvas(shown) {
        canvas.resize(kCanvasWidth, kCanvasHeight);
        view.TakeSavedCamera();
        for (auto& field : view.StatusFields)
            field = new QLabel(&statusLine);
        view.Canvas = &canvas;
        view.StatusLine = &statusLine;
        ListView(view);
    }
    ~CanvasFor() { UnlistView(view); }
    CircuitView view;
    CircuitCanvas canvas;
    QWidget statusLine;
};

// Moves across the canvas, over nodes, ports and empty space in turn.
void MoveAcross(benchmark::State& state, Circuit& circuit) {
    CanvasFor canvas(circuit);
    CanvasInput move;
    move.Type = CanvasEvent::MouseMove;
    OnCanvasEvent(circuit, move); // the first redraw lays out and makes the sprites
    int step = 0;
    for (auto _ : state) {
        move.PixelX = (step * 37) % kCanvasWidth;
        move.PixelY = (step * 23) % kCanvasHeight;
        ++step;
        OneEvent(circuit, move);
    }
}

// The generated circuit of 10,000 nodes, 10,000 wires and 1,000 comments, wholly in view.
Circuit& TenThousandNodes() {
    Circuit& circuit = NewCircuit();
    GenerateCircuit(circuit, 10000, 1000);
    circuit.Saved.ZoomLevel = WholeCircuitZoom(10000, kCanvasHeight);
    circuit.Saved.Magnification = std::exp2(circuit.Saved.ZoomLevel);
    return circuit;
}

void BM_MouseMoveTenThousand(benchmark::State& state) {
    MoveAcross(state, TenThousandNodes());
}
BENCHMARK(BM_MouseMoveTenThousand)->Unit(benchmark::kMillisecond);

// One wheel notch at a time, in and out in turn, around the middle of the canvas.
void BM_WheelNotchTenThousand(benchmark::State& state) {
    Circuit& circuit = TenThousandNodes();
    CanvasFor canvas(circuit);
    CanvasInput wheel;
    wheel.Type = CanvasEvent::MouseWheel;
    wheel.PixelX = kCanvasWidth / 2 + 17;
    wheel.PixelY = kCanvasHeight / 2 - 11;
    int notches = 1;
    // The first redraws lay out and make the sprites of both zoom levels.
    for (int i = 0; i < 2; ++i) {
        wheel.Notches = notches;
        notches = -notches;
        OnCanvasEvent(circuit, wheel);
    }
    for (auto _ : state) {
        wheel.Notches = notches;
        notches = -notches;
        OneEvent(circuit, wheel);
    }
}
BENCHMARK(BM_WheelNotchTenThousand)->Unit(benchmark::kMillisecond);

// The pointer over the middle of the node, as a move event.
CanvasInput MoveOnto(const CircuitView& view, const Node& node) {
    CanvasInput move;
    move.Type = CanvasEvent::MouseMove;
    move.PixelX = ToScreenX(view, double(node.X + node.Width / 2));
    move.PixelY = ToScreenY(view, double(node.Y + node.Height / 2));
    return move;
}

// Two nodes next to each other in the middle of the 10,000, each found under the pointer at its
// middle (a constant's box lies left of its place, so some are not).
struct Neighbours {
    explicit Neighbours(CanvasFor& canvas) {
        const auto& nodes = canvas.view.Circuit->MainFrame.Nodes;
        const std::size_t row = 50 * std::size_t(GeneratedColumns(10000));
        for (std::size_t i = row; i < row + 100 && !second; ++i) {
            Node& node = *nodes[i];
            OnCanvasEvent(canvas.view, MoveOnto(canvas.view, node));
            if (canvas.view.HoveredNode == &node) (first ? second : first) = &node;
        }
    }
    Node* first = nullptr;
    Node* second = nullptr;
    bool ok() const { return first && second; }
};

// The pointer goes from one node to the other and back: each move changes the highlight of two
// nodes and nothing else.
void BM_HoverChangeTenThousand(benchmark::State& state) {
    CanvasFor canvas(TenThousandNodes());
    Neighbours neighbours(canvas);
    if (!neighbours.ok()) state.SkipWithError("the pointer finds no node");
    const CanvasInput moves[] = {MoveOnto(canvas.view, *neighbours.first),
                                 MoveOnto(canvas.view, *neighbours.second)};
    int step = 0;
    for (auto _ : state)
        OneEvent(*canvas.view.Circuit, moves[step++ % 2]);
}
BENCHMARK(BM_HoverChangeTenThousand)->Unit(benchmark::kMillisecond);

[[gnu::noinline]] void OneFullFrame(CircuitView& view) {
    RedrawView(view);
}

// The same view drawn whole, the pointer resting on a node.
void BM_FullFrameTenThousand(benchmark::State& state) {
    CanvasFor canvas(TenThousandNodes());
    Neighbours neighbours(canvas);
    if (!neighbours.ok()) state.SkipWithError("the pointer finds no node");
    for (auto _ : state)
        OneFullFrame(canvas.view);
}
BENCHMARK(BM_FullFrameTenThousand)->Unit(benchmark::kMillisecond);

void MouseMoves(benchmark::State& state, float zoomLevel) {
    MoveAcross(state, ThousandNodes(zoomLevel));
}

// All 1,000 nodes in view (half magnification).
void BM_MouseMoveAllInView(benchmark::State& state) {
    MouseMoves(state, -1.0f);
}
BENCHMARK(BM_MouseMoveAllInView)->Unit(benchmark::kMillisecond);

// A quarter of them in view (magnification 1).
void BM_MouseMoveQuarterInView(benchmark::State& state) {
    MouseMoves(state, 0.0f);
}
BENCHMARK(BM_MouseMoveQuarterInView)->Unit(benchmark::kMillisecond);

[[gnu::noinline]] void OnePass(CircuitView& view) {
    view.Set(InteractionFlag::HoverFound, false);
    HitTestPass(view);
}

void BM_HitTestPassOnly(benchmark::State& state) {
    CircuitView view(ThousandNodes(-1.0f));
    view.TakeSavedCamera();
    view.CanvasWidth = kCanvasWidth;
    view.CanvasHeight = kCanvasHeight;
    HitTestPass(view); // the first pass lays out every constant
    int step = 0;
    for (auto _ : state) {
        view.MouseX = (step * 37) % 2560 - 1280;
        view.MouseY = (step * 23) % 1600 - 800;
        ++step;
        OnePass(view);
    }
}
BENCHMARK(BM_HitTestPassOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, flow::SetupResources);
}

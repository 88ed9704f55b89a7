// Time of one full redraw (hit test included) at 1280 x 800 for generated circuits of 100,
// 1,000 and 5,000 nodes with as many wires and comments.
// Arguments: node count, then 0 for the camera at 1:1 on the circuit's middle (most of the
// circuit lies off the canvas) or 1 for a camera zoomed out until the whole circuit shows.

#include "editor/EditorState.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Palette.h"
#include "render/Redraw.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace flow;

constexpr Int kSpacing = 120;

// Nodes on a square grid, cycling through the catalogue, each with a comment below it.
void Generate(Circuit& circuit, int count) {
    const auto& functions = Catalogue().InOrder;
    const int columns = static_cast<int>(std::ceil(std::sqrt(count)));
    std::vector<Node*> nodes;
    for (int i = 0; i < count; ++i) {
        FunctionDef* function = functions[i % functions.size()];
        Implementation* implementation =
            function == Catalogue().Constant ? Catalogue().ConstantInteger : nullptr;
        Node* node = AddNode(&circuit.MainFrame, function, implementation);
        node->X = (i % columns) * kSpacing;
        node->Y = (i / columns) * kSpacing;
        nodes.push_back(node);
        AddComment(&circuit.MainFrame, QString("Note %1\nline two").arg(i), node->X + 10,
                   node->Y + 50);
    }
    auto output = [](Node* node) -> Port* {
        for (const auto& port : node->Ports)
            if (port->Direction & Direction::Out) return port.get();
        return nullptr;
    };
    auto freeInput = [](Node* node) -> Port* {
        for (const auto& port : node->Ports)
            if ((port->Direction & Direction::In) && !port->Source) return port.get();
        return nullptr;
    };
    // Outputs feed free inputs of the next few nodes, a second round where one wire per
    // output is not enough to reach the count.
    int made = 0;
    for (int round = 0; round < 2 && made < count; ++round) {
        for (int i = 0; i < count && made < count; ++i) {
            Port* out = output(nodes[i]);
            for (int step = 1; out && step <= 8; ++step) {
                Port* in = freeInput(nodes[(i + step) % count]);
                if (in && ConnectPorts(out, in)) {
                    ++made;
                    break;
                }
            }
        }
    }
    const Int extent = columns * kSpacing;
    circuit.CameraX = extent / 2;
    circuit.CameraY = extent / 2;
}

void BM_Redraw(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const bool whole = state.range(1) != 0;
    Circuit& circuit = NewCircuit();
    Generate(circuit, count);
    if (whole) {
        const double extent = std::ceil(std::sqrt(count)) * kSpacing + kSpacing;
        circuit.ZoomLevel = static_cast<float>(std::floor(4 * std::log2(800 / extent)) / 4);
        circuit.Magnification = std::exp2(circuit.ZoomLevel);
    }
    // The mouse rests on empty canvas between nodes, so the hit test tries every object.
    Editor().MouseX = circuit.CameraX + kSpacing / 2 + 3;
    Editor().MouseY = circuit.CameraY + kSpacing / 2 - 30;
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    RedrawCircuitInto(circuit, image); // first layout of every comment and constant
    for (auto _ : state) {
        Editor().Set(InteractionFlag::HoverFound, false);
        RedrawCircuitInto(circuit, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["wires"] = double(circuit.MainFrame.Wires.size());
    state.counters["magnification"] = circuit.Magnification;
    CloseCircuit(circuit);
}

BENCHMARK(BM_Redraw)
    ->ArgsProduct({{100, 1000, 5000}, {0, 1}})
    ->ArgNames({"nodes", "whole"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterCatalogue();
    SetupPalette();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Wires whose end lies behind their start (a node into itself, or back into a node beside it)
// go around below the nodes: they are seen there, and a click where they are seen takes them.

#include "EditorFixture.h"

#include "editor/canvas/CanvasRedraw.h"
#include "render/Palette.h"

#include <cstdlib>
#include <optional>

namespace flow::test {
namespace {

using CanvasInteractionBackwardWiresTest = EditorFixture;

Node& AddAt(Circuit& circuit, const char* function, Int x, Int y) {
    Node& node = *AddNode(&circuit.MainFrame, FindFunction(QString::fromLatin1(function)), nullptr);
    node.X = x;
    node.Y = y;
    return node;
}

// The first canvas pixel, going down the column at circuit x from circuit y, that shows the
// colour; none within the canvas. Read from the picture, not from the wire's geometry.
std::optional<QPoint> FirstPixelOf(const Circuit& circuit, QRgb color, double x, double fromY) {
    const QImage& image = WindowOf(circuit)->Canvas()->Surface();
    const double ratio = image.devicePixelRatio();
    const CircuitView& view = *ViewOf(circuit);
    const auto toPixel = [&](double unit, Int camera, int canvas) {
        return (unit - double(camera)) * double(view.Magnification) + canvas / 2.0;
    };
    const int column = int(toPixel(x, view.CameraX, view.CanvasWidth) * ratio);
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b)) <
               24;
    };
    for (int row = int(toPixel(fromY, view.CameraY, view.CanvasHeight) * ratio);
         row < image.height(); ++row)
        if (near(image.pixel(column, row), color)) return QPoint(column, row) / ratio;
    return std::nullopt;
}

TEST_F(CanvasInteractionBackwardWiresTest, SelfAndBackwardWiresAreSeenAndTakenBelowTheirNodes) {
    Circuit& circuit = OpenWindow();
    Node& not1 = AddAt(circuit, "Not", -100, -60);
    Wire& self = *ConnectPorts(not1.PortArray[2], not1.PortArray[1]);
    Node& first = AddAt(circuit, "Plus", 0, 40);
    Node& second = AddAt(circuit, "Plus", 100, 50); // beside the first, a little lower
    Node& one = AddAt(circuit, "Constant", -100, 40);
    ConnectPorts(one.PortArray[1], first.PortArray[1]);
    ConnectPorts(first.PortArray[3], second.PortArray[1]);
    ConnectPorts(one.PortArray[1], second.PortArray[2]);
    Wire& back = *ConnectPorts(second.PortArray[3], first.PortArray[2]);
    RedrawCircuit(circuit);

    const struct {
        Wire& Taken;
        QRgb Color;
        double X, Below;
    } cases[] = {
        {self, PortTypeColor(PortType::Boolean), not1.X + not1.Width / 2.0,
         double(not1.Y + not1.Height)},
        // Halfway between the two nodes, below the lower one: no other wire runs there.
        {back, PortTypeColor(PortType::Integer), (first.X + first.Width + second.X) / 2.0,
         double(second.Y + second.Height)},
    };
    for (const auto& wire : cases) {
        const std::optional<QPoint> seen = FirstPixelOf(circuit, wire.Color, wire.X, wire.Below);
        ASSERT_TRUE(seen) << "no wire drawn below the nodes";
        MoveToPixel(circuit, *seen);
        EXPECT_EQ(StatusText(circuit, StatusField::Hover).left(4), QStringLiteral("Wire"));
        QTest::mouseClick(&CanvasOf(circuit), Qt::LeftButton, Qt::NoModifier, *seen);
        EXPECT_TRUE(wire.Taken.Flags & ObjectFlag::Selected);
        for (const auto& node : circuit.MainFrame.Nodes)
            EXPECT_FALSE(node->Flags & ObjectFlag::Selected);
        Click(circuit, 300, 250); // empty canvas: nothing selected for the next case
    }
}

} // namespace
} // namespace flow::test

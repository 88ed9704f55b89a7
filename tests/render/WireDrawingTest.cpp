#include "support/SceneFixture.h"

#include "render/WireGeometry.h"

#include <QPainterPath>

namespace flow {
namespace {

using namespace flow::test;

constexpr QRgb kStringColor = 0xFFE000A0;

std::vector<QPointF> Points(const QPainterPath& path) {
    std::vector<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.push_back(path.elementAt(i));
    return points;
}

class WireDrawingTest : public SceneFixture {
  protected:
    // A ToString output (String, at (45, 8)) wired straight to a Print input at (x + 3, 8).
    Wire* StraightWire(Int printX) {
        source = Add("ToString", 0, 0);
        print = Add("Print", printX, -12);
        return ConnectPorts(source->PortArray[2], print->PortArray[1]);
    }
    int Count(const QImage& image, int y, int from, int to, QRgb color) {
        int count = 0;
        for (int x = from; x < to; ++x)
            count += image.pixel(x, y) == color;
        return count;
    }
    Node* source = nullptr;
    Node* print = nullptr;
};

TEST_F(WireDrawingTest, CurveReachGrowsWithTheSquareRootOfTheLength) {
    // Output at (29, 16) of a Plus at the origin; a Print input 100 units to its right.
    Node* plus = Add("Plus", 0, 0);
    Node* printer = Add("Print", 126, -4);
    Wire* wire = ConnectPorts(plus->PortArray[3], printer->PortArray[1]);
    ASSERT_NE(wire, nullptr);
    auto points = Points(WireCurve(*wire, &view));
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0], QPointF(29, 16));
    EXPECT_EQ(points[1], QPointF(69, 16)); // k = 4 * sqrt(100) = 40
    EXPECT_EQ(points[2], QPointF(89, 16));
    EXPECT_EQ(points[3], QPointF(129, 16));

    // 30 across and 40 down: k = 4 * sqrt(50) = 28.28, rounded to 28.
    printer->X = 29 + 30 - 3;
    printer->Y = 16 + 40 - 20;
    points = Points(WireCurve(*wire, &view));
    EXPECT_EQ(points[1], QPointF(57, 16));
    EXPECT_EQ(points[2], QPointF(31, 56));

    // Ports at the same place: the curve collapses to a point.
    printer->X = 26;
    printer->Y = -4;
    for (QPointF p : Points(WireCurve(*wire, &view)))
        EXPECT_EQ(p, QPointF(29, 16));

    // A wire from an input leaves it to the left.
    Wire reversed;
    reversed.Source = printer->PortArray[1];
    reversed.Destination = plus->PortArray[3];
    printer->X = 126;
    points = Points(WireCurve(reversed, &view));
    EXPECT_EQ(points[1], QPointF(89, 16));
    EXPECT_EQ(points[2], QPointF(69, 16));
}

TEST_F(WireDrawingTest, EndsFollowSelectedNodesWhileDragged) {
    Wire* wire = StraightWire(200);
    source->Flags |= ObjectFlag::Selected;
    view.Press = press::Held{0, 0, false};
    EXPECT_EQ(WireCurve(*wire, &view).elementAt(0), QPointF(45, 8)); // no drag yet
    view.Press = press::Dragging{0, 0, 10, -20};
    const QPainterPath curve = WireCurve(*wire, &view);
    EXPECT_EQ(QPointF(curve.elementAt(0)), QPointF(55, -12));
    EXPECT_EQ(QPointF(curve.elementAt(3)), QPointF(203, 8)); // the print is not selected
}

TEST_F(WireDrawingTest, ValidWireIsSolidInTheOutputsTypeColor) {
    StraightWire(200);
    const QImage image = Render();
    // y = 8 is pixel row 308; the 2-wide line covers rows 307 and 308 from x = 445 to 603.
    EXPECT_EQ(Count(image, 307, 460, 590, kStringColor), 130);
    EXPECT_EQ(Count(image, 308, 460, 590, kStringColor), 130);
    EXPECT_EQ(Count(image, 306, 460, 590, kStringColor), 0);
}

TEST_F(WireDrawingTest, InvalidWireIsGreyAndDashed) {
    source = Add("ToString", 0, 0);
    Node* target = Add("ToString", 200, 0); // its input takes integers, not strings
    ASSERT_NE(ConnectPorts(source->PortArray[2], target->PortArray[1]), nullptr);
    Zoom(1); // the 1-wide line then covers whole pixel rows 315 and 316
    const QImage image = Render();
    const int grey = Count(image, 315, 510, 800, 0xFF808080);
    EXPECT_GT(grey, 60);
    EXPECT_LT(grey, 240);
    EXPECT_EQ(Count(image, 315, 510, 800, kStringColor), 0);
    // The dash pattern starts 4 units in, with a gap: dashes lie 4..8, 12..16, 20..24 units
    // from the start at pixel 490 (two pixels a unit).
    EXPECT_EQ(image.pixel(490 + 2 * 10, 315), 0xFF202020u);
    EXPECT_EQ(image.pixel(490 + 2 * 14, 315), 0xFF808080u);
    EXPECT_EQ(image.pixel(490 + 2 * 18, 315), 0xFF202020u);
    EXPECT_EQ(image.pixel(490 + 2 * 22, 315), 0xFF808080u);
}

TEST_F(WireDrawingTest, SelectedWireHasALightBorderAroundADarkBand) {
    Wire* wire = StraightWire(200);
    wire->Flags |= ObjectFlag::Selected;
    const QImage image = Render();
    EXPECT_EQ(image.pixel(524, 305), 0xFFC0C0C0u);
    EXPECT_EQ(image.pixel(524, 306), 0xFF202020u);
    EXPECT_EQ(image.pixel(524, 307), kStringColor);
    EXPECT_EQ(image.pixel(524, 308), kStringColor);
    EXPECT_EQ(image.pixel(524, 309), 0xFF202020u);
    EXPECT_EQ(image.pixel(524, 310), 0xFFC0C0C0u);
}

TEST_F(WireDrawingTest, DraggedWireDanglesToTheMouseOrSnapsToTheHoveredPort) {
    source = Add("ToString", 0, 0);
    print = Add("Print", 200, -12);
    view.WireSource = source->PortArray[2];
    view.MouseX = 245;
    view.MouseY = 8;
    QImage image = Render();
    const int dashed = Count(image, 307, 460, 640, kStringColor);
    EXPECT_GT(dashed, 60);
    EXPECT_LT(dashed, 170);

    // The hit test of the redraw finds the print's input under the mouse, and the
    // provisional wire ends there, solid, as the final wire would be.
    view.MouseX = 203;
    image = Render();
    EXPECT_EQ(view.HoveredPort, print->PortArray[1]);
    EXPECT_EQ(Count(image, 307, 460, 590, kStringColor), 130);
}

} // namespace
} // namespace flow

// The view on the canvas: wheel zoom about the pointer, panning with the middle button, and
// placements cancelled; and a view that stays usable at both ends of the zoom.

#include "EditorFixture.h"
#include "support/Growth.h"

#include "editor/actions/AddNodeMenu.h"

#include <QApplication>
#include <QMenu>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace flow::test {
namespace {

using CanvasInteractionViewTest = EditorFixture;

// How many times longer than at zoom 0 a redraw may take at either end of the zoom. As close as
// the guard lets the camera go, a wire or a comment takes about a hundred times as long as the
// whole canvas at zoom 0, at either screen scale; every level further in would double that.
constexpr double kZoomEndsLimit = 500;

void Wheel(Circuit& circuit, QPoint pixel, int delta) {
    QWidget& canvas = *WindowOf(circuit)->Canvas();
    QWheelEvent wheel(pixel, canvas.mapToGlobal(pixel), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &wheel);
}

TEST_F(CanvasInteractionViewTest, WheelZoomKeepsThePointUnderThePointer) {
    Circuit& circuit = OpenWindow();
    const QPoint pixel = PixelOf(circuit, 200, -150);
    MoveTo(circuit, 200, -150);
    Wheel(circuit, pixel, 4 * 120);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->Magnification, 2.0f);
    EXPECT_EQ(PixelOf(circuit, 200, -150), pixel);

    // Half notches add up to one.
    Wheel(circuit, pixel, 60);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 1.0f);
    Wheel(circuit, pixel, 60);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 1.25f);

    // Far out and far in, the view stays usable.
    for (int i = 0; i < 500; ++i)
        Wheel(circuit, pixel, -120);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, kMinZoomLevel);
    EXPECT_GT(ViewOf(circuit)->Magnification, 0.0f);
    for (int i = 0; i < 1000; ++i)
        Wheel(circuit, pixel, 120);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, kMaxZoomLevel);
    EXPECT_TRUE(std::isfinite(ViewOf(circuit)->Magnification));
    const Int x = ViewOf(circuit)->MouseX;
    Wheel(circuit, pixel, -120);
    EXPECT_EQ(ViewOf(circuit)->MouseX, x);
}

TEST_F(CanvasInteractionViewTest, MiddleDragPansWithTheGrabbedPointUnderThePointer) {
    Circuit& circuit = OpenWindow();
    Press(circuit, 50, 40, Qt::MiddleButton);
    EXPECT_EQ(CanvasOf(circuit).cursor().shape(), Qt::SizeAllCursor);
    const QPoint target = PixelOf(circuit, 150, 100);
    MoveToPixel(circuit, target - QPoint(60, 20), Qt::MiddleButton);
    MoveToPixel(circuit, target, Qt::MiddleButton);
    QTest::mouseRelease(&CanvasOf(circuit), Qt::MiddleButton, Qt::NoModifier, target);
    EXPECT_EQ(ViewOf(circuit)->CameraX, -100);
    EXPECT_EQ(ViewOf(circuit)->CameraY, -60);
    EXPECT_EQ(PixelOf(circuit, 50, 40), target);
    EXPECT_EQ(CanvasOf(circuit).cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CanvasInteractionViewTest, EscapeAndRightClickCancelAPlacement) {
    Circuit& circuit = OpenWindow();
    OnMenu(circuit, AddNodeCommand("Plus (+)"));
    ASSERT_NE(ViewOf(circuit)->Preview.Function, nullptr);
    EXPECT_EQ(ViewOf(circuit)->Preview.Function->Name, "Plus");
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(ViewOf(circuit)->Preview.Function, nullptr);

    OnMenu(circuit, AddNodeCommand("Constant (True)"));
    EXPECT_EQ(ViewOf(circuit)->Preview.PortArray[1]->Value, 1);
    EXPECT_EQ(ViewOf(circuit)->Preview.Implementation, Catalogue().ConstantBoolean);
    Press(circuit, 10, 10, Qt::RightButton);
    Release(circuit, 10, 10, Qt::RightButton);
    EXPECT_EQ(ViewOf(circuit)->Preview.Function, nullptr);
    EXPECT_FALSE(AddNodeMenu()->isVisible()) << "the click that cancels opens no menu";
    Click(circuit, 10, 10);
    EXPECT_TRUE(circuit.MainFrame.Nodes.empty());

    // With nothing pending the right click opens the menu, one pixel up and left.
    Press(circuit, 10, 10, Qt::RightButton);
    Release(circuit, 10, 10, Qt::RightButton);
    EXPECT_TRUE(AddNodeMenu()->isVisible());
    const QPoint expected = CanvasOf(circuit).mapToGlobal(PixelOf(circuit, 10, 10)) - QPoint(1, 1);
    EXPECT_LE((AddNodeMenu()->pos() - expected).manhattanLength(), 1);
}

// Zoomed in on a wire, a node or a comment, or far out, every event still redraws about as
// quickly as at the ordinary zoom: the drawing of a curve grows with its length in pixels, which
// the zoom guard keeps in bounds. Against a redraw at zoom 0 on the same canvas, the size of
// the screen and the speed of the machine cancel out.
TEST_F(CanvasInteractionViewTest, TheViewStaysUsableAtBothEndsOfTheZoom) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -40, 0);
    Node& print = Place(circuit, "PrintN", 40, 0);
    ConnectPorts(constant.PortArray[1], print.PortArray[1]);
    DoubleClick(circuit, -60, -60);
    Type(circuit, "zoom");
    Click(circuit, 0, 150);
    // The fastest of a few notches, there and back: each redraws at the zoom it reaches.
    const auto notchThereAndBack = [&](QPoint pixel, int delta) {
        double fastest = std::numeric_limits<double>::infinity();
        for (int i = 0; i < 5; ++i)
            fastest = std::min(fastest, CpuSecondsOf([&] {
                                   Wheel(circuit, pixel, delta);
                                   Wheel(circuit, pixel, -delta);
                               }));
        return fastest;
    };
    for (const QPointF& at : {QPointF(30, 0), QPointF(0, 0), QPointF(-60, -58)}) {
        const QPoint pixel = PixelOf(circuit, at.x(), at.y());
        MoveTo(circuit, at.x(), at.y());
        const double ordinary = notchThereAndBack(pixel, 120);
        for (int i = 0; i < 200; ++i)
            Wheel(circuit, pixel, 120);
        EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, kMaxZoomLevel);
        const double closest = notchThereAndBack(pixel, -120);
        for (int i = 0; i < 400; ++i)
            Wheel(circuit, pixel, -120);
        EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, kMinZoomLevel);
        const double farthest = notchThereAndBack(pixel, 120);
        EXPECT_LT(std::max(closest, farthest) / ordinary, kZoomEndsLimit)
            << "around " << at.x() << ", " << at.y() << ": " << ordinary << " s at zoom 0, "
            << closest << " s closest, " << farthest << " s farthest";
        ViewOf(circuit)->ZoomLevel = 0.0f;
        ViewOf(circuit)->Magnification = 1.0f;
        ViewOf(circuit)->CameraX = ViewOf(circuit)->CameraY = 0;
    }
}

} // namespace
} // namespace flow::test

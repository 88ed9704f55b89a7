// The View menu: zooming by whole levels about the canvas centre, the actual size, a view of the
// whole circuit, and the overview's map.

#include "EditorFixture.h"

#include "editor/actions/ViewCommands.h"
#include "editor/canvas/CanvasRedraw.h"
#include "model/Placement.h"
#include "render/Camera.h"
#include "render/Overview.h"
#include "render/SceneVisibility.h"

#include <QMenuBar>
#include <QRandomGenerator>

namespace flow::test {
namespace {

using ViewCommandsTest = EditorFixture;

// Whether everything drawn for the circuit's objects lies on a canvas of this size, as the
// view shows them.
bool EverythingOnCanvas(const CircuitView& view, QSize canvas) {
    const Circuit& circuit = *view.Circuit;
    const QRect area(QPoint(0, 0), canvas);
    const auto inside = [&](QRectF bounds) {
        return area.contains(
                   QPoint(ToScreenX(view, bounds.left()), ToScreenY(view, bounds.top()))) &&
               area.contains(
                   QPoint(ToScreenX(view, bounds.right()), ToScreenY(view, bounds.bottom())));
    };
    for (const auto& node : circuit.MainFrame.Nodes)
        if (!inside(DrawnBounds(*node))) return false;
    for (const auto& comment : circuit.MainFrame.Comments)
        if (!inside(DrawnBounds(*comment))) return false;
    return true;
}

TEST_F(ViewCommandsTest, ZoomKeysStepWholeLevelsAboutTheCentreWithinTheGuard) {
    Circuit& circuit = OpenWindow();
    QStringList menus;
    for (QAction* menu : WindowOf(circuit)->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus.indexOf("View") + 1, menus.indexOf("Run"));

    ViewOf(circuit)->CameraX = 30;
    ViewOf(circuit)->CameraY = -40;
    Key(circuit, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 1.0f);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->Magnification, 2.0f);
    Key(circuit, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 2.0f);
    Key(circuit, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 1.0f);
    EXPECT_EQ(ViewOf(circuit)->CameraX, 30);
    EXPECT_EQ(ViewOf(circuit)->CameraY, -40) << "the point at the canvas centre stays there";

    for (int i = 0; i < 40; ++i)
        Key(circuit, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, kMaxZoomLevel);
    for (int i = 0; i < 80; ++i)
        Key(circuit, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, kMinZoomLevel);
    EXPECT_GT(ViewOf(circuit)->Magnification, 0.0f);
    Key(circuit, Qt::Key_1, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 0.0f);
    EXPECT_FLOAT_EQ(ViewOf(circuit)->Magnification, 1.0f);
    EXPECT_EQ(ViewOf(circuit)->CameraX, 30);
}

TEST_F(ViewCommandsTest, FitCircuitShowsEveryObjectInsideTheCanvas) {
    Circuit& circuit = OpenWindow();
    Key(circuit, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(ViewOf(circuit)->CameraX, 0) << "an empty circuit is shown at its origin";
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 0.0f);

    Node& far = Place(circuit, "Constant (Integer)", 0, 0);
    Place(circuit, "PrintN", 100, 50);
    far.X = -3000;
    far.Y = 2000;
    AddComment(&circuit.MainFrame, "far away\nand long", 4000, -1500)->Flags |=
        ObjectFlag::NeedsLayout;
    Key(circuit, Qt::Key_0, Qt::ControlModifier);
    const QSize canvas = CanvasOf(circuit).size();
    EXPECT_LT(ViewOf(circuit)->ZoomLevel, -3.0f);
    EXPECT_TRUE(EverythingOnCanvas(*ViewOf(circuit), canvas));

    // One small node is brought up close, still whole.
    DeleteComment(circuit.MainFrame.Comments.back().get());
    DeleteNode(&far);
    Key(circuit, Qt::Key_0, Qt::ControlModifier);
    EXPECT_GT(ViewOf(circuit)->ZoomLevel, 1.0f);
    EXPECT_TRUE(EverythingOnCanvas(*ViewOf(circuit), canvas));
}

// Any circuit on any canvas: everything fits, and one wheel notch closer would not.
TEST_F(ViewCommandsTest, FittedViewIsTheClosestThatShowsEverything) {
    QRandomGenerator random(20261207);
    Circuit& circuit = NewCircuit();
    CircuitView view(circuit);
    const QStringList functions = {"Constant", "Plus", "Print", "ToString", "Not"};
    for (int round = 0; round < 200; ++round) {
        while (!circuit.MainFrame.Nodes.empty())
            DeleteNode(circuit.MainFrame.Nodes.back().get());
        while (!circuit.MainFrame.Comments.empty())
            DeleteComment(circuit.MainFrame.Comments.back().get());
        const int spread = 1 << random.bounded(2, 16);
        const int count = random.bounded(1, 6);
        for (int i = 0; i < count; ++i) {
            Node* node =
                AddNode(&circuit.MainFrame,
                        FindFunction(functions[random.bounded(functions.size())]), nullptr);
            ASSERT_NE(node->Function, nullptr);
            node->X = random.bounded(-spread, spread);
            node->Y = random.bounded(-spread, spread);
        }
        if (random.bounded(2))
            AddComment(&circuit.MainFrame, "note", random.bounded(-spread, spread), 0)->Flags |=
                ObjectFlag::NeedsLayout;
        const QSize canvas(random.bounded(200, 1600), random.bounded(150, 1200));
        FitCircuitInView(view, canvas);
        view.CanvasWidth = canvas.width();
        view.CanvasHeight = canvas.height();
        ASSERT_TRUE(EverythingOnCanvas(view, canvas)) << "round " << round;
        if (view.ZoomLevel >= kMaxZoomLevel) continue;
        SetZoomLevel(view, view.ZoomLevel + 0.25f);
        QRectF bounds;
        for (const auto& node : circuit.MainFrame.Nodes)
            bounds |= DrawnBounds(*node);
        for (const auto& comment : circuit.MainFrame.Comments)
            bounds |= DrawnBounds(*comment);
        const double m = view.Magnification;
        EXPECT_TRUE((bounds.width() + 2) * m > canvas.width() - 40 ||
                    (bounds.height() + 2) * m > canvas.height() - 40)
            << "round " << round << ": a closer view would still fit";
    }
}

TEST_F(ViewCommandsTest, TheOverviewIsKeptInTheSettingsAndMovesTheViewWhereItIsClicked) {
    Circuit& circuit = OpenWindow();
    CircuitView& view = *ViewOf(circuit);
    Node& topLeft = *AddNode(&circuit.MainFrame, FindFunction("Plus"), nullptr);
    Node& bottomRight = *AddNode(&circuit.MainFrame, FindFunction("Plus"), nullptr);
    topLeft.X = -2000;
    topLeft.Y = -1000;
    bottomRight.X = 2000;
    bottomRight.Y = 1000;
    RedrawCircuit(circuit);
    EXPECT_FALSE(OverviewShown()) << "off at first";
    EXPECT_TRUE(view.Overview.Picture.isNull()) << "nothing is made of it while it is off";

    OnMenu(circuit, Command::Overview);
    ASSERT_TRUE(OverviewShown());
    ShowOverview(false);
    RecallOverview(); // as the next start does
    EXPECT_TRUE(OverviewShown());
    const QRectF map = OverviewRect(view);
    ASSERT_FALSE(map.isEmpty());
    EXPECT_TRUE(QRectF(0, 0, view.CanvasWidth, view.CanvasHeight).contains(map));

    // A click near the map's corner shows that corner's node; a drag follows the pointer.
    QTest::mouseClick(&CanvasOf(circuit), Qt::LeftButton, Qt::NoModifier,
                      (map.topLeft() + QPointF(3, 3)).toPoint());
    EXPECT_LT(std::abs(view.CameraX - topLeft.X), 200);
    EXPECT_LT(std::abs(view.CameraY - topLeft.Y), 200);
    EXPECT_FALSE(topLeft.Flags & ObjectFlag::Selected);
    QTest::mousePress(&CanvasOf(circuit), Qt::LeftButton, Qt::NoModifier, map.center().toPoint());
    EXPECT_LT(std::abs(view.CameraX), 100);
    MoveToPixel(circuit, (map.bottomRight() + QPointF(40, 40)).toPoint(), Qt::LeftButton);
    QTest::mouseRelease(&CanvasOf(circuit), Qt::LeftButton, Qt::NoModifier,
                        (map.bottomRight() + QPointF(40, 40)).toPoint());
    // Past the map's edge the view stops at the map's corner, just beyond the last node.
    EXPECT_LT(std::abs(view.CameraX - bottomRight.X), 400);
    EXPECT_LT(std::abs(view.CameraY - bottomRight.Y), 400);
    EXPECT_FALSE(view.Band()) << "the drag drew no rubber band";

    // The map is made again when the circuit changes, not at every frame.
    const qint64 picture = view.Overview.Picture.cacheKey();
    MoveTo(circuit, 0, 0);
    RedrawCircuit(circuit);
    EXPECT_EQ(view.Overview.Picture.cacheKey(), picture);
    MoveObject(topLeft, -3000, topLeft.Y);
    RedrawCircuit(circuit);
    EXPECT_NE(view.Overview.Picture.cacheKey(), picture);

    OnMenu(circuit, Command::Overview);
    EXPECT_FALSE(OverviewShown());
    RecallOverview();
    EXPECT_FALSE(OverviewShown());
}

} // namespace
} // namespace flow::test

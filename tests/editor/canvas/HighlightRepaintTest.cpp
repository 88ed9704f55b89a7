#include "EditorFixture.h"

#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "model/Placement.h"
#include "render/SceneIndex.h"

#include <QPaintEvent>

namespace flow {
namespace {

using namespace flow::test;

// The areas the canvas is asked to paint, as Qt delivers them.
class PaintedAreas : public QObject {
  public:
    QRegion Region;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) Region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class HighlightRepaintTest : public EditorFixture {
  protected:
    // What the canvas shows, against a whole drawing of the same view into an image of its own.
    static void ExpectWholeDrawing(const Circuit& circuit) {
        QImage& shown = CanvasOf(circuit).Surface();
        QImage whole(shown.size(), shown.format());
        whole.setDevicePixelRatio(shown.devicePixelRatio());
        // A pass that finds what lies under the mouse again, as after an event.
        CircuitView& view = *ViewOf(circuit);
        view.Set(InteractionFlag::HoverFound | InteractionFlag::HoverSelected, false);
        RedrawViewInto(view, whole);
        QRect differing;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (whole.pixel(x, y) != shown.pixel(x, y)) differing |= QRect(x, y, 1, 1);
        EXPECT_TRUE(differing.isEmpty())
            << "the repainted image differs from a whole drawing in " << differing.x() << ", "
            << differing.y() << ", " << differing.width() << " x " << differing.height();
    }
    // The node's box on the canvas, in canvas pixels.
    static QRect OnCanvas(const Circuit& circuit, const Node& node) {
        const QRectF box = SceneIndex::NodeBox(node);
        return QRect(PixelOf(circuit, box.left(), box.top()),
                     PixelOf(circuit, box.right(), box.bottom()));
    }
};

TEST_F(HighlightRepaintTest, AHoverChangeRepaintsTheChangedHighlightsAlone) {
    Circuit& circuit = OpenWindow({800, 600});
    Frame& frame = circuit.MainFrame;
    // A row of wired nodes over a comment, so that the areas hold several objects.
    std::vector<Node*> nodes;
    for (int i = 0; i < 6; ++i) {
        Node* node = AddNode(&frame, FindFunction(QStringLiteral("Plus")), nullptr);
        MoveObject(*node, -200 + i * 70, 0);
        if (!nodes.empty()) ConnectPorts(nodes.back()->PortArray[3], node->PortArray[1]);
        nodes.push_back(node);
    }
    AddComment(&frame, QStringLiteral("under the row"), -150, 30);
    RedrawCircuit(circuit);
    Node& first = *nodes[1];
    Node& second = *nodes[4];
    MoveTo(circuit, double(first.X + 16), double(first.Y + 12));
    ASSERT_EQ(ViewOf(circuit)->HoveredNode, &first);
    QApplication::processEvents();

    PaintedAreas painted;
    CanvasOf(circuit).installEventFilter(&painted);
    MoveTo(circuit, double(second.X + 16), double(second.Y + 12));
    ASSERT_EQ(ViewOf(circuit)->HoveredNode, &second);
    QApplication::processEvents();
    CanvasOf(circuit).removeEventFilter(&painted);

    // Both highlights, the one gone and the one come, and nothing between or around them.
    const QRegion expected = QRegion(OnCanvas(circuit, first).adjusted(-2, -2, 2, 2)) +
                             QRegion(OnCanvas(circuit, second).adjusted(-2, -2, 2, 2));
    EXPECT_TRUE(painted.Region.contains(OnCanvas(circuit, first)));
    EXPECT_TRUE(painted.Region.contains(OnCanvas(circuit, second)));
    EXPECT_TRUE(painted.Region.subtracted(expected).isEmpty())
        << "painted beyond the two nodes: " << painted.Region.boundingRect().width() << " x "
        << painted.Region.boundingRect().height();
    ExpectWholeDrawing(circuit);

    // From a node onto a wire, then onto empty canvas: each time the same as a whole drawing.
    const Port& out = *second.PortArray[3];
    MoveTo(circuit, double(second.X + out.X + 12), double(second.Y + out.Y));
    EXPECT_TRUE(ViewOf(circuit)->Has(InteractionFlag::HoverFound));
    ExpectWholeDrawing(circuit);
    MoveTo(circuit, 0, 200);
    EXPECT_FALSE(ViewOf(circuit)->Has(InteractionFlag::HoverFound));
    ExpectWholeDrawing(circuit);
}

} // namespace
} // namespace flow

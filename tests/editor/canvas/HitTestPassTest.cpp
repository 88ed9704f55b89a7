#include "support/SceneFixture.h"

#include "editor/canvas/HitTestPass.h"
#include "model/Placement.h"
#include "support/GeneratedCircuit.h"

namespace flow {
namespace {

using namespace flow::test;
using namespace InteractionFlag;

// The hit test of one redraw, straight on a circuit of its own: no window, no canvas.
class HitTestPassTest : public SceneFixture {
  protected:
    // One redraw's pass, as the canvas handler starts it: nothing found yet.
    void PassAt(Int x, Int y) {
        EditorState& editor = *ViewOf(circuit);
        editor.MouseX = x;
        editor.MouseY = y;
        editor.Set(HoverFound, false);
        editor.Set(HoverSelected, false);
        editor.HoveredComment = nullptr;
        editor.HoveredNode = nullptr;
        editor.HoveredPort = nullptr;
        HitTestPass(*ViewOf(circuit));
    }
    // A comment already laid out, with a box of the given size.
    Comment* SizedComment(Int x, Int y, Int width, Int height) {
        Comment* comment = AddComment(&circuit.MainFrame, "c", x, y);
        comment->Flags = 0;
        comment->Width = width;
        comment->Height = height;
        return comment;
    }
    bool Hovered(int flags) { return flags & ObjectFlag::Hovered; }
    bool Selected(int flags) { return flags & ObjectFlag::Selected; }

    QLabel* hoverField = &HoverField();
};

TEST_F(HitTestPassTest, PortsAreFoundBeforeTheirNode) {
    Node* print = Add("Print", 0, 0);
    Port* in = print->PortArray[1]; // at (3, 20), on the body's left edge
    PassAt(7, 20);                  // inside the body and 4 units from the port
    EXPECT_EQ(ViewOf(circuit)->HoveredPort, in);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, nullptr);
    EXPECT_TRUE(Hovered(in->Flags));
    EXPECT_FALSE(Hovered(print->Flags));
    EXPECT_EQ(hoverField->text(), "Port (In): Value to print");

    PassAt(20, 20);
    EXPECT_EQ(ViewOf(circuit)->HoveredPort, nullptr);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, print);
    EXPECT_FALSE(Hovered(in->Flags)); // the previous hover is cleared
    EXPECT_TRUE(Hovered(print->Flags));
    EXPECT_EQ(hoverField->text(), "Function: Print");

    PassAt(-2, 20); // outside the body, 5 units from the port
    EXPECT_EQ(ViewOf(circuit)->HoveredPort, in);
    PassAt(-3, 20); // exactly 6 units away is outside
    EXPECT_FALSE(ViewOf(circuit)->Has(HoverFound));
    EXPECT_EQ(ViewOf(circuit)->HoveredPort, nullptr);
}

TEST_F(HitTestPassTest, TopmostObjectWins) {
    Node* lower = Add("Print", 0, 0);
    Node* upper = Add("Print", 20, 0);
    PassAt(30, 30); // inside both bodies
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, upper);
    EXPECT_FALSE(Hovered(lower->Flags));

    Comment* comment = SizedComment(25, 25, 50, 20);
    PassAt(30, 30);
    EXPECT_EQ(ViewOf(circuit)->HoveredComment, comment);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, nullptr);
    EXPECT_EQ(hoverField->text(), "Comment");
}

TEST_F(HitTestPassTest, ShapesUseTheEvenOddRule) {
    // A square with a square hole: both figures run the same way, so only the even-odd rule
    // leaves the hole empty.
    static FunctionDef frameDef;
    frameDef.Name = "Frame";
    frameDef.Shape = "M 0 0 l 40 0 l 0 40 l -40 0 z M 10 10 l 20 0 l 0 20 l -20 0 z";
    Node* node = AddNode(&circuit.MainFrame, &frameDef, nullptr);
    node->X = 100;
    node->Y = 100;
    PassAt(105, 120);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, node);
    EXPECT_EQ(hoverField->text(), "Function: Frame");
    PassAt(120, 120);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, nullptr);
    PassAt(145, 120);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, nullptr);

    // The Not body: between its triangle and its inverting circle lies empty canvas.
    Node* invert = Add("Not", 200, 100);
    PassAt(210, 112);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, invert);
    PassAt(224, 106);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, nullptr);
}

TEST_F(HitTestPassTest, ConstantBoxLiesLeftOfItsPosition) {
    Node* constant = Add("Constant", 100, 50, Catalogue().ConstantInteger);
    constant->Flags = 0; // laid out already
    constant->Width = -40;
    constant->Height = 16;
    PassAt(60, 50);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, constant);
    EXPECT_EQ(hoverField->text(), "Constant");
    PassAt(99, 65);
    EXPECT_EQ(ViewOf(circuit)->HoveredNode, constant);
    for (auto [x, y] : {std::pair<Int, Int>{100, 55}, {59, 55}, {80, 66}, {80, 49}}) {
        PassAt(x, y);
        EXPECT_EQ(ViewOf(circuit)->HoveredNode, nullptr) << x << "," << y;
    }
}

TEST_F(HitTestPassTest, WiresAreHitWithinThreeUnitsOfTheirCurve) {
    Node* source = Add("ToString", 0, 0);
    Node* print = Add("Print", 200, -12);
    Wire* wire = ConnectPorts(source->PortArray[2], print->PortArray[1]);
    wire->Flags |= ObjectFlag::Selected;
    PassAt(124, 10);
    EXPECT_TRUE(Hovered(wire->Flags));
    EXPECT_TRUE(ViewOf(circuit)->Has(HoverFound));
    EXPECT_FALSE(ViewOf(circuit)->Has(HoverSelected)); // a wire never counts as a selected object
    EXPECT_EQ(hoverField->text(), "Wire");
    PassAt(124, 12);
    EXPECT_FALSE(Hovered(wire->Flags));
    EXPECT_FALSE(ViewOf(circuit)->Has(HoverFound));
}

TEST_F(HitTestPassTest, SelectedObjectUnderTheMouseIsReported) {
    Node* print = Add("Print", 0, 0);
    print->Flags |= ObjectFlag::Selected;
    PassAt(20, 20);
    EXPECT_TRUE(ViewOf(circuit)->Has(HoverSelected));
    // While a drag is under way nothing is hit.
    ViewOf(circuit)->Press = press::Dragging{};
    PassAt(20, 20);
    EXPECT_FALSE(ViewOf(circuit)->Has(HoverFound));
    EXPECT_FALSE(Hovered(print->Flags));
}

TEST_F(HitTestPassTest, RubberBandCatchesWhatLiesWhollyInsideWithExclusiveEdges) {
    Comment* comment = SizedComment(10, 10, 20, 10); // box [10, 30] x [10, 20]
    Node* constant = Add("Constant", 100, 10, Catalogue().ConstantBoolean);
    constant->Flags = 0;
    constant->Width = -40; // box [60, 100] x [10, 26]
    constant->Height = 16;
    EditorState& editor = *ViewOf(circuit);
    editor.Press = press::Banding{10, 10};
    PassAt(30, 20); // right and bottom edges are exclusive
    EXPECT_FALSE(Hovered(comment->Flags));
    PassAt(31, 21);
    EXPECT_TRUE(Hovered(comment->Flags));
    EXPECT_FALSE(Hovered(constant->Flags));
    EXPECT_FALSE(editor.Has(HoverFound)); // the band finds nothing under the mouse
    // Dragged up and left from the far corner works the same way.
    editor.Press = press::Banding{101, 27};
    PassAt(60, 10);
    EXPECT_TRUE(Hovered(constant->Flags));
    EXPECT_FALSE(Hovered(comment->Flags));
    // A band of zero size catches nothing, not even an object of zero size at its corner.
    Comment* dot = SizedComment(200, 200, 0, 0);
    editor.Press = press::Banding{200, 200};
    PassAt(200, 200);
    EXPECT_FALSE(Hovered(dot->Flags));
    EXPECT_FALSE(Hovered(constant->Flags));
}

TEST_F(HitTestPassTest, SelectionRequestsApplyToEveryKindOfObject) {
    Node* toString = Add("ToString", 0, 0);
    Node* print = Add("Print", 200, -12);
    Wire* wire = ConnectPorts(toString->PortArray[2], print->PortArray[1]);
    Comment* comment = SizedComment(0, 100, 40, 20);
    Port* port = toString->PortArray[1];
    for (int* flags :
         {&toString->Flags, &print->Flags, &wire->Flags, &comment->Flags, &port->Flags})
        *flags |= ObjectFlag::Selected;
    ViewOf(circuit)->Set(DeselectAll);
    PassAt(1000, 1000);
    for (int flags : {toString->Flags, print->Flags, wire->Flags, comment->Flags, port->Flags})
        EXPECT_FALSE(Selected(flags));
    ViewOf(circuit)->Set(DeselectAll, false);

    // What the previous pass left hovered flips; a flipped port becomes the wire's source.
    PassAt(8, 8); // the ToString input port
    ASSERT_TRUE(Hovered(port->Flags));
    ViewOf(circuit)->Set(ToggleHovered);
    PassAt(1000, 1000);
    EXPECT_TRUE(Selected(port->Flags));
    EXPECT_EQ(ViewOf(circuit)->WireSource, port);
    EXPECT_FALSE(Selected(toString->Flags));

    PassAt(124, 8); // the wire; toggling needs a new request in the next pass
    EXPECT_FALSE(Selected(wire->Flags));
    PassAt(1000, 1000);
    EXPECT_TRUE(Selected(wire->Flags));
    EXPECT_TRUE(Selected(port->Flags)); // not hovered in the pass before: unchanged
}

TEST_F(HitTestPassTest, LayoutRunsOnceForObjectsThatNeedIt) {
    Node* constant = Add("Constant", 0, 0, Catalogue().ConstantInteger);
    Comment* comment = AddComment(&circuit.MainFrame, "hello", 0, 50);
    ASSERT_TRUE(constant->Flags & ObjectFlag::NeedsLayout);
    PassAt(1000, 1000);
    EXPECT_FALSE(constant->Flags & ObjectFlag::NeedsLayout);
    EXPECT_FALSE(comment->Flags & ObjectFlag::NeedsLayout);
    EXPECT_LT(constant->Width, 0);
    EXPECT_GT(comment->Width, 16);
}

// The objects a frame after the first visits, hit-testing and drawing, with the same 100 nodes
// in view and `far` more nodes, wired in a chain, far off to the right.
std::pair<std::size_t, std::size_t> WorkOfASecondFrame(int far) {
    Circuit circuit;
    circuit.MainFrame.Owner = &circuit;
    GenerateCircuit(circuit, 100);
    Node* previous = nullptr;
    for (int i = 0; i < far; ++i) {
        Node* node = AddNode(&circuit.MainFrame, FindFunction(QStringLiteral("Plus")), nullptr);
        MoveObject(*node, 1000000 + (i % 300) * 120, (i / 300) * 120);
        if (previous) ConnectPorts(previous->PortArray[3], node->PortArray[1]);
        previous = node;
    }
    CircuitView view(circuit);
    view.TakeSavedCamera();
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    view.MouseX = view.CameraX + 7;
    view.MouseY = view.CameraY + 3;
    RedrawViewInto(view, image); // lays out every object
    view.MouseX += 50;
    view.Set(HoverFound, false);
    RedrawViewInto(view, image);
    return {view.LastPass.Visited, view.Drawn};
}

TEST_F(HitTestPassTest, AFrameVisitsWhatItShowsWhateverTheCircuitsSize) {
    const auto small = WorkOfASecondFrame(900);
    const auto large = WorkOfASecondFrame(99900);
    EXPECT_EQ(small.first, large.first) << "objects hit-tested";
    EXPECT_EQ(small.second, large.second) << "objects drawn";
    // The window shows the hundred nodes with their wires and comments.
    EXPECT_GE(small.second, 150u);
}

} // namespace
} // namespace flow

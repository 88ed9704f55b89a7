// Edit → Find: the bar that counts the matches of the main frame and of the sub-circuits' bodies,
// walks them with Enter and Shift+Enter (opening the instances around each, centring and
// selecting it), marks them on the canvas, and follows edits.

#include "EditorFixture.h"

#include "editor/actions/KeyReference.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/FindBar.h"
#include "model/Coordinates.h"
#include "support/SubCircuitBuilding.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

namespace flow::test {
namespace {

class FindBarTest : public EditorFixture {
  protected:
    // Main frame: Plus, an instance of Outer, the constant 1500, the comment "plus one".
    // Outer's body: an instance of Adder, the constant -1500, the comment "Plus goes inside".
    // Adder's body: two input pins, Plus, an output pin. Adder comes first in the circuit's list,
    // and only Outer's body holds an instance of it.
    void Build(Circuit& circuit) {
        FunctionDef* adder = AddSubCircuit(circuit, QStringLiteral("Adder"));
        Node* a = AddPin(*adder, PinFunctions().Input, QStringLiteral("a"), -100, 0);
        Node* b = AddPin(*adder, PinFunctions().Input, QStringLiteral("b"), -100, 40);
        adderPlus = flow::test::Place(BodyOf(*adder), QStringLiteral("Plus"), 0, 0);
        Node* sum = AddPin(*adder, PinFunctions().Output, QStringLiteral("sum"), 100, 0);
        Link(a, 1, adderPlus, 1);
        Link(b, 1, adderPlus, 2);
        Link(adderPlus, 3, sum, 1);
        FollowDefinitions(circuit);

        FunctionDef* outer = AddSubCircuit(circuit, QStringLiteral("Outer"));
        Frame& outerBody = BodyOf(*outer);
        innerAdder = flow::test::Place(outerBody, QStringLiteral("Adder"), 0, 0);
        innerConstant = Constant(outerBody, -1500, -200, 100);
        outerComment = AddComment(&outerBody, QStringLiteral("Plus goes inside"), 0, 200);
        FollowDefinitions(circuit);

        mainPlus = flow::test::Place(circuit.MainFrame, QStringLiteral("Plus"), 0, 0);
        outerInstance = flow::test::Place(circuit.MainFrame, QStringLiteral("Outer"), 300, 0);
        Constant(circuit.MainFrame, 1500, -200, 100);
        mainComment = AddComment(&circuit.MainFrame, QStringLiteral("plus one"), 0, 200);
        FollowDefinitions(circuit);
        RedrawCircuit(circuit);
    }
    static Node* Constant(Frame& frame, Int value, Int x, Int y) {
        Node* node = AddNode(&frame, Catalogue().Constant, Catalogue().ConstantInteger);
        node->PortArray[1]->Value = value;
        MoveObject(*node, x, y);
        return node;
    }
    static FindBar* BarOf(const Circuit& circuit) {
        return CanvasOf(circuit).findChild<FindBar*>();
    }
    static void Enter(Circuit& circuit, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(BarOf(circuit)->Field(), Qt::Key_Return, modifiers);
    }
    static QString Count(const Circuit& circuit) { return BarOf(circuit)->Count()->text(); }
    // The selected nodes and comments of the shown frame.
    static std::vector<const void*> Selected(const Circuit& circuit) {
        std::vector<const void*> selected;
        for (const auto& node : ShownFrame(circuit).Nodes)
            if (node->Flags & ObjectFlag::Selected) selected.push_back(node.get());
        for (const auto& comment : ShownFrame(circuit).Comments)
            if (comment->Flags & ObjectFlag::Selected) selected.push_back(comment.get());
        return selected;
    }
    static bool Centred(const Circuit& circuit, const ObjectHeader& object) {
        const CircuitView& view = *ViewOf(circuit);
        return view.CameraX == SaturatedSum(object.X, object.Width / 2) &&
               view.CameraY == SaturatedSum(object.Y, object.Height / 2);
    }
    // Pixels of the canvas in the amber of the marks.
    static int AmberPixels(const Circuit& circuit) {
        const QImage image = CanvasOf(circuit).Surface().convertToFormat(QImage::Format_ARGB32);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.red() > 220 && c.green() > 150 && c.green() < 200 && c.blue() < 90;
            }
        return count;
    }

    Node *adderPlus = nullptr, *innerAdder = nullptr, *innerConstant = nullptr;
    Node *mainPlus = nullptr, *outerInstance = nullptr;
    Comment *outerComment = nullptr, *mainComment = nullptr;
};

TEST_F(FindBarTest, EnterAndShiftEnterWalkTheMatchesIntoSubCircuits) {
    Circuit& circuit = OpenWindow();
    Build(circuit);
    Key(circuit, Qt::Key_F, Qt::ControlModifier);
    FindBar* bar = BarOf(circuit);
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->Field()->hasFocus());

    // Typing goes to the first match: the shown frame's come first, nodes before comments.
    QTest::keyClicks(bar->Field(), QStringLiteral("PLUS"));
    EXPECT_EQ(ViewOf(circuit)->FindText, "PLUS");
    EXPECT_EQ(Count(circuit), "1 of 4");
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{mainPlus});
    EXPECT_TRUE(Centred(circuit, *mainPlus));
    const CameraView onPlus = ViewOf(circuit)->Camera();
    const int marked = AmberPixels(circuit);

    Enter(circuit);
    EXPECT_EQ(Count(circuit), "2 of 4");
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{mainComment});
    // Then the bodies in the circuit's order: Adder's, reached only through Outer's body.
    Enter(circuit);
    EXPECT_EQ(Count(circuit), "3 of 4");
    EXPECT_EQ(ViewOf(circuit)->OpenPath, (std::vector<Node*>{outerInstance, innerAdder}));
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{adderPlus});
    EXPECT_TRUE(Centred(circuit, *adderPlus));
    EXPECT_EQ(WindowOf(circuit)->windowTitle(), "Untitled[*] ▸ Outer ▸ Adder");
    Enter(circuit);
    EXPECT_EQ(Count(circuit), "4 of 4");
    EXPECT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>{outerInstance});
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{outerComment});
    EXPECT_TRUE(Centred(circuit, *outerComment));
    Enter(circuit); // round the end
    EXPECT_EQ(Count(circuit), "1 of 4");
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{mainPlus});
    Enter(circuit, Qt::ShiftModifier);
    EXPECT_EQ(Count(circuit), "4 of 4");
    EXPECT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>{outerInstance});
    Enter(circuit, Qt::ShiftModifier);
    EXPECT_EQ(Count(circuit), "3 of 4");
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{adderPlus});

    // A value is matched as shown, its true minus as typed; the first match opens its body.
    Key(circuit, Qt::Key_F, Qt::ControlModifier); // the text is selected: typing replaces it
    GoUpTo(circuit, 0);
    QTest::keyClicks(bar->Field(), QStringLiteral("-1500"));
    EXPECT_EQ(Count(circuit), "1 of 1");
    EXPECT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>{outerInstance});
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{innerConstant});
    bar->Field()->setText(QStringLiteral("nothing like it"));
    EXPECT_EQ(Count(circuit), "No matches");
    Enter(circuit);
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{innerConstant});

    QTest::keyClick(bar->Field(), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(ViewOf(circuit)->FindText.isEmpty());
    EXPECT_TRUE(CanvasOf(circuit).hasFocus());
    GoUpTo(circuit, 0);
    ViewOf(circuit)->SetCamera(onPlus);
    RedrawCircuit(circuit);
    EXPECT_LT(AmberPixels(circuit) + 100, marked) << "the matches in sight were marked";

    const std::vector<KeyRow> rows = MenuKeyRows(*WindowOf(circuit)->menuBar());
    EXPECT_NE(std::ranges::find(rows, KeyRow{"Edit", "Ctrl+F", "Find"}), rows.end());
}

TEST_F(FindBarTest, MatchesFollowEditsUndoAndRedo) {
    Circuit& circuit = OpenWindow();
    Build(circuit);
    Key(circuit, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(BarOf(circuit)->Field(), QStringLiteral("plus"));
    ASSERT_EQ(Count(circuit), "1 of 4");
    // The match shown goes: none is current, and Enter goes to what is now the first.
    OnMenu(circuit, Command::Delete);
    EXPECT_EQ(Count(circuit), "0 of 3");
    Enter(circuit);
    EXPECT_EQ(Count(circuit), "1 of 3");
    EXPECT_EQ(Selected(circuit), std::vector<const void*>{mainComment});
    // It comes back as a new record under its ID: the comment shown keeps its place after it.
    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(Count(circuit), "2 of 4");
    Enter(circuit, Qt::ShiftModifier);
    EXPECT_EQ(Count(circuit), "1 of 4");
    ASSERT_EQ(Selected(circuit).size(), 1u);
    EXPECT_EQ(static_cast<const Node*>(Selected(circuit).front())->Function->Name, "Plus");
    OnMenu(circuit, Command::Redo);
    EXPECT_EQ(Count(circuit), "0 of 3");
}

} // namespace
} // namespace flow::test

// What a window shows of a run that decides and repeats: lines in iteration order, how many
// iterations a loop ran, skipped nodes and wires that carried nothing; Run → Stop ending a
// loop that never would, with the next Start working; a loop refusing to be ungrouped.

#include "EditorFixture.h"
#include "editor/actions/MenuCommands.h"
#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "render/HoverText.h"
#include "support/ExampleWindow.h"
#include "support/SubCircuitBuilding.h"

namespace flow::test {
namespace {

class LoopMarksTest : public EditorFixture {
  protected:
    static bool WaitForStatus(Circuit& circuit, const QString& text) {
        return QTest::qWaitFor([&] { return StatusText(circuit, StatusField::RunStatus) == text; });
    }
    static Node* Named(const Frame& frame, const QString& function) {
        for (const auto& node : frame.Nodes)
            if (node->Function && node->Function->Name == function) return node.get();
        return nullptr;
    }
};

TEST_F(LoopMarksTest, FizzBuzzPrintsInOrderAndTellsItsIterationsAndWhatCarriedNothing) {
    Circuit* circuit = OpenExampleWindow("fizzbuzz.xml");
    ASSERT_NE(circuit, nullptr);
    Key(*circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(*circuit, 15));
    EXPECT_EQ(PanelOf(*circuit).toPlainText(),
              "1\n2\nFizz\n4\nBuzz\nFizz\n7\n8\nFizz\nBuzz\n11\nFizz\n13\n14\nFizzBuzz");
    const RunSession* run = &SessionOf(*circuit);
    Node* loop = Named(circuit->MainFrame, "Count to");
    ASSERT_NE(loop, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return HoverText(*loop, {}, run).contains("15"); }));
    EXPECT_EQ(HoverText(*loop, {}, run), "Function: Count to ran 15 iterations in the latest run");

    // Inside, the last iteration's values: 15 is FizzBuzz, so the number's Switch sent it the
    // other way, and its "if false" carried nothing into the Merge.
    const std::vector<Node*> path{loop};
    const Frame& body = BodyOf(*loop->Function);
    const Wire* nothing = nullptr;
    for (const auto& wire : body.Wires)
        if (wire->Source->Label == "if false") nothing = wire.get();
    ASSERT_NE(nothing, nullptr);
    EXPECT_EQ(HoverText(*nothing, path, run), QStringLiteral("Wire: \u2014"));
    const Node* print = Named(body, "Print");
    EXPECT_EQ(HoverText(*print->PortArray[1], path, run),
              "Port (In): Value to print (String) = FizzBuzz");
}

TEST_F(LoopMarksTest, ASkippedNodeSaysSoAndPrintsNothing) {
    Circuit& circuit = OpenWindow();
    Frame& main = circuit.MainFrame;
    Node* no = AddNode(&main, Catalogue().Constant, Catalogue().ConstantBoolean);
    Node* five = AddNode(&main, Catalogue().Constant, Catalogue().ConstantInteger);
    SetConstantValue(*five, 5, QString());
    Node* route = test::Place(main, "Switch", 0, 0);
    Link(no, 1, route, 1);
    Link(five, 1, route, 2);
    Node* skipped = test::Place(main, "Print", 80, -40);
    Node* printed = test::Place(main, "Print", 80, 40);
    Link(route, 3, skipped, 1);
    Link(route, 4, printed, 1);
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    ASSERT_TRUE(WaitForStatus(circuit, "Execution ... finished"));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "5");
    const RunSession* run = &SessionOf(circuit);
    EXPECT_EQ(HoverText(*skipped, {}, run), "Function: Print skipped in the latest run");
    EXPECT_EQ(HoverText(*printed, {}, run), "Function: Print");
}

TEST_F(LoopMarksTest, StopEndsAnEndlessLoopAndTheNextStartRunsItAgain) {
    Circuit& circuit = OpenWindow();
    FunctionDef* forever = AddSubCircuit(circuit, QStringLiteral("Forever"));
    Frame& body = BodyOf(*forever);
    Node* i = AddPin(*forever, PinFunctions().Iteration, QString(), -100, 0);
    Link(i, 1, test::Place(body, "Print"), 1);
    Node* yes = AddNode(&body, Catalogue().Constant, Catalogue().ConstantBoolean);
    SetConstantValue(*yes, 1, QString());
    Link(yes, 1, AddPin(*forever, PinFunctions().Continue, QString(), 100, 0), 1);
    FollowDefinitions(circuit);
    Node* loop = test::Place(circuit.MainFrame, forever->Name);

    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        Key(circuit, Qt::Key_F5);
        ASSERT_TRUE(WaitForLines(circuit, 100));
        Key(circuit, Qt::Key_F5, Qt::ShiftModifier);
        ASSERT_TRUE(WaitForStatus(circuit, "Execution ... stopped"));
        // Stopped means stopped: the panel takes the lines already on their way, then no more.
        QTest::qWait(50);
        const int lines = PanelOf(circuit).blockCount();
        QTest::qWait(50);
        EXPECT_EQ(PanelOf(circuit).blockCount(), lines);
        // Nothing was stuck: the loop was stopped, and no mark says it never fired.
        EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Execution ... stopped");
        EXPECT_FALSE(loop->Flags & ObjectFlag::NeverFired);
        EXPECT_TRUE(PanelOf(circuit).toPlainText().startsWith("0\n1\n2\n"));
    }

    // Its insides in its place would run once: a loop is not taken apart.
    loop->Flags |= ObjectFlag::Selected;
    const std::size_t nodes = circuit.MainFrame.Nodes.size();
    OnMenu(circuit, Command::Ungroup);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), nodes);
    EXPECT_EQ(StatusNotice(circuit),
              "A loop cannot be ungrouped: its insides run once per iteration");
}

} // namespace
} // namespace flow::test

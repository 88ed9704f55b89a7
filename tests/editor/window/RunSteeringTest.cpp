// Steering a run from the keyboard: F9 breakpoints, F10 steps, F6 Pause, F5 Continue, Shift+F5
// Stop, an edit while paused, and Run on Every Change.

#include "editor/window/RunSteering.h"
#include "EditorFixture.h"
#include "editor/window/LiveRuns.h"
#include "editor/window/WindowObserver.h"
#include "render/CircuitView.h"
#include "support/ExampleWindow.h"
#include "support/SubCircuitBuilding.h"

#include <QAction>

namespace flow::test {
namespace {

class RunSteeringTest : public EditorFixture {
  protected:
    void TearDown() override {
        SetRunOnEveryChange(false);
        EditorFixture::TearDown();
    }
    Circuit& OpenSum() {
        Circuit* circuit = OpenExampleWindow(QStringLiteral("sum.xml"));
        EXPECT_NE(circuit, nullptr);
        return circuit ? *circuit : OpenWindow();
    }
    static bool WaitForStatus(Circuit& circuit, const QString& text) {
        const bool shown =
            QTest::qWaitFor([&] { return StatusText(circuit, StatusField::RunStatus) == text; });
        EXPECT_TRUE(shown) << "status: "
                           << StatusText(circuit, StatusField::RunStatus).toStdString() << ", not "
                           << text.toStdString();
        return shown;
    }
    static Node* IntegerIn(Frame& frame, Int value, Int x, Int y) {
        Node* node = AddNode(&frame, Catalogue().Constant, Catalogue().ConstantInteger);
        node->PortArray[1]->Value = value;
        MoveObject(*node, x, y);
        return node;
    }
    static const StepMarks& Marks(const Circuit& circuit) {
        return WindowOf(circuit)->View().Stepping;
    }
};

TEST_F(RunSteeringTest, ABreakpointPausesBeforeItsNodeWithItsValuesAndStepsGoOnToTheEnd) {
    Circuit& sum = OpenSum();
    const Node* plus = sum.MainFrame.Nodes[2].get();
    Click(sum, Middle(*plus).x(), Middle(*plus).y());
    Key(sum, Qt::Key_F9);
    EXPECT_TRUE(Marks(sum).Breakpoints.contains(NodeKey(QString(), plus->Id)));

    Key(sum, Qt::Key_F5);
    ASSERT_TRUE(WaitForStatus(sum, "Paused before Plus at 0, 0"));
    EXPECT_EQ(Marks(sum).PausedBefore, plus);
    EXPECT_EQ(PanelOf(sum).toPlainText(), "");
    MoveTo(sum, PortPoint(*plus, 1).x(), PortPoint(*plus, 1).y());
    EXPECT_EQ(StatusText(sum, StatusField::Hover), "Port (In): x (Integer) = 2");

    Key(sum, Qt::Key_F10);
    ASSERT_TRUE(WaitForStatus(sum, "Paused before Print at 100, 0"));
    EXPECT_EQ(PanelOf(sum).toPlainText(), "");
    Key(sum, Qt::Key_F10);
    ASSERT_TRUE(WaitForLines(sum, 1));
    ASSERT_TRUE(WaitForStatus(sum, "Execution ... finished"));
    EXPECT_EQ(PanelOf(sum).toPlainText(), "5");
    EXPECT_EQ(Marks(sum).PausedBefore, nullptr);

    // With no run going, F10 starts one held before its first firing; each F10 then fires the
    // node the status names, the lowest ready in the node list, to the unpaused run's end.
    Click(sum, Middle(*plus).x(), Middle(*plus).y());
    Key(sum, Qt::Key_F9);
    EXPECT_TRUE(Marks(sum).Breakpoints.isEmpty());
    for (const char* next :
         {"Constant at -100, -40", "Constant at -100, 20", "Plus at 0, 0", "Print at 100, 0"}) {
        Key(sum, Qt::Key_F10);
        ASSERT_TRUE(WaitForStatus(sum, QStringLiteral("Paused before ") + next));
        EXPECT_EQ(PanelOf(sum).toPlainText(), "");
    }
    Key(sum, Qt::Key_F10);
    ASSERT_TRUE(WaitForLines(sum, 1));
    EXPECT_EQ(PanelOf(sum).toPlainText(), "5");
}

TEST_F(RunSteeringTest, PauseContinueStopAndAnEditWhilePaused) {
    // A loop that would run for hours: x := x + 1, a hundred million times.
    Circuit& circuit = OpenWindow();
    FunctionDef* count = AddSubCircuit(circuit, QStringLiteral("Count"));
    AddPin(*count, PinFunctions().Iteration, QString(), -200, -80);
    Node* x = AddPin(*count, PinFunctions().Input, QStringLiteral("x"), -200, 0);
    Node* plus = flow::test::Place(BodyOf(*count), QStringLiteral("Plus"));
    Link(x, 1, plus, 1);
    Link(IntegerIn(BodyOf(*count), 1, -100, 40), 1, plus, 2);
    Link(plus, 3, AddPin(*count, PinFunctions().Output, QStringLiteral("x"), 100, 0), 1);
    FollowDefinitions(circuit);
    Node* loop = flow::test::Place(circuit.MainFrame, QStringLiteral("Count"), 0, 0);
    Link(IntegerIn(circuit.MainFrame, 100000000, -100, -40), 1, loop, 1);
    Link(IntegerIn(circuit.MainFrame, 0, -100, 40), 1, loop, 2);

    Key(circuit, Qt::Key_F5);
    Key(circuit, Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return StatusText(circuit, StatusField::RunStatus).startsWith("Paused before "); }));
    EXPECT_NE(Marks(circuit).PausedBefore, nullptr);
    Key(circuit, Qt::Key_F5);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Execution ... finished");
    EXPECT_EQ(Marks(circuit).PausedBefore, nullptr);
    Key(circuit, Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return StatusText(circuit, StatusField::RunStatus).startsWith("Paused before "); }));
    Key(circuit, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Execution ... stopped");
    EXPECT_FALSE(RunHeld(circuit));

    // An edit while paused stops the run first.
    Key(circuit, Qt::Key_F5);
    Key(circuit, Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return StatusText(circuit, StatusField::RunStatus).startsWith("Paused before "); }));
    Drag(circuit, Middle(*loop).x(), Middle(*loop).y(), Middle(*loop).x() + 40, Middle(*loop).y());
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus),
              "Execution ... stopped: the circuit was edited while paused");
    EXPECT_FALSE(RunHeld(circuit));
}

TEST_F(RunSteeringTest, RunOnEveryChangeRunsAfterAnEditAndShowsOnlyTheNewLines) {
    Circuit& sum = OpenSum();
    QAction* live = nullptr;
    for (QAction* action : WindowOf(sum)->findChildren<QAction*>())
        if (action->text() == "Run on Every Change") live = action;
    ASSERT_NE(live, nullptr);
    EXPECT_FALSE(live->isChecked());
    live->trigger();
    EXPECT_TRUE(RunOnEveryChangeOn());

    Node& two = *sum.MainFrame.Nodes[0];
    DoubleClick(sum, Middle(two).x(), Middle(two).y());
    Key(sum, Qt::Key_A, Qt::ControlModifier);
    Type(sum, "4");
    Click(sum, 200, 150);
    ASSERT_TRUE(WaitForLines(sum, 1)) << two.PortArray[1]->Value;
    EXPECT_EQ(PanelOf(sum).toPlainText(), "7");
    Key(sum, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PanelOf(sum).toPlainText() == "5"; }));
    QTest::qWait(2 * kLiveRunDelayMs);
    EXPECT_EQ(PanelOf(sum).toPlainText(), "5");
}

} // namespace
} // namespace flow::test

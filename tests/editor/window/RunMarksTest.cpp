// What the canvas and the status bar say about the latest run: nodes that never fired, values in
// hover texts, invalid wires that say why, and a defect marker that goes with the next edit.

#include "editor/window/RunMarks.h"
#include "EditorFixture.h"
#include "editor/actions/MenuCommands.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/window/WindowObserver.h"
#include "render/CircuitView.h"
#include "render/HoverText.h"
#include "render/Redraw.h"
#include "render/ValueLabels.h"
#include "support/ExampleWindow.h"

namespace flow::test {
namespace {

class RunMarksTest : public EditorFixture {
  protected:
    Circuit& OpenExample(const QString& name) {
        Circuit* circuit = OpenExampleWindow(name);
        EXPECT_NE(circuit, nullptr);
        return circuit ? *circuit : OpenWindow();
    }
    static QStringList Marked(const Circuit& circuit) {
        QStringList names;
        for (const auto& node : circuit.MainFrame.Nodes)
            if (node->Flags & ObjectFlag::NeverFired) names << HoverText(*node, {});
        return names;
    }
    static bool WaitForStatus(Circuit& circuit, const QString& text) {
        return QTest::qWaitFor([&] { return StatusText(circuit, StatusField::RunStatus) == text; });
    }
};

TEST_F(RunMarksTest, TheEditorSaysWhichNodesNeverFiredAndMarksThemUntilTheNextEdit) {
    Circuit& cycle = OpenExample("cycle.xml");
    Key(cycle, Qt::Key_F5);
    ASSERT_TRUE(WaitForStatus(cycle, "Execution ... finished: 2 nodes never fired"));
    EXPECT_EQ(Marked(cycle), QStringList({"Function: Plus never fired in the latest run",
                                          "Function: Print never fired in the latest run"}));
    EXPECT_EQ(PanelOf(cycle).toPlainText(), "1");
    // The Plus output never carried a value; the constant's wire did.
    const Node& plus = *cycle.MainFrame.Nodes[1];
    EXPECT_EQ(HoverText(*plus.PortArray[3], {}, &SessionOf(cycle)), "Port (Out): x + y (Integer)");
    EXPECT_EQ(HoverText(*cycle.MainFrame.Wires[3], {}, &SessionOf(cycle)), "Wire: 1");
    Drag(cycle, -110, -32, -110, -12);
    EXPECT_EQ(Marked(cycle), QStringList());

    Circuit& sum = OpenExample("sum.xml");
    Key(sum, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(sum, 1));
    QTest::qWait(100);
    EXPECT_EQ(StatusText(sum, StatusField::RunStatus), "Execution ... finished");
    EXPECT_EQ(Marked(sum), QStringList());
    EXPECT_EQ(HoverText(*sum.MainFrame.Nodes[2]->PortArray[3], {}, &SessionOf(sum)),
              "Port (Out): x + y (Integer) = 5");
}

TEST_F(RunMarksTest, StartDrawsAFreshSeedAndRepeatLastSeedThrowsTheSameAgain) {
    Circuit& dice = OpenExample("dice.xml");
    const auto run = [&](Command command) {
        // So that the wait below is for this run's end, not the last one's.
        SetStatusText(dice, StatusField::RunStatus, QString());
        OnMenu(dice, command);
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return StatusText(dice, StatusField::RunStatus).startsWith("Execution ... finished");
        }));
        EXPECT_TRUE(WaitForLines(dice, 1));
        return std::pair(StatusText(dice, StatusField::RunStatus), PanelOf(dice).toPlainText());
    };
    const auto [status, line] = run(Command::Start);
    EXPECT_TRUE(status.startsWith("Execution ... finished (seed ")) << status.toStdString();
    for (int again = 0; again < 3; ++again)
        EXPECT_EQ(run(Command::RepeatLastSeed), std::pair(status, line));
    // Two fresh 64-bit seeds in a row are equal about never.
    EXPECT_NE(run(Command::Start).first, status);
}

TEST_F(RunMarksTest, ValueLabelsComeWithEveryRunWithoutThePointerMoving) {
    Circuit& sum = OpenExample("sum.xml");
    ShowValueLabels(true);
    // What the canvas shows against what its view draws now, without touching the canvas.
    auto upToDate = [&] {
        QImage fresh(CanvasOf(sum).Surface().size(), QImage::Format_ARGB32_Premultiplied);
        fresh.setDevicePixelRatio(CanvasOf(sum).Surface().devicePixelRatio());
        RedrawCircuitInto(*ViewOf(sum), fresh);
        return fresh == CanvasOf(sum).Surface();
    };
    // The first run opens the output panel, which redraws the canvas; later runs do not.
    for (int run = 1; run <= 3; ++run) {
        Key(sum, Qt::Key_F5);
        ASSERT_TRUE(WaitForLines(sum, 1));
        EXPECT_TRUE(QTest::qWaitFor(upToDate)) << "run " << run;
    }
    const QImage withLabels = CanvasOf(sum).Surface().copy();
    ShowValueLabels(false);
    RedrawCircuit(sum);
    EXPECT_TRUE(CanvasOf(sum).Surface() != withLabels); // the labels were there to be seen
}

TEST_F(RunMarksTest, AnInvalidWireSaysWhyAndItsDefectGoesWithTheEditThatRemovesIt) {
    Circuit& circuit = OpenExample("sum.xml");
    Node& two = *circuit.MainFrame.Nodes[0];
    Node& plus = *circuit.MainFrame.Nodes[2];
    Node& print = *circuit.MainFrame.Nodes[3];
    Wire* outputs = ConnectPorts(two.PortArray[1], plus.PortArray[3]);
    EXPECT_EQ(HoverText(*outputs, {}), "Wire: an output into an output");
    Wire* second = ConnectPorts(two.PortArray[1], print.PortArray[1]);
    EXPECT_EQ(HoverText(*second, {}), "Wire: a second wire into an input that already has one");
    DeleteWire(second);
    DeleteWire(outputs);
    Node* truth = AddNode(&circuit.MainFrame, Catalogue().Constant, Catalogue().ConstantBoolean);
    truth->X = -100;
    truth->Y = 60;
    DeleteWire(plus.PortArray[2]->Wires.front());
    Wire& invalid = *ConnectPorts(truth->PortArray[1], plus.PortArray[2]);
    EXPECT_EQ(HoverText(invalid, {}), "Wire: Boolean into an Integer input");

    Key(circuit, Qt::Key_F5);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Defect!");
    MoveTo(circuit, double(ViewOf(circuit)->CameraX) + 150, double(ViewOf(circuit)->CameraY) + 120);
    EXPECT_EQ(StatusText(circuit, StatusField::Hover),
              "At the wire from the Constant node at -100, 60 to the Plus node at 0, 0");
    invalid.Flags |= ObjectFlag::Selected;
    OnMenu(circuit, Command::Delete);
    EXPECT_EQ(SessionOf(circuit).State(), RunState::None);
    EXPECT_EQ(SessionOf(circuit).Fault().Kind, ErrorKind::None);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "");
    EXPECT_EQ(StatusText(circuit, StatusField::Hover), "");
}

} // namespace
} // namespace flow::test

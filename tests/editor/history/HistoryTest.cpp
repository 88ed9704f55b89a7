// Each kind of step a user makes is taken back by Undo and made again by Redo, named in the Edit
// menu, and counted as a change of the circuit until it is undone again.

#include "editor/history/History.h"
#include "EditorFixture.h"
#include "editor/history/HistorySteps.h"
#include "engine/Routines.h"

#include <QUndoStack>

#include <bit>

namespace flow::test {
namespace {

class HistoryTest : public EditorFixture {
  protected:
    void Undo(Circuit& circuit) { Key(circuit, Qt::Key_Z, Qt::ControlModifier); }
    void Redo(Circuit& circuit) {
        Key(circuit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    static QString UndoText(const Circuit& circuit) {
        return WindowOf(circuit)->UndoAction()->text();
    }
    static QString RedoText(const Circuit& circuit) {
        return WindowOf(circuit)->RedoAction()->text();
    }
    static Node* NodeWithId(const Circuit& circuit, Int id) {
        for (const auto& node : circuit.MainFrame.Nodes)
            if (node->Id == id) return node.get();
        return nullptr;
    }
};

TEST_F(HistoryTest, EveryKindOfStepIsUndoneAndRedoneUnderItsName) {
    Circuit& circuit = OpenWindow();
    EXPECT_EQ(UndoText(circuit), "Undo");
    EXPECT_FALSE(WindowOf(circuit)->UndoAction()->isEnabled());

    // Placing.
    Node& real = Place(circuit, "Constant (Real)", -120, -40);
    Place(circuit, "Plus (+)", 40, 0);
    EXPECT_EQ(UndoText(circuit), "Undo Add Node");
    EXPECT_TRUE(WindowOf(circuit)->isWindowModified());
    Undo(circuit);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 1u);
    EXPECT_EQ(RedoText(circuit), "Redo Add Node");
    Redo(circuit);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 2u);
    Node* plus = circuit.MainFrame.Nodes[1].get();
    EXPECT_EQ(plus->Id, 2);
    EXPECT_EQ(plus->Implementation->Routine, &routines::Plus_III);

    // Wiring a Real into Plus makes it add Reals; undoing the wire makes it add Integers again,
    // as before, although a Real implementation would still fit an unconnected Plus.
    ClickAt(circuit, PortPoint(real, 1));
    ClickAt(circuit, PortPoint(*plus, 1));
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(plus->Implementation->Routine, &routines::Plus_RRR);
    EXPECT_EQ(UndoText(circuit), "Undo Connect");
    Undo(circuit);
    EXPECT_TRUE(circuit.MainFrame.Wires.empty());
    EXPECT_EQ(plus->Implementation->Routine, &routines::Plus_III);
    EXPECT_EQ(plus->PortArray[3]->Type, PortType::Integer);
    Redo(circuit);
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(plus->PortArray[1]->Source, real.PortArray[1]);
    EXPECT_EQ(plus->Implementation->Routine, &routines::Plus_RRR);

    // A value typed into a constant, exactly as typed: the file would keep six digits only.
    DoubleClick(circuit, Middle(real).x(), Middle(real).y());
    ASSERT_EQ(ViewOf(circuit)->EditNode, &real);
    // The double click selects the whole value: typing replaces it.
    Type(circuit, "0.123456789");
    Click(circuit, 0, 250);
    const double typed = 0.123456789;
    EXPECT_EQ(std::bit_cast<double>(real.PortArray[1]->Value), typed);
    EXPECT_EQ(UndoText(circuit), "Undo Edit Value");
    Undo(circuit);
    EXPECT_EQ(real.PortArray[1]->Value, 0);
    Redo(circuit);
    EXPECT_EQ(std::bit_cast<double>(real.PortArray[1]->Value), typed);

    // The Boolean flip.
    Node& boolean = Place(circuit, "Constant (False)", -120, 100);
    DoubleClick(circuit, Middle(boolean).x(), Middle(boolean).y());
    EXPECT_EQ(boolean.PortArray[1]->Value, 1);
    EXPECT_EQ(UndoText(circuit), "Undo Flip Value");
    Undo(circuit);
    EXPECT_EQ(boolean.PortArray[1]->Value, 0);
    Redo(circuit);
    EXPECT_EQ(boolean.PortArray[1]->Value, 1);

    // A new comment is one step with its text; one editing session of it is another.
    DoubleClick(circuit, 100, -150);
    Type(circuit, "note");
    EXPECT_EQ(UndoText(circuit), "Undo Add Comment") << "what is being typed counts";
    Click(circuit, 0, 250);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    const Int commentId = circuit.MainFrame.Comments[0]->Id;
    Undo(circuit);
    EXPECT_TRUE(circuit.MainFrame.Comments.empty());
    Redo(circuit);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    Comment* comment = circuit.MainFrame.Comments[0].get();
    EXPECT_EQ(comment->Id, commentId);
    EXPECT_EQ(comment->Text, "note");
    ClickAt(circuit, Middle(*comment));
    DoubleClick(circuit, comment->X + 4.0, comment->Y + 4.0);
    Type(circuit, "a ");
    Undo(circuit); // commits the session first, then takes it back whole
    EXPECT_FALSE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    EXPECT_EQ(comment->Text, "note");
    EXPECT_EQ(RedoText(circuit), "Redo Edit Comment");
    Redo(circuit);
    EXPECT_EQ(comment->Text, "a note");

    // A drag of the selection is one step, however many moves it took.
    const QPoint plusAt(int(plus->X), int(plus->Y));
    const QPoint commentAt(int(comment->X), int(comment->Y));
    Click(circuit, Middle(*plus).x(), Middle(*plus).y());
    Click(circuit, Middle(*comment).x(), Middle(*comment).y(), Qt::ControlModifier);
    Drag(circuit, Middle(*plus).x(), Middle(*plus).y(), Middle(*plus).x() + 40,
         Middle(*plus).y() + 20);
    EXPECT_EQ(QPoint(int(plus->X), int(plus->Y)), plusAt + QPoint(40, 20));
    EXPECT_EQ(UndoText(circuit), "Undo Move");
    Undo(circuit);
    EXPECT_EQ(QPoint(int(plus->X), int(plus->Y)), plusAt);
    EXPECT_EQ(QPoint(int(comment->X), int(comment->Y)), commentAt);
    Redo(circuit);
    EXPECT_EQ(QPoint(int(comment->X), int(comment->Y)), commentAt + QPoint(40, 20));

    // Deleting the selection: Plus with its wire, and the comment, come back where they were.
    Key(circuit, Qt::Key_Delete);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 2u);
    EXPECT_TRUE(circuit.MainFrame.Wires.empty());
    EXPECT_TRUE(circuit.MainFrame.Comments.empty());
    EXPECT_EQ(UndoText(circuit), "Undo Delete");
    Undo(circuit);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 3u);
    plus = circuit.MainFrame.Nodes[1].get();
    EXPECT_EQ(plus->Id, 2);
    EXPECT_EQ(plus->Function->Name, "Plus");
    EXPECT_EQ(plus->Implementation->Routine, &routines::Plus_RRR);
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(plus->PortArray[1]->Source, real.PortArray[1]);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    EXPECT_EQ(circuit.MainFrame.Comments[0]->Id, commentId);
    EXPECT_EQ(circuit.MainFrame.Comments[0]->Text, "a note");
    Redo(circuit);
    EXPECT_EQ(NodeWithId(circuit, 2), nullptr);

    // Back to the start: nothing left to undo, and nothing changed.
    QUndoStack& history = *HistoryOf(circuit);
    while (history.canUndo())
        Undo(circuit);
    EXPECT_TRUE(circuit.MainFrame.Nodes.empty());
    EXPECT_FALSE(WindowOf(circuit)->isWindowModified());
    EXPECT_FALSE(WindowOf(circuit)->UndoAction()->isEnabled());
    Key(circuit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u) << "Ctrl+Y redoes too";
}

// Runs, camera moves, zooms and selections are no steps; the history ends with its window.
TEST_F(HistoryTest, PastTheMemoryBudgetTheOldestStepsAreForgotten) {
    Circuit& circuit = OpenWindow();
    const std::size_t budget = HistoryBudget();
    Place(circuit, "Constant (Integer)", 0, 0);
    const std::size_t step = HistoryBytes(*HistoryOf(circuit));
    HistoryBudget() = 10 * step;
    for (int i = 1; i < 30; ++i)
        Place(circuit, "Constant (Integer)", 60 * (i % 6) - 150, 60 * (i / 6) - 150);
    const QUndoStack& history = *HistoryOf(circuit);
    int forgotten = 0;
    std::size_t kept = 0;
    for (int i = 0; i < history.count(); ++i) {
        const auto* command = static_cast<const HistoryStep*>(history.command(i));
        forgotten += command->isObsolete();
        kept += command->isObsolete() ? 0 : command->Bytes();
        EXPECT_EQ(command->isObsolete(), i < forgotten) << "only the oldest are forgotten";
    }
    EXPECT_GT(forgotten, 15);
    EXPECT_LE(kept, HistoryBudget());
    // The kept steps undo; the forgotten ones leave their nodes, and Undo stops above them.
    while (WindowOf(circuit)->UndoAction()->isEnabled())
        Undo(circuit);
    EXPECT_EQ(int(circuit.MainFrame.Nodes.size()), forgotten);
    EXPECT_EQ(HistoryOf(circuit)->index(), forgotten);
    HistoryBudget() = budget;
}

TEST_F(HistoryTest, ViewingAndRunningMakeNoStep) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -80, 0);
    Node& print = Place(circuit, "PrintN", 80, 0);
    ClickAt(circuit, PortPoint(constant, 1));
    ClickAt(circuit, PortPoint(print, 1));
    QUndoStack* history = HistoryOf(circuit);
    const int steps = history->count();
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    Press(circuit, 0, 200, Qt::MiddleButton);
    MoveTo(circuit, 30, 220, Qt::MiddleButton);
    Release(circuit, 30, 220, Qt::MiddleButton);
    Drag(circuit, -300, -200, 300, 200); // a rubber band selects everything
    EXPECT_EQ(history->count(), steps);

    // Undo and redo while the run is in flight (or just over) are as safe as any edit.
    Key(circuit, Qt::Key_F5);
    Undo(circuit);
    Undo(circuit);
    Redo(circuit);
    Redo(circuit);
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "0");

    QPointer<QUndoStack> closed(history);
    CloseCircuit(circuit);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
}

TEST_F(HistoryTest, F5WhileAConstantIsEditedRunsTheTypedValue) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -80, 0);
    Node& print = Place(circuit, "PrintN", 80, 0);
    ClickAt(circuit, PortPoint(constant, 1));
    ClickAt(circuit, PortPoint(print, 1));
    DoubleClick(circuit, Middle(constant).x(), Middle(constant).y());
    Key(circuit, Qt::Key_Backspace);
    Type(circuit, "42");
    ASSERT_TRUE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "42");
    EXPECT_FALSE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    EXPECT_EQ(UndoText(circuit), "Undo Edit Value");
}

} // namespace
} // namespace flow::test

// Building and changing circuits on the canvas as a user does: placing, editing values, wiring,
// selecting, dragging and deleting.

#include "EditorFixture.h"
#include "editor/actions/PlacePopup.h"
#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "engine/Routines.h"

#include <bit>

namespace flow::test {
namespace {

class CanvasInteractionTest : public EditorFixture {
  protected:
    void Connect(Circuit& circuit, const Node& from, int fromPort, const Node& to, int toPort) {
        ClickAt(circuit, PortPoint(from, fromPort));
        ClickAt(circuit, PortPoint(to, toPort));
    }
    // Double click on a constant, then replace its whole value by the text.
    void EnterValue(Circuit& circuit, const Node& node, const QString& text) {
        DoubleClick(circuit, Middle(node).x(), Middle(node).y());
        EXPECT_EQ(ViewOf(circuit)->EditNode, &node);
        for (int i = 0; i < 40; ++i)
            Key(circuit, Qt::Key_Right);
        for (int i = 0; i < 40; ++i)
            Key(circuit, Qt::Key_Backspace);
        Type(circuit, text);
    }
    static bool Selected(int flags) { return flags & ObjectFlag::Selected; }
};

TEST_F(CanvasInteractionTest, ConstantTypedIntoPrintRunsAndShowsItsValue) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -80, 0);
    EXPECT_EQ(constant.Implementation, Catalogue().ConstantInteger);
    EXPECT_EQ(StatusText(circuit, StatusField::Hover), "Constant");
    EnterValue(circuit, constant, "42");
    EXPECT_EQ(ViewOf(circuit)->EditBuffer, "42");

    Node& print = Place(circuit, "PrintN", 80, 0); // the press that places it also ends the edit
    EXPECT_FALSE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    EXPECT_EQ(constant.PortArray[1]->Value, 42);
    EXPECT_EQ(print.Function->Name, "Print");
    // Centred on the pointer.
    EXPECT_EQ(print.X, 80 - print.Width / 2);
    EXPECT_EQ(print.Y, 0 - print.Height / 2);

    Connect(circuit, constant, 1, print, 1);
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(circuit.MainFrame.Wires[0]->Source, constant.PortArray[1]);
    EXPECT_EQ(print.Implementation->Routine, &routines::Print_I);

    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "42");
    EXPECT_EQ(WindowOf(circuit)->Splitter()->sizes().value(1), 76);
}

TEST_F(CanvasInteractionTest, ValuesTypedIntoConstantsAreReadStrictly) {
    Circuit& circuit = OpenWindow();
    Node& integer = Place(circuit, "Constant (Integer)", -100, -60);
    Node& hex = Place(circuit, "Constant (Integer)", -100, 0);
    Node& real = Place(circuit, "Constant (Real)", -100, 60);
    Node& text = Place(circuit, "Constant", 100, -60);
    Node& boolean = Place(circuit, "Constant (False)", 100, 60);

    EnterValue(circuit, integer, "12ab");
    Key(circuit, Qt::Key_Return); // no line breaks in numbers
    EXPECT_EQ(ViewOf(circuit)->EditBuffer, "12ab");
    EnterValue(circuit, hex, "$ff"); // starting another edit ends this one
    EXPECT_EQ(integer.PortArray[1]->Value, 0);
    EXPECT_EQ(StatusNotice(circuit), "\u201C12ab\u201D is not an Integer; the value stays 0");
    EnterValue(circuit, real, "1e3");
    EXPECT_EQ(hex.PortArray[1]->Value, 255);
    // Beyond the range, a fraction in an Integer, a Real that is not finite: nothing changes.
    for (const char* typed : {"99999999999999999999", "12.5", "abc"}) {
        EnterValue(circuit, hex, typed);
        Click(circuit, 0, 300);
        EXPECT_EQ(hex.PortArray[1]->Value, 255) << typed;
    }
    EnterValue(circuit, real, "1e999");
    Click(circuit, 0, 300);
    EXPECT_EQ(std::bit_cast<double>(real.PortArray[1]->Value), 1000.0);
    EXPECT_EQ(StatusNotice(circuit), "\u201C1e999\u201D is not a Real; the value stays 1000.");
    EnterValue(circuit, real, "1e3");
    EnterValue(circuit, text, "two");
    Key(circuit, Qt::Key_Return);
    Type(circuit, "lines");
    Click(circuit, 0, 300);
    EXPECT_EQ(std::bit_cast<double>(real.PortArray[1]->Value), 1000.0);
    EXPECT_EQ(text.PortArray[1]->Text, "two\nlines");

    // A Boolean flips on double click and never enters edit mode.
    EXPECT_EQ(boolean.PortArray[1]->Value, 0);
    DoubleClick(circuit, Middle(boolean).x(), Middle(boolean).y());
    EXPECT_EQ(boolean.PortArray[1]->Value, 1);
    EXPECT_FALSE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    DoubleClick(circuit, Middle(boolean).x(), Middle(boolean).y());
    EXPECT_EQ(boolean.PortArray[1]->Value, 0);
}

// Starting to edit one object while another is still being edited first stores the other, so
// neither text lands in the wrong object; a Boolean holding any true value flips to False.
TEST_F(CanvasInteractionTest, EditsNeverCrossAndBooleansFlipToTheirOpposite) {
    Circuit& circuit = OpenWindow();
    Node& number = Place(circuit, "Constant (Integer)", -60, 0);
    DoubleClick(circuit, 40, 0);
    Type(circuit, "note");
    Click(circuit, 0, 200);
    Comment& comment = *circuit.MainFrame.Comments.front();
    Drag(circuit, -150, -100, 150, 100); // both selected
    ASSERT_TRUE(Selected(number.Flags) && Selected(comment.Flags));

    EnterValue(circuit, number, "7");
    DoubleClick(circuit, comment.X + 4.0, comment.Y + 4.0);
    EXPECT_EQ(ViewOf(circuit)->EditComment, &comment);
    EXPECT_EQ(ViewOf(circuit)->EditNode, nullptr);
    EXPECT_EQ(number.PortArray[1]->Value, 7);
    Type(circuit, "!");
    Click(circuit, 0, 200);
    EXPECT_EQ(comment.Text, "!note"); // the caret went where the comment was clicked
    EXPECT_EQ(number.PortArray[1]->Value, 7);

    Node& boolean = Place(circuit, "Constant (True)", 0, -100);
    boolean.PortArray[1]->Value = 5; // as a file may hold it: shown as True
    DoubleClick(circuit, Middle(boolean).x(), Middle(boolean).y());
    EXPECT_EQ(boolean.PortArray[1]->Value, 0);
}

TEST_F(CanvasInteractionTest, PlusFollowsTheTypesWiredIntoIt) {
    Circuit& circuit = OpenWindow();
    Node& a = Place(circuit, "Constant (Real)", -120, -40);
    Node& b = Place(circuit, "Constant (Real)", -120, 40);
    Node& plus = Place(circuit, "Plus (+)", 40, 0);
    EXPECT_EQ(plus.Implementation->Routine, &routines::Plus_III);
    Connect(circuit, a, 1, plus, 1);
    Connect(circuit, b, 1, plus, 2);
    EXPECT_EQ(plus.Implementation->Routine, &routines::Plus_RRR);
    EXPECT_EQ(plus.PortArray[3]->Type, PortType::Real);
    MoveTo(circuit, PortPoint(plus, 3).x(), PortPoint(plus, 3).y());
    EXPECT_EQ(StatusText(circuit, StatusField::Hover), "Port (Out): x + y (Real)");
}

TEST_F(CanvasInteractionTest, RubberBandSelectsAndADragMovesTheSelection) {
    Circuit& circuit = OpenWindow();
    Node& first = Place(circuit, "Not (\u00AC)", 0, 0);
    Node& second = Place(circuit, "And (\u2227)", 0, 60);
    Node& outside = Place(circuit, "Or (\u2228)", 200, 0);
    const Int firstX = first.X, firstY = first.Y, secondX = second.X, secondY = second.Y;

    Drag(circuit, -60, -40, 60, 100);
    EXPECT_TRUE(Selected(first.Flags));
    EXPECT_TRUE(Selected(second.Flags));
    EXPECT_FALSE(Selected(outside.Flags));

    // A press on a selected node keeps the selection; beyond 4 units it drags all of it.
    Drag(circuit, Middle(first).x(), Middle(first).y(), Middle(first).x() + 20,
         Middle(first).y() + 20);
    EXPECT_EQ(first.X, firstX + 20);
    EXPECT_EQ(first.Y, firstY + 20);
    EXPECT_EQ(second.X, secondX + 20);
    EXPECT_EQ(second.Y, secondY + 20);
    EXPECT_EQ(outside.X, 200 - outside.Width / 2);
    EXPECT_EQ(ViewOf(circuit)->Drag(), nullptr);

    // Four units is not yet a drag.
    Drag(circuit, Middle(first).x(), Middle(first).y(), Middle(first).x() + 4,
         Middle(first).y() - 4);
    EXPECT_EQ(first.X, firstX + 20);
}

TEST_F(CanvasInteractionTest, CtrlClickTogglesAndAPlainClickSelectsOnlyOne) {
    Circuit& circuit = OpenWindow();
    Node& a = Place(circuit, "Plus (+)", -60, 0);
    Node& b = Place(circuit, "Subtract (-)", 60, 0);
    ClickAt(circuit, Middle(a));
    EXPECT_TRUE(Selected(a.Flags));
    ClickAt(circuit, Middle(b), Qt::ControlModifier);
    EXPECT_TRUE(Selected(a.Flags));
    EXPECT_TRUE(Selected(b.Flags));
    ClickAt(circuit, Middle(a), Qt::ControlModifier);
    EXPECT_FALSE(Selected(a.Flags));
    EXPECT_TRUE(Selected(b.Flags));
    ClickAt(circuit, Middle(a));
    EXPECT_TRUE(Selected(a.Flags));
    EXPECT_FALSE(Selected(b.Flags));
    Click(circuit, 0, 200); // empty canvas
    EXPECT_FALSE(Selected(a.Flags));
}

TEST_F(CanvasInteractionTest, DeleteRemovesTheSelectionWithItsWires) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -80, 0);
    Node& print = Place(circuit, "PrintN", 80, 0);
    Node& other = Place(circuit, "PrintN", 80, 100);
    Connect(circuit, constant, 1, print, 1);
    Connect(circuit, constant, 1, other, 1);
    DoubleClick(circuit, -200, -100);
    Type(circuit, "note");
    Click(circuit, 0, 250);
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 2u);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);

    ClickAt(circuit, Middle(print));
    Comment& comment = *circuit.MainFrame.Comments.front();
    ClickAt(circuit, {comment.X + 4.0, comment.Y + 4.0}, Qt::ControlModifier);
    Key(circuit, Qt::Key_Delete);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 2u);
    EXPECT_EQ(circuit.MainFrame.Nodes[0].get(), &constant);
    EXPECT_EQ(circuit.MainFrame.Nodes[1].get(), &other);
    EXPECT_TRUE(circuit.MainFrame.Comments.empty());
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(constant.PortArray[1]->Targets, std::vector<Port*>{other.PortArray[1]});

    // A wire selected by a click goes alone.
    const QPointF from = PortPoint(constant, 1), to = PortPoint(other, 1);
    ClickAt(circuit, (from + to) / 2);
    EXPECT_TRUE(Selected(circuit.MainFrame.Wires[0]->Flags));
    Key(circuit, Qt::Key_Delete);
    EXPECT_TRUE(circuit.MainFrame.Wires.empty());
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 2u);
}

TEST_F(CanvasInteractionTest, AWireFromInputToInputIsAcceptedAndReportedByTheRun) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -120, 0);
    Node& first = Place(circuit, "PrintN", 0, 0);
    Node& second = Place(circuit, "PrintN", 120, 0);
    Connect(circuit, constant, 1, first, 1);
    Connect(circuit, first, 1, second, 1);
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 2u);
    EXPECT_EQ(circuit.MainFrame.Wires[1]->Source, first.PortArray[1]);
    Key(circuit, Qt::Key_F5);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Defect!");
    EXPECT_EQ(SessionOf(circuit).Fault().Message, "Invalid port connection");
}

TEST_F(CanvasInteractionTest, CtrlClicksChainWiresFromPortToPort) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", -120, 0);
    Node& first = Place(circuit, "PrintN", 0, -60);
    Node& second = Place(circuit, "PrintN", 0, 60);
    ClickAt(circuit, PortPoint(constant, 1));
    ClickAt(circuit, PortPoint(first, 1), Qt::ControlModifier);
    EXPECT_EQ(ViewOf(circuit)->WireSource, first.PortArray[1]);
    ClickAt(circuit, PortPoint(second, 1), Qt::ControlModifier);
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 2u);
    EXPECT_EQ(circuit.MainFrame.Wires[0]->Destination, first.PortArray[1]);
    EXPECT_EQ(circuit.MainFrame.Wires[1]->Source, first.PortArray[1]);
    EXPECT_EQ(circuit.MainFrame.Wires[1]->Destination, second.PortArray[1]);
    // Let go over empty canvas, the wire offers new nodes; closing the offer drops it.
    Click(circuit, 0, 250);
    ASSERT_NE(OpenedPlacePopup(), nullptr);
    OpenedPlacePopup()->close();
    EXPECT_EQ(ViewOf(circuit)->WireSource, nullptr);
}

// The pointer takes its shape from what it has just moved onto, not from where it was before.
TEST_F(CanvasInteractionTest, ThePointerShapeFollowsTheMoveAtOnce) {
    Circuit& circuit = OpenWindow();
    Node& print = Place(circuit, "PrintN", 0, 0);
    MoveTo(circuit, 0, 150);
    EXPECT_EQ(CanvasOf(circuit).cursor().shape(), Qt::ArrowCursor);
    MoveTo(circuit, PortPoint(print, 1).x(), PortPoint(print, 1).y());
    EXPECT_EQ(CanvasOf(circuit).cursor().shape(), Qt::PointingHandCursor);
    MoveTo(circuit, 0, 150);
    EXPECT_EQ(CanvasOf(circuit).cursor().shape(), Qt::ArrowCursor);
}

// A closed circuit is never used again: an edit, a wire or a pan begun in its window must not
// go on acting on the other windows.
TEST_F(CanvasInteractionTest, ClosingAWindowDropsWhatWasBegunInIt) {
    Circuit& kept = OpenWindow();
    Node& number = Place(kept, "Constant (Integer)", 0, 0);
    ClickAt(kept, Middle(number));
    ASSERT_TRUE(Selected(number.Flags));

    Circuit& edited = OpenWindow();
    DoubleClick(edited, 0, 0);
    Type(edited, "note");
    EXPECT_EQ(edited.MainFrame.Comments.front()->Text, "");
    OnMenu(edited, Command::Close);
    EXPECT_EQ(saveQuestions, 1) << "the typed text counts as a change";
    EXPECT_EQ(ViewOf(edited), nullptr); // its view, with the edit, went with the window
    MoveTo(kept, Middle(number).x(), Middle(number).y());
    Key(kept, Qt::Key_Delete); // deletes the selection instead of editing the closed comment
    EXPECT_TRUE(kept.MainFrame.Nodes.empty());

    Circuit& wired = OpenWindow();
    Node& print = Place(wired, "PrintN", 0, 0);
    ClickAt(wired, PortPoint(print, 1));
    ASSERT_EQ(ViewOf(wired)->WireSource, print.PortArray[1]);
    Press(wired, 100, 100, Qt::MiddleButton);
    ASSERT_TRUE(ViewOf(wired)->Pan.has_value());
    WindowOf(wired)->close();
    EXPECT_EQ(ViewOf(wired), nullptr);
    // The other window neither pans nor draws a wire from the press it never saw.
    EXPECT_EQ(ViewOf(kept)->WireSource, nullptr);
    MoveTo(kept, 300, 200);
    EXPECT_EQ(ViewOf(kept)->CameraX, 0);
    EXPECT_EQ(ViewOf(kept)->CameraY, 0);
}

} // namespace
} // namespace flow::test

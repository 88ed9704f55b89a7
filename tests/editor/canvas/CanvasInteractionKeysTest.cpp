// Arrow keys nudge the selection (a run of presses is one step) or pan; Escape lets go of a wire
// or a band; a double click on a constant selects its value, so that typing replaces it.

#include "EditorFixture.h"
#include "editor/history/History.h"

#include <QUndoStack>

namespace flow::test {
namespace {

using KeysTest = EditorFixture;

TEST_F(KeysTest, ArrowsNudgeTheSelectionInOneStepOrPanTheView) {
    Circuit& circuit = OpenWindow();
    Node& plus = Place(circuit, "Plus (+)", 0, 0);
    const Int x = plus.X, y = plus.Y;
    Click(circuit, 0, 0);
    const int steps = HistoryOf(circuit)->count();
    Key(circuit, Qt::Key_Right);
    Key(circuit, Qt::Key_Right);
    Key(circuit, Qt::Key_Down, Qt::ShiftModifier);
    Key(circuit, Qt::Key_Left);
    EXPECT_EQ(plus.X, x + 1);
    EXPECT_EQ(plus.Y, y + 10);
    EXPECT_EQ(HistoryOf(circuit)->count(), steps + 1);
    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(plus.X, x);
    EXPECT_EQ(plus.Y, y);

    Click(circuit, 0, 200); // nothing selected
    const Int cameraX = ViewOf(circuit)->CameraX;
    Key(circuit, Qt::Key_Left);
    EXPECT_EQ(ViewOf(circuit)->CameraX, cameraX - ViewOf(circuit)->CanvasWidth / 10);
    EXPECT_EQ(plus.X, x);
}

TEST_F(KeysTest, EscapeLetsGoOfAWireAndABand) {
    Circuit& circuit = OpenWindow();
    Node& print = Place(circuit, "PrintN", 0, 0);
    const Port& in = *print.PortArray[1];
    Click(circuit, double(print.X + in.X), double(print.Y + in.Y));
    ASSERT_EQ(ViewOf(circuit)->WireSource, &in);
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(ViewOf(circuit)->WireSource, nullptr);
    EXPECT_FALSE(in.Flags & ObjectFlag::Selected);

    // A band around the node, given up before the release, selects nothing and moves nothing.
    MoveTo(circuit, -100, -100);
    Press(circuit, -100, -100);
    MoveTo(circuit, 100, 100, Qt::LeftButton);
    EXPECT_NE(ViewOf(circuit)->Band(), nullptr);
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(ViewOf(circuit)->Band(), nullptr);
    MoveTo(circuit, 120, 120, Qt::LeftButton);
    Release(circuit, 120, 120);
    EXPECT_FALSE(print.Flags & ObjectFlag::Selected);
    EXPECT_EQ(ViewOf(circuit)->Drag(), nullptr);
}

TEST_F(KeysTest, TypingIntoADoubleClickedConstantReplacesItsValue) {
    Circuit& circuit = OpenWindow();
    Node& number = Place(circuit, "Constant (Integer)", 0, 0);
    const double middleX = number.X + number.Width / 2.0, middleY = number.Y + number.Height / 2.0;
    DoubleClick(circuit, middleX, middleY);
    ASSERT_EQ(ViewOf(circuit)->EditNode, &number);
    Type(circuit, "7");
    Click(circuit, 0, 200);
    EXPECT_EQ(number.PortArray[1]->Value, 7);

    // A click in the text afterwards places the caret as before: typing inserts there.
    DoubleClick(circuit, middleX, middleY);
    Click(circuit, double(number.X + number.Width + 5), middleY);
    Type(circuit, "5");
    Click(circuit, 0, 200);
    EXPECT_EQ(number.PortArray[1]->Value, 57);
}

} // namespace
} // namespace flow::test

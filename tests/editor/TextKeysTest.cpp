// The keys every text field has, in comments and constants: line and text ends, lines up and
// down, the text clipboard, and Escape.

#include "EditorFixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <bit>

namespace flow::test {
namespace {

using TextKeysTest = EditorFixture;

TEST_F(TextKeysTest, EscapeEndsTheEditAndRestoresTheTextItBeganWith) {
    Circuit& circuit = OpenWindow();
    const EditorState& editor = Editor();
    DoubleClick(circuit, 0, 0);
    Type(circuit, "keep");
    Click(circuit, 300, 200);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    Comment& comment = *circuit.MainFrame.Comments.front();
    ASSERT_EQ(comment.Text, "keep");
    const Int width = comment.Width;

    DoubleClick(circuit, 4, 6);
    ASSERT_EQ(editor.EditComment, &comment);
    Key(circuit, Qt::Key_Backspace);
    Type(circuit, "p and much more text");
    MoveTo(circuit, 300, 200); // a redraw lays the box out from the buffer
    EXPECT_GT(comment.Width, width);
    Key(circuit, Qt::Key_Escape);
    EXPECT_FALSE(editor.Has(InteractionFlag::Editing));
    EXPECT_EQ(editor.EditComment, nullptr);
    EXPECT_EQ(comment.Text, "keep");
    EXPECT_EQ(comment.Width, width) << "the box fits the restored text again";

    // A new comment began empty: Escape takes it away again.
    DoubleClick(circuit, 200, 100);
    Type(circuit, "gone");
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 1u);

    // A constant keeps its value, and Escape with nothing edited still cancels a placement.
    Node& constant = Place(circuit, 14, -200, 100);
    Port& port = *constant.PortArray[1];
    port.Value = std::bit_cast<Int>(0.1 + 0.2); // not written back exactly by 16 digits
    constant.Flags |= ObjectFlag::NeedsLayout;
    DoubleClick(circuit, constant.X + constant.Width / 2.0, constant.Y + constant.Height / 2.0);
    ASSERT_EQ(editor.EditNode, &constant);
    Type(circuit, "12345");
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(editor.EditNode, nullptr);
    EXPECT_EQ(port.Value, std::bit_cast<Int>(0.1 + 0.2));
    OnMenu(circuit, 15);
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(PreviewNode().Function, nullptr);
}

TEST_F(TextKeysTest, LineKeysMoveByLinesAndKeepTheColumn) {
    Circuit& circuit = OpenWindow();
    const EditorState& editor = Editor();
    DoubleClick(circuit, 0, 0);
    Type(circuit, "abcdef");
    Key(circuit, Qt::Key_Return);
    Type(circuit, "ab");
    Key(circuit, Qt::Key_Return);
    Type(circuit, "abcdef"); // 16 characters; lines start at 0, 7 and 10
    const auto at = [&](int caret, int selection) {
        return editor.Caret == caret && editor.SelectionLength == selection;
    };

    Key(circuit, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(at(0, 0));
    Key(circuit, Qt::Key_End);
    EXPECT_TRUE(at(6, 0));
    Key(circuit, Qt::Key_Home);
    EXPECT_TRUE(at(0, 0));
    for (int i = 0; i < 4; ++i)
        Key(circuit, Qt::Key_Right);
    Key(circuit, Qt::Key_Up); // on the first line: the nearest place stays on it
    EXPECT_TRUE(at(4, 0));
    Key(circuit, Qt::Key_Down);
    EXPECT_TRUE(at(9, 0)) << "the short line ends before the column";
    Key(circuit, Qt::Key_Down);
    EXPECT_TRUE(at(14, 0)) << "the column comes back on a long line";
    Key(circuit, Qt::Key_Up);
    Key(circuit, Qt::Key_Up);
    EXPECT_TRUE(at(4, 0));

    // Shift extends from where the selection began; the moving end is Caret + SelectionLength.
    Key(circuit, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(at(4, 5));
    Key(circuit, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(at(4, 12));
    Key(circuit, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_TRUE(at(4, 6));
    Key(circuit, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(at(4, -4));
    Key(circuit, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(at(16, 0));
    Key(circuit, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_TRUE(at(16, -6));
    Type(circuit, "X");
    EXPECT_EQ(editor.EditBuffer, "abcdef\nab\nX");

    // A typed character or a click starts a new aim for the column.
    Key(circuit, Qt::Key_Up);
    EXPECT_TRUE(at(8, 0));
    Key(circuit, Qt::Key_Down);
    EXPECT_TRUE(at(11, 0));
}

TEST_F(TextKeysTest, ClipboardKeysActOnTheEditedText) {
    Circuit& circuit = OpenWindow();
    const EditorState& editor = Editor();
    QClipboard& clipboard = *QGuiApplication::clipboard();
    DoubleClick(circuit, 0, 0);
    Type(circuit, "hello world");
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor.Caret, 0);
    EXPECT_EQ(editor.SelectionLength, 11);
    Key(circuit, Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 5; ++i)
        Key(circuit, Qt::Key_Left, Qt::ShiftModifier);
    Key(circuit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), "world");
    EXPECT_EQ(editor.EditBuffer, "hello world");
    Key(circuit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(editor.EditBuffer, "hello ");
    Key(circuit, Qt::Key_Home);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.EditBuffer, "worldhello ");
    EXPECT_EQ(editor.Caret, 5);
    Key(circuit, Qt::Key_C, Qt::ControlModifier); // nothing selected: the clipboard stays
    EXPECT_EQ(clipboard.text(), "world");

    // Text from elsewhere arrives as typing could give it: line ends as line feeds, no controls.
    clipboard.setText(QStringLiteral("one\r\ntwo\rthree\a\tend"));
    Key(circuit, Qt::Key_End, Qt::ControlModifier);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.EditBuffer, "worldhello one\ntwo\nthree\tend");
    Click(circuit, 300, 200);
    EXPECT_EQ(circuit.MainFrame.Comments.front()->Text, "worldhello one\ntwo\nthree\tend");

    // A constant takes the first line only.
    Node& constant = Place(circuit, 13, -200, 100);
    DoubleClick(circuit, constant.X + constant.Width / 2.0, constant.Y + constant.Height / 2.0);
    ASSERT_EQ(editor.EditNode, &constant);
    clipboard.setText(QStringLiteral("1234\n5678"));
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.EditBuffer, "1234");
    Key(circuit, Qt::Key_Delete, Qt::NoModifier);
    Click(circuit, 300, 200);
    EXPECT_EQ(constant.PortArray[1]->Value, 1234);
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u) << "Delete while editing removes no object";
}

} // namespace
} // namespace flow::test

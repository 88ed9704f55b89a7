// Texts edited on the canvas, in comments and constants: a comment written where a double click
// fell, the keys every text field has (line and text ends, lines up and down, the text
// clipboard, Escape), and characters a circuit file cannot hold, which never get in.

#include "EditorFixture.h"
#include "editor/window/StatusText.h"

#include "editor/canvas/TextEditing.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <bit>

namespace flow::test {
namespace {

class TextEditingTest : public EditorFixture {
  protected:
    // One key event carrying the whole text, as an input method may send it.
    void TypeText(Circuit& circuit, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&CanvasOf(circuit), &press);
    }
};

// A character outside the basic plane: a whole surrogate pair.
const QString kPair = QString::fromUtf16(u"\U0001F600");

TEST_F(TextEditingTest, DoubleClickWritesACommentThatIsCommittedByAClickAway) {
    Circuit& circuit = OpenWindow();
    DoubleClick(circuit, 100, 50);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    Comment& comment = *circuit.MainFrame.Comments.front();
    EXPECT_EQ(comment.X, 92);
    EXPECT_EQ(comment.Y, 46);
    EXPECT_TRUE(comment.Flags & ObjectFlag::Selected);
    EXPECT_TRUE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    EXPECT_EQ(ViewOf(circuit)->EditComment, &comment);
    EXPECT_EQ(CanvasOf(circuit).cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(StatusText(circuit, StatusField::Position), "100, 50");

    Type(circuit, "first");
    Key(circuit, Qt::Key_Return);
    Type(circuit, "second");
    EXPECT_EQ(comment.Text, "") << "the text is stored only when the edit ends";
    Click(circuit, -300, -200);
    EXPECT_FALSE(ViewOf(circuit)->Has(InteractionFlag::Editing));
    EXPECT_EQ(ViewOf(circuit)->EditComment, nullptr);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    EXPECT_EQ(comment.Text, "first\nsecond");

    // A comment left empty disappears when the edit ends.
    DoubleClick(circuit, 200, 150);
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 2u);
    Click(circuit, -300, 200);
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 1u);
}

TEST_F(TextEditingTest, EditingKeysChangeTheBufferAndNotTheCircuit) {
    Circuit& circuit = OpenWindow();
    DoubleClick(circuit, 0, 0);
    const EditorState& editor = *ViewOf(circuit);
    Type(circuit, "abcd");
    Key(circuit, Qt::Key_Left);
    Key(circuit, Qt::Key_Left);
    Key(circuit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(editor.Caret, 2);
    EXPECT_EQ(editor.SelectionLength, -1);
    Type(circuit, "X"); // replaces the selected "b"
    EXPECT_EQ(editor.EditBuffer, "aXcd");
    EXPECT_EQ(editor.Caret, 2);
    Key(circuit, Qt::Key_Backspace);
    EXPECT_EQ(editor.EditBuffer, "acd");
    Key(circuit, Qt::Key_Delete); // while editing, Delete removes a character, not the comment
    EXPECT_EQ(editor.EditBuffer, "ad");
    EXPECT_EQ(circuit.MainFrame.Comments.size(), 1u);
    Key(circuit, Qt::Key_Right, Qt::ShiftModifier);
    Key(circuit, Qt::Key_Right, Qt::ShiftModifier); // already at the end
    EXPECT_EQ(editor.SelectionLength, 1);
    Key(circuit, Qt::Key_Backspace);
    EXPECT_EQ(editor.EditBuffer, "a");
    Key(circuit, Qt::Key_Left);
    Key(circuit, Qt::Key_Left);
    EXPECT_EQ(editor.Caret, 0);
    Key(circuit, Qt::Key_Backspace);
    Key(circuit, Qt::Key_Tab); // no character, and the focus stays
    Type(circuit, "\u00E9\U0001F600");
    EXPECT_EQ(editor.EditBuffer, QString("\u00E9\U0001F600a"));
    EXPECT_EQ(editor.Caret, 3);
    EXPECT_TRUE(editor.Has(InteractionFlag::Editing));
    EXPECT_TRUE(CanvasOf(circuit).hasFocus());
    Click(circuit, 300, 200);
    EXPECT_EQ(circuit.MainFrame.Comments.front()->Text, QString("\u00E9\U0001F600a"));
}

TEST_F(TextEditingTest, EscapeEndsTheEditAndRestoresTheTextItBeganWith) {
    Circuit& circuit = OpenWindow();
    const EditorState& editor = *ViewOf(circuit);
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
    Node& constant = Place(circuit, "Constant (Real)", -200, 100);
    Port& port = *constant.PortArray[1];
    port.Value = std::bit_cast<Int>(0.1 + 0.2); // not written back exactly by 16 digits
    constant.Flags |= ObjectFlag::NeedsLayout;
    DoubleClick(circuit, Middle(constant).x(), Middle(constant).y());
    ASSERT_EQ(editor.EditNode, &constant);
    Type(circuit, "12345");
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(editor.EditNode, nullptr);
    EXPECT_EQ(port.Value, std::bit_cast<Int>(0.1 + 0.2));
    OnMenu(circuit, AddNodeCommand("Plus (+)"));
    Key(circuit, Qt::Key_Escape);
    EXPECT_EQ(ViewOf(circuit)->Preview.Function, nullptr);
}

TEST_F(TextEditingTest, LineKeysMoveByLinesAndKeepTheColumn) {
    Circuit& circuit = OpenWindow();
    const EditorState& editor = *ViewOf(circuit);
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

TEST_F(TextEditingTest, ClipboardKeysActOnTheEditedText) {
    Circuit& circuit = OpenWindow();
    const EditorState& editor = *ViewOf(circuit);
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
    Node& constant = Place(circuit, "Constant (Integer)", -200, 100);
    DoubleClick(circuit, Middle(constant).x(), Middle(constant).y());
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

TEST_F(TextEditingTest, UnwritableCharactersAreLeftOutAndTheFileNeedsNoReplacement) {
    // Half a surrogate pair, U+FFFE, U+FFFF and C0 controls go; whole pairs and tabs stay.
    const QString mixed = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") +
                          QChar(0xDC00) + QChar(0xFFFE) + QChar(0xFFFF) + QChar(0x0001) + kPair +
                          QChar(0xD83D) + QStringLiteral("\tc");
    EXPECT_EQ(PastableText(mixed, true), QStringLiteral("ab") + kPair + QStringLiteral("\tc"));

    Circuit& circuit = OpenWindow();
    DoubleClick(circuit, 0, 0);
    Type(circuit, "x");
    TypeText(circuit, QString(QChar(0xD800)));
    TypeText(circuit, QString(QChar(0xFFFF)));
    TypeText(circuit, kPair);
    QGuiApplication::clipboard()->setText(mixed);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    const QString expected =
        QStringLiteral("x") + kPair + QStringLiteral("ab") + kPair + QStringLiteral("\tc");
    EXPECT_EQ(ViewOf(circuit)->EditBuffer, expected);
    Click(circuit, 300, 200);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    EXPECT_EQ(circuit.MainFrame.Comments.front()->Text, expected);

    // Saved and read back unchanged: nothing had to become U+FFFD.
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("text.xml"));
    ASSERT_TRUE(SaveCircuit(circuit, name));
    Circuit* reread = LoadCircuit(name);
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->MainFrame.Comments.front()->Text, expected);
}

} // namespace
} // namespace flow::test

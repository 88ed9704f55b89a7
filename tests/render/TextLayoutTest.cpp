#include "render/TextLayout.h"
#include "editor/canvas/OpenViews.h"
#include "model/Model.h"
#include "render/CommentDrawing.h"
#include "render/Palette.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>

namespace flow {
namespace {

QFont CommentFont() {
    return FontAt(RegularFont(), kCommentTextSize);
}
double LineHeight() {
    return QFontMetricsF(CommentFont()).height();
}
double Advance(const QString& text) {
    return QFontMetricsF(CommentFont()).horizontalAdvance(text);
}

class TextLayoutTest : public testing::Test {
  protected:
    Circuit& circuit = NewCircuit();
    CircuitView view{circuit};
};

TEST_F(TextLayoutTest, CommentBoxesGrowFromAnEmptyBoxOfOneLine) {
    Comment* empty = AddComment(&circuit.MainFrame, "", 0, 0);
    LayoutComment(*empty, &view);
    EXPECT_EQ(empty->Width, 16);
    EXPECT_EQ(empty->Height, Int(std::ceil(LineHeight())) + 8);

    Comment* tab = AddComment(&circuit.MainFrame, "\t", 0, 0);
    LayoutComment(*tab, &view);
    EXPECT_EQ(tab->Width, 46);

    // Laid out only on request: a changed text keeps the old size until NeedsLayout is set.
    tab->Flags &= ~ObjectFlag::NeedsLayout;
    tab->Text = "\t\t\t";
    LayoutComment(*tab, &view);
    EXPECT_EQ(tab->Width, 46);
    tab->Flags |= ObjectFlag::NeedsLayout;
    LayoutComment(*tab, &view);
    EXPECT_EQ(tab->Width, 106);
}

TEST_F(TextLayoutTest, TabsAdvanceToTheNextStopFromTheLineStart) {
    const QFont font = CommentFont();
    EXPECT_EQ(TextBlockWidth(font, ""), 0.0);
    EXPECT_DOUBLE_EQ(TextBlockWidth(font, "ab"), Advance("ab"));
    EXPECT_EQ(TextBlockWidth(font, "ab\t"), 30.0);
    // A tab at a stop still moves on by a whole step.
    EXPECT_EQ(TextBlockWidth(font, "\t\t"), 60.0);
    EXPECT_DOUBLE_EQ(TextBlockWidth(font, "ab\tcd"), 30.0 + Advance("cd"));
    // The widest line counts; each line starts at 0 again.
    EXPECT_DOUBLE_EQ(TextBlockWidth(font, "\t\tx\nab"), 60.0 + Advance("x"));
    EXPECT_DOUBLE_EQ(TextBlockWidth(font, "a\n\t\tlonger line"), 60.0 + Advance("longer line"));
}

TEST_F(TextLayoutTest, EveryLineAddsOneLineHeight) {
    const QFont font = CommentFont();
    const double line = LineHeight();
    EXPECT_DOUBLE_EQ(TextBlockHeight(font, ""), line);
    EXPECT_DOUBLE_EQ(TextBlockHeight(font, "ab"), line);
    EXPECT_DOUBLE_EQ(TextBlockHeight(font, "ab\n") - TextBlockHeight(font, "ab"), line);
    EXPECT_DOUBLE_EQ(TextBlockHeight(font, "a\n\nb"), 3 * line);
}

TEST_F(TextLayoutTest, TheNearestLineWinsThenTheNearestPositionTiesGoingLater) {
    const QFont font = CommentFont();
    const double line = LineHeight();
    const double a = Advance("a");
    EXPECT_EQ(TextIndexAt(font, "", 50, 50), 0);
    EXPECT_EQ(TextIndexAt(font, "ab", a / 2, 0), 1);
    EXPECT_EQ(TextIndexAt(font, "ab", a / 2 - 0.1, 0), 0);
    EXPECT_EQ(TextIndexAt(font, "ab", -20, line / 2), 0);
    // Right of a line's end: the end of that line, before its line feed.
    EXPECT_EQ(TextIndexAt(font, "ab\ncd", 1000, line / 2), 2);
    EXPECT_EQ(TextIndexAt(font, "ab\ncd", 1000, line * 1.5), 5);
    // Below the last line: still on the last line.
    EXPECT_EQ(TextIndexAt(font, "ab\ncd", 0, 1000), 3);
    EXPECT_EQ(TextIndexAt(font, "ab\n", 40, 1000), 3);
    // After a tab the next position is the tab stop.
    EXPECT_EQ(TextIndexAt(font, "a\tb", 31, 0), 2);
    EXPECT_EQ(TextIndexAt(font, "a\tb", 18, 0), 1);
}

TEST_F(TextLayoutTest, TheEditedCommentPlacesItsCaretAndFollowsTheBuffer) {
    Comment* comment = AddComment(&circuit.MainFrame, "old", 100, 200);
    EditorState& editor = view;
    editor.Set(InteractionFlag::Editing);
    editor.EditComment = comment;
    editor.EditBuffer = "ab\ncd\t";
    editor.Caret = 4;
    editor.SelectionLength = 2;
    comment->Flags = 0;

    // Any other event leaves the caret alone but still sizes the box from the buffer.
    editor.LastEvent = CanvasEvent::KeyDown;
    LayoutComment(*comment, &view);
    EXPECT_EQ(editor.Caret, 4);
    EXPECT_EQ(editor.SelectionLength, 2);
    EXPECT_EQ(comment->Width, 30 + 16);
    EXPECT_EQ(comment->Height, Int(std::ceil(2 * LineHeight())) + 8);

    // A click right of the first line, in circuit units: text origin is (X + 8, Y + 4).
    editor.LastEvent = CanvasEvent::LeftDown;
    editor.MouseX = 100 + 8 + 500;
    editor.MouseY = 200 + 4 + 1;
    LayoutComment(*comment, &view);
    EXPECT_EQ(editor.Caret, 2);
    EXPECT_EQ(editor.SelectionLength, 0);

    // Dragging back to the text origin selects backwards; a move without the button does not.
    editor.LastEvent = CanvasEvent::MouseMove;
    editor.MouseX = 100 + 8;
    LayoutComment(*comment, &view);
    EXPECT_EQ(editor.SelectionLength, 0);
    editor.LastEventLeftHeld = true;
    LayoutComment(*comment, &view);
    EXPECT_EQ(editor.Caret, 2);
    EXPECT_EQ(editor.SelectionLength, -2);

    // Another comment is not the edited one and keeps its own text's size.
    Comment* other = AddComment(&circuit.MainFrame, "", 0, 0);
    LayoutComment(*other, &view);
    EXPECT_EQ(other->Width, 16);
}

} // namespace
} // namespace flow

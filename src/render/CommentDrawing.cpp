#include "editor/EditorState.h"
#include "render/CaretPlacement.h"
#include "render/Palette.h"
#include "render/SceneDrawing.h"
#include "render/Strokes.h"
#include "render/TextLayout.h"

#include <QPainter>

#include <cmath>

namespace flow {

namespace {

constexpr double kCornerRadius = 6.0;
constexpr int kTextInsetX = 8, kTextInsetY = 4;
constexpr int kMarginX = 16, kMarginY = 8;

QFont CommentFont() {
    return FontAt(RegularFont(), kCommentTextSize);
}

bool IsEdited(const Comment& comment) {
    const EditorState& editor = Editor();
    return editor.Has(InteractionFlag::Editing) && editor.EditComment == &comment;
}

} // namespace

void LayoutComment(Comment& comment) {
    const QFont font = CommentFont();
    const bool edited = IsEdited(comment);
    if (edited)
        PlaceCaret(font, double(comment.X + kTextInsetX), double(comment.Y + kTextInsetY));
    else if (!(comment.Flags & ObjectFlag::NeedsLayout))
        return;
    const QString& text = edited ? Editor().EditBuffer : comment.Text;
    comment.Width = Int(std::ceil(TextBlockWidth(font, text))) + kMarginX;
    comment.Height = Int(std::ceil(TextBlockHeight(font, text))) + kMarginY;
}

void CommentBoxPath(QPainterPath& path, double x, double y, double width, double height) {
    const double d = 2 * kCornerRadius;
    // Qt counts arc angles counter-clockwise as seen on the screen; each corner turns
    // clockwise by a quarter.
    path.moveTo(x, y + kCornerRadius);
    path.arcTo(x, y, d, d, 180.0, -90.0);
    path.arcTo(x + width - d, y, d, d, 90.0, -90.0);
    path.arcTo(x + width - d, y + height - d, d, d, 0.0, -90.0);
    path.arcTo(x, y + height - d, d, d, 270.0, -90.0);
    path.closeSubpath();
}

void DrawComment(QPainter& painter, const Comment& comment) {
    const EditorState& editor = Editor();
    const auto& colors = ColorTable();
    painter.save();
    if (editor.Has(InteractionFlag::Dragged) && (comment.Flags & ObjectFlag::Selected))
        painter.translate(double(editor.DragDX), double(editor.DragDY));

    QPainterPath box;
    CommentBoxPath(box, double(comment.X) + 0.5, double(comment.Y) + 0.5, double(comment.Width) - 1,
                   double(comment.Height) - 1);
    StrokeShadow(painter, box, colors[ColorSlot::Shadow]);
    painter.fillPath(box, QColor::fromRgba(colors[ColorSlot::CommentFill]));
    painter.strokePath(box, SolidPen(colors[ColorSlot::CommentOutline], 1.0));
    if (comment.Flags & ObjectFlag::Selected)
        painter.strokePath(box, SolidPen(colors[ColorSlot::Selection], 1.0));
    else if (comment.Flags & ObjectFlag::Hovered)
        painter.strokePath(box, DashedPen(colors[ColorSlot::Hover], 1.0, 3.0));

    painter.setFont(CommentFont());
    painter.setPen(QColor::fromRgba(colors[ColorSlot::SymbolFill]));
    const double textX = double(comment.X + kTextInsetX);
    const double textY = double(comment.Y + kTextInsetY);
    if (IsEdited(comment))
        DrawEditText(painter, textX, textY, editor.EditBuffer, editor.Caret,
                     editor.SelectionLength);
    else
        DrawEditText(painter, textX, textY, comment.Text, kNoCaret, 0);
    painter.restore();
}

} // namespace flow

#include "render/CommentDrawing.h"

#include "model/Coordinates.h"
#include "render/CaretPlacement.h"
#include "render/CircuitView.h"
#include "render/Palette.h"
#include "render/SpriteCache.h"
#include "render/Strokes.h"
#include "render/TextLayout.h"

#include <QPainter>

#include <cmath>

namespace flow {

namespace {

constexpr double kCornerRadius = 6.0;
constexpr int kTextInsetX = 8, kTextInsetY = 4;
constexpr int kMarginX = 16, kMarginY = 8;

bool IsEdited(const Comment& comment, const EditorState* editor) {
    if (!editor) return false;
    return editor->Has(InteractionFlag::Editing) && editor->EditComment == &comment;
}

} // namespace

QFont CommentFont() {
    return FontAt(RegularFont(), kCommentTextSize);
}

void LayoutComment(Comment& comment, EditorState* editing) {
    const bool edited = IsEdited(comment, editing);
    // Every redraw asks every comment; most have nothing to do.
    if (!edited && !(comment.Flags & ObjectFlag::NeedsLayout)) return;
    const QFont font = CommentFont();
    if (edited)
        PlaceCaret(*editing, font, double(SaturatedSum(comment.X, kTextInsetX)),
                   double(SaturatedSum(comment.Y, kTextInsetY)));
    const QString& text = edited ? editing->EditBuffer : comment.Text;
    comment.Width = Int(std::ceil(TextBlockWidth(font, text))) + kMarginX;
    comment.Height = Int(std::ceil(TextBlockHeight(font, text))) + kMarginY;
    // Measured from its own text, it need not be again (a paste measures what it places).
    if (!edited) comment.Flags &= ~ObjectFlag::NeedsLayout;
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

void DrawComment(QPainter& painter, const Comment& comment, const CircuitView& view) {
    const EditorState& editor = view;
    const auto& colors = ColorTable();
    const int flags =
        view.ShowsEditing ? comment.Flags & (ObjectFlag::Hovered | ObjectFlag::Selected) : 0;
    const bool edited = IsEdited(comment, &editor);
    auto drawText = [&](QPainter& p, const QString& text, int caret, int selection) {
        p.setFont(CommentFont());
        p.setPen(QColor::fromRgba(colors[ColorSlot::SymbolFill]));
        DrawEditText(p, kTextInsetX, kTextInsetY, text, caret, selection);
    };

    // Only the transform changes, but for the text under edit; keeping it is much cheaper than
    // a full save.
    const QTransform placed = painter.transform();
    if (const press::Dragging* drag = editor.Drag(); drag && (flags & ObjectFlag::Selected))
        painter.translate(double(drag->DX), double(drag->DY));
    painter.translate(double(comment.X), double(comment.Y));

    const double width = double(comment.Width), height = double(comment.Height);
    const QRectF bounds = QRectF(0.0, 0.0, width, height).adjusted(-7.0, -7.0, 7.0, 7.0);
    SpriteKey key;
    key.Kind = SpriteKind::CommentBox;
    key.Width = comment.Width;
    key.Height = comment.Height;
    key.Flags = flags;
    key.Shadow = colors[ColorSlot::Shadow];
    // Text under edit changes with every key stroke and caret move: it is drawn over the box.
    if (!edited) key.Text = comment.Text;
    DrawThroughSprite(painter, key, bounds, [&](QPainter& p) {
        // Half-unit insets put the one-unit outline on whole pixels at magnification 1.
        QPainterPath box;
        CommentBoxPath(box, 0.5, 0.5, width - 1, height - 1);
        StrokeShadow(p, box, colors[ColorSlot::Shadow]);
        p.fillPath(box, QColor::fromRgba(colors[ColorSlot::CommentFill]));
        p.strokePath(box, SolidPen(colors[ColorSlot::CommentOutline], 1.0));
        if (flags & ObjectFlag::Selected)
            p.strokePath(box, SolidPen(colors[ColorSlot::Selection], 1.0));
        else if (flags & ObjectFlag::Hovered)
            p.strokePath(box, DashedPen(colors[ColorSlot::Hover], 1.0, 3.0));
        if (!edited) drawText(p, comment.Text, kNoCaret, 0);
    });
    if (edited) {
        painter.save();
        drawText(painter, editor.EditBuffer, editor.Caret, editor.SelectionLength);
        painter.restore();
    }
    painter.setTransform(placed);
}

} // namespace flow

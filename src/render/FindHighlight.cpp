#include "render/FindHighlight.h"

#include "render/CircuitView.h"
#include "render/FindMatch.h"

#include <QPainter>
#include <QPainterPath>

namespace flow {

namespace {

// Amber: apart from the selection's white and every port type's colour.
constexpr QRgb kMatchOutline = 0xFFFFB020;
constexpr QRgb kMatchTint = 0x38FFB020;
constexpr double kMargin = 4.0;  // around the object's box, clear of its outline
constexpr double kOutline = 2.0; // wide enough to tell from the hover highlight

void Mark(QPainter& painter, const QRectF& box) {
    QPainterPath path;
    path.addRoundedRect(box.normalized().adjusted(-kMargin, -kMargin, kMargin, kMargin), kMargin,
                        kMargin);
    painter.fillPath(path, QColor::fromRgba(kMatchTint));
    painter.strokePath(path, QPen(QColor::fromRgba(kMatchOutline), kOutline));
}

// Where the object is drawn: a drag moves the selection's drawings before it moves them.
QRectF Box(const ObjectHeader& object, int flags, const CircuitView& view) {
    // A constant's box reaches left of X: its Width is negative, and normalizing turns it round.
    QRectF box(double(object.X), double(object.Y), double(object.Width), double(object.Height));
    if (const press::Dragging* drag = view.Drag(); drag && (flags & ObjectFlag::Selected))
        box.translate(double(drag->DX), double(drag->DY));
    return box;
}

} // namespace

void DrawFindHighlights(QPainter& painter, const CircuitView& view, const SceneObjects& visible) {
    const FindText text(view.FindText);
    if (text.Empty()) return;
    const Frame& frame = ShownFrame(view);
    for (const int i : visible.Nodes)
        if (const Node& node = *frame.Nodes[std::size_t(i)]; Matches(node, text))
            Mark(painter, Box(node, node.Flags, view));
    for (const int i : visible.Comments)
        if (const Comment& comment = *frame.Comments[std::size_t(i)]; Matches(comment, text))
            Mark(painter, Box(comment, comment.Flags, view));
}

} // namespace flow

// Wires: the curve between two ports and how its validity and selection show.

#include "editor/EditorState.h"
#include "engine/TypeResolution.h"
#include "render/Camera.h"
#include "render/Palette.h"
#include "render/SceneDrawing.h"
#include "render/Strokes.h"
#include "render/TrimmedStroke.h"
#include "render/WireGeometry.h"

#include <QPainter>

#include <cmath>
#include <deque>
#include <utility>

namespace flow {

namespace {

constexpr QRgb kInvalidWireColor = 0xFF808080;

// The direction a wire leaves a port in: outward for an output, the reverse for an input.
QPointF LeavingDirection(const Port& port) {
    if (port.Direction & Direction::Out) return QPointF(port.WireDirX, port.WireDirY);
    if (port.Direction & Direction::In) return QPointF(-port.WireDirX, -port.WireDirY);
    return QPointF(0, 0);
}

QPointF ArrivingDirection(const Port* port) {
    return port ? -LeavingDirection(*port) : QPointF(0, 0);
}

// Control offset: the bulge grows with the square root of the distance, so short wires stay
// nearly straight. Rounding ties to even keeps control points on whole units.
QPointF ControlOffset(QPointF direction, double reach) {
    return QPointF(std::nearbyint(direction.x() * reach), std::nearbyint(direction.y() * reach));
}

WireGeometry Geometry(const Wire& wire) {
    const EditorState& editor = Editor();
    const QPointF start = PortPosition(*wire.Source);
    const QPointF end =
        wire.Destination ? PortPosition(*wire.Destination) : QPointF(editor.MouseX, editor.MouseY);
    return GeometryBetween(start, end, *wire.Source, wire.Destination);
}

QPen WithEnds(QPen pen, Qt::PenCapStyle cap, double phase = 0) {
    pen.setCapStyle(cap);
    pen.setDashOffset(phase / pen.widthF()); // in pen widths, like the dashes
    return pen;
}

// The pen of valid wires in one type colour. The same pen object lets the painter see at once
// that the pen did not change from the wire before, instead of comparing it field by field.
const QPen& ValidWirePen(QRgb color) {
    static std::deque<std::pair<QRgb, QPen>> pens; // keeps what it handed out in place
    for (const auto& [known, pen] : pens)
        if (known == color) return pen;
    pens.emplace_back(color, WithEnds(SolidPen(color, 2), Qt::RoundCap));
    return pens.back().second;
}

const QPen& InvalidWirePen() {
    static const QPen pen = WithEnds(DashedPen(kInvalidWireColor, 1, 4), Qt::RoundCap, 4);
    return pen;
}

// A light border one unit wide on each side of a dark band that the wire is drawn on.
void DrawHighlight(QPainter& painter, const QPainterPath& curve, int flags) {
    const auto& colors = ColorTable();
    if (flags & ObjectFlag::Selected)
        StrokeTrimmedToView(painter, curve, SolidPen(colors[ColorSlot::Hover], 6));
    else if (flags & ObjectFlag::Hovered)
        painter.strokePath(curve, DashedPen(colors[ColorSlot::Hover], 6, 3));
    else
        return;
    StrokeTrimmedToView(painter, curve, SolidPen(colors[ColorSlot::Background], 4));
}

// The side a valid wire's value comes from; only a wire dragged from an input onto an output
// has it at its end.
const Port& OutputSide(const Wire& wire) {
    const bool reversed = !(wire.Source->Direction & Direction::Out) &&
                          !(wire.Destination->Direction & Direction::In);
    return reversed ? *wire.Destination : *wire.Source;
}

} // namespace

QPointF PortPosition(const Port& port, bool followDrag) {
    if (!port.Node) return QPointF(port.X, port.Y);
    const Node& node = *port.Node;
    // In doubles: positions near the limits of the integers must not overflow.
    QPointF position(double(node.X) + double(port.X), double(node.Y) + double(port.Y));
    const EditorState& editor = Editor();
    if (followDrag && (node.Flags & ObjectFlag::Selected) && editor.Has(InteractionFlag::Dragged))
        position += QPointF(editor.DragDX, editor.DragDY);
    return position;
}

WireGeometry GeometryBetween(QPointF start, QPointF end, const Port& source,
                             const Port* destination) {
    WireGeometry g;
    g.Start = start;
    g.End = end;
    const QPointF d = end - start;
    // The fourth root of the squared distance, without pow.
    const double reach = 4 * std::sqrt(std::sqrt(d.x() * d.x() + d.y() * d.y()));
    g.StartOffset = ControlOffset(LeavingDirection(source), reach);
    g.EndOffset = ControlOffset(ArrivingDirection(destination), reach);
    return g;
}

QPainterPath CurveOf(const WireGeometry& g) {
    QPainterPath path(g.Start);
    path.cubicTo(g.Start + g.StartOffset, g.End - g.EndOffset, g.End);
    return path;
}

QPainterPath WireCurve(const Wire& wire) {
    return CurveOf(Geometry(wire));
}

void DrawWire(QPainter& painter, const Wire& wire) {
    if (!wire.Source) return;
    if (!wire.Destination || !wire.Destination->Node) {
        // Still being dragged: it approaches the mouse without a tangent of its own.
        const WireGeometry g = Geometry(wire);
        QPainterPath path(g.Start);
        path.cubicTo(g.Start + g.StartOffset, g.End, g.End);
        painter.strokePath(path,
                           WithEnds(DashedPen(PortTypeColor(*wire.Source), 2, 4), Qt::RoundCap, 4));
        return;
    }
    DrawWire(painter, wire, WireCurve(wire));
}

void DrawWire(QPainter& painter, const Wire& wire, const QPainterPath& curve) {
    DrawHighlight(painter, curve, wire.Flags);
    if (CanConnect(wire.Source, wire.Destination))
        StrokeTrimmedToView(painter, curve, ValidWirePen(PortTypeColor(OutputSide(wire))));
    else
        painter.strokePath(curve, InvalidWirePen());
}

} // namespace flow

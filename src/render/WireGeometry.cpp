#include "render/WireGeometry.h"

#include "render/CircuitView.h"

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

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

// Room between a wire that goes around and the nodes it goes around.
constexpr double kAroundClearance = 12;

struct Span {
    double Top, Bottom;
};

// The node's extent from top to bottom, placed where the port is attached.
Span NodeSpan(const Port& port, QPointF attached) {
    const double top = attached.y() - double(port.Y);
    return {top, top + double(port.Node->Height)};
}

// Where a wire between two nodes goes around them: below both, when the end lies behind the
// start along the ports' (horizontal) wire direction and the nodes stand side by side, so that
// the curve would cross them. NaN when the plain curve is seen.
double AroundHeight(QPointF start, QPointF end, const Port& source, const Port* destination) {
    if (!destination || !source.Node || !destination->Node) return WireGeometry().Below;
    const QPointF leaving = LeavingDirection(source);
    if (leaving.y() != 0 || leaving.x() == 0 || ArrivingDirection(destination) != leaving ||
        (end.x() - start.x()) * leaving.x() >= 0)
        return WireGeometry().Below;
    const Span a = NodeSpan(source, start), b = NodeSpan(*destination, end);
    if (a.Top > b.Bottom + kAroundClearance || b.Top > a.Bottom + kAroundClearance)
        return WireGeometry().Below;
    return std::max(a.Bottom, b.Bottom) + kAroundClearance;
}

// A half turn from one height to another at the same x, bulging along the direction: the
// control points stand two thirds of the turn's height out, which makes it nearly round.
void HalfTurn(QPainterPath& path, QPointF from, QPointF to, QPointF direction) {
    const QPointF out = direction * (std::abs(to.y() - from.y()) * 2 / 3);
    path.cubicTo(from + out, to + out, to);
}

} // namespace

QPointF PortPosition(const Port& port, const CircuitView* dragging) {
    if (!port.Node) return QPointF(port.X, port.Y);
    const Node& node = *port.Node;
    // In doubles: positions near the limits of the integers must not overflow.
    QPointF position(double(node.X) + double(port.X), double(node.Y) + double(port.Y));
    const press::Dragging* drag = dragging ? dragging->Drag() : nullptr;
    if (drag && (node.Flags & ObjectFlag::Selected)) position += QPointF(drag->DX, drag->DY);
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
    g.Below = AroundHeight(start, end, source, destination);
    return g;
}

WireGeometry GeometryOf(const Wire& wire, const CircuitView* view) {
    const QPointF start = PortPosition(*wire.Source, view);
    // A wire being drawn ends at the mouse.
    const QPointF end = wire.Destination ? PortPosition(*wire.Destination, view)
                        : view           ? QPointF(view->MouseX, view->MouseY)
                                         : start;
    return GeometryBetween(start, end, *wire.Source, wire.Destination);
}

QPainterPath CurveOf(const WireGeometry& g) {
    QPainterPath path(g.Start);
    if (!g.GoesAround()) {
        path.cubicTo(g.Start + g.StartOffset, g.End - g.EndOffset, g.End);
        return path;
    }
    // Out of the start and down, back beneath the nodes, up and into the end, which lies
    // behind the start.
    const QPointF leaving(g.Start.x() > g.End.x() ? 1 : -1, 0);
    const QPointF underStart(g.Start.x(), g.Below), underEnd(g.End.x(), g.Below);
    HalfTurn(path, g.Start, underStart, leaving);
    path.lineTo(underEnd);
    HalfTurn(path, underEnd, g.End, -leaving);
    return path;
}

QPainterPath WireCurve(const Wire& wire, const CircuitView* view) {
    return CurveOf(GeometryOf(wire, view));
}

} // namespace flow

#include "render/WireGeometry.h"

#include "render/CircuitView.h"

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
    path.cubicTo(g.Start + g.StartOffset, g.End - g.EndOffset, g.End);
    return path;
}

QPainterPath WireCurve(const Wire& wire, const CircuitView* view) {
    return CurveOf(GeometryOf(wire, view));
}

} // namespace flow

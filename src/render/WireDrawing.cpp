// Wires: how their validity, type and selection show.

#include "render/WireDrawing.h"

#include "model/TypeResolution.h"
#include "render/Camera.h"
#include "render/CircuitView.h"
#include "render/Palette.h"
#include "render/Strokes.h"
#include "render/TrimmedStroke.h"
#include "render/WireGeometry.h"

#include <QPainter>

#include <deque>
#include <utility>

namespace flow {

namespace {

constexpr QRgb kInvalidWireColor = 0xFF808080;

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

void DrawWire(QPainter& painter, const Wire& wire, const CircuitView& view) {
    if (!wire.Source) return;
    if (!wire.Destination || !wire.Destination->Node) {
        // Still being dragged: it approaches the mouse without a tangent of its own.
        const WireGeometry g = GeometryOf(wire, &view);
        QPainterPath path(g.Start);
        path.cubicTo(g.Start + g.StartOffset, g.End, g.End);
        painter.strokePath(
            path,
            WithEnds(DashedPen(PortTypeColor(*wire.Source, view.OpenPath), 2, 4), Qt::RoundCap, 4));
        return;
    }
    DrawWire(painter, wire, WireCurve(wire, &view), view);
}

void DrawWire(QPainter& painter, const Wire& wire, const QPainterPath& curve,
              const CircuitView& view) {
    DrawHighlight(painter, curve, view.ShowsEditing ? wire.Flags : 0);
    if (CanConnect(wire.Source, wire.Destination))
        StrokeTrimmedToView(painter, curve,
                            ValidWirePen(PortTypeColor(OutputSide(wire), view.OpenPath)));
    else
        painter.strokePath(curve, InvalidWirePen());
}

} // namespace flow

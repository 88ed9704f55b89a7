#pragma once
// The cubic curve of a wire: from its source port to its destination port (or the mouse),
// leaving and arriving along the ports' wire directions.

#include "model/Records.h"

#include <QPainterPath>
#include <QPointF>

#include <cmath>
#include <limits>

namespace flow {

struct CircuitView;

struct WireGeometry {
    QPointF Start, End, StartOffset, EndOffset;
    // A wire whose end lies behind its start, between nodes side by side (or from a node into
    // itself), would run through them and be hidden behind them: it goes around below them
    // instead, at this height. NaN for every other wire, which is one cubic curve.
    double Below = std::numeric_limits<double>::quiet_NaN();
    bool GoesAround() const { return !std::isnan(Below); }
};

// Where a wire attaches to a port: its node's place plus the port's, shifted by the drag of a
// selected node while the view shows it dragged (when a view is given).
QPointF PortPosition(const Port& port, const CircuitView* dragging = nullptr);
// The curve's end points and control offsets between two attachment points; the destination
// may be none (a wire being drawn, ending at the mouse). The nodes' boxes, for a wire that goes
// around them, are taken from the attachment points, which carry a drag.
WireGeometry GeometryBetween(QPointF start, QPointF end, const Port& source,
                             const Port* destination);
// The geometry of a wire as it stands now: a dangling wire ends at the mouse.
WireGeometry GeometryOf(const Wire& wire, const CircuitView* view = nullptr);
QPainterPath CurveOf(const WireGeometry& geometry);
QPainterPath WireCurve(const Wire& wire, const CircuitView* view = nullptr);

} // namespace flow

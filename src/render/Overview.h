#pragma once
// View → Overview: a small map of the whole shown frame in the canvas's bottom right corner,
// with the part the canvas shows framed. The map's picture is kept in the view and made again
// only when the frame's objects change; while the overview is off nothing of it is made.

#include <QPointF>
#include <QRectF>

#include <optional>

class QPainter;

namespace flow {

struct CircuitView;

// Whether the canvases show the overview: one choice for every window, off until turned on.
bool OverviewShown();
void ShowOverview(bool shown);

// Brings the view's map up to date with its frame, after the hit test pass has refreshed the
// scene index, for a canvas image of this device pixel ratio.
void RefreshOverview(CircuitView& view, double ratio);
// Where the map lies on the canvas, in canvas pixels; empty while there is none.
QRectF OverviewRect(const CircuitView& view);
// The circuit point the map shows at a canvas pixel; none outside the map, unless `clamped`
// (a drag that began on the map follows the pointer past its edge).
std::optional<QPointF> OverviewPoint(const CircuitView& view, QPointF pixel, bool clamped = false);
// Draws the map and the frame of what the canvas shows, in canvas pixels.
void DrawOverview(QPainter& painter, const CircuitView& view);

} // namespace flow

#pragma once
// Commands that move the camera without touching the circuit: zooming by whole levels, the
// actual size, a view that shows the whole circuit, one that shows a node; and whether the
// canvases show the values of the latest run.

#include "model/Records.h"
#include "model/ZoomRange.h"
#include "render/CircuitView.h"

#include <QSize>

namespace flow {

// The size in pixels of the canvas of the circuit's window; empty without a window.
QSize CanvasSize(const Circuit& circuit);

// Zooms by whole levels about the canvas centre: the point there stays where it is.
void ZoomView(Circuit& circuit, float levels);
// Zoom level 0, one pixel per circuit unit, about the canvas centre.
void ShowActualSize(Circuit& circuit);

// The zoom level and camera that show every object of the circuit on a canvas of this size,
// with a margin all round; the zoom level is a whole number of wheel notches. An empty circuit
// is shown at its origin at zoom level 0.
void FitCircuitInView(CircuitView& view, QSize canvas);

// Selects the node alone and centres the view on it, as a click on one of its printed lines asks.
void ShowNode(Circuit& circuit, Int nodeId);

// View → Show Values: turns the value labels of every canvas on or off and remembers the choice;
// and the choice remembered from an earlier session, taken at start.
void ToggleValueLabels();
void RecallValueLabels();
// View → Overview, the same way.
void ToggleOverview();
void RecallOverview();

} // namespace flow

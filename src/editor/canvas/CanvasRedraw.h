#pragma once
// The redraw of a window's canvas: the hit-test pass over its view, the drawing into the canvas's
// image, and the status bar's hover field.

#include "render/CircuitView.h"

namespace flow {

// Redraws the window of the circuit; without a window nothing happens.
void RedrawCircuit(Circuit& circuit);
void RedrawView(CircuitView& view);

} // namespace flow

#pragma once
// The full repaint of a circuit's canvas.

#include "model/Records.h"

class QPaintDevice;

namespace flow {

// Repaints the circuit's canvas (its CanvasSurface) completely; without a canvas only the
// status bar's hover field is kept up to date.
void RedrawCircuit(Circuit& circuit);
// The same drawing onto any paint device (an image, an SVG generator), sized as the canvas
// would be; used for pictures of a circuit.
void RedrawCircuitInto(Circuit& circuit, QPaintDevice& device);

} // namespace flow

#pragma once
// The full repaint of a circuit's canvas.

#include "model/Records.h"

class QImage;

namespace flow {

// Repaints the circuit's canvas (its CanvasSurface) completely; without a canvas only the
// status bar's hover field is kept up to date.
void RedrawCircuit(Circuit& circuit);
// The same drawing into any image, sized as the canvas would be; used for PNG rendering.
void RedrawCircuitInto(Circuit& circuit, QImage& image);

} // namespace flow

#pragma once
// The redraw of a window's canvas: the hit-test pass over its view, the drawing into the canvas's
// image, and the status bar's hover field.

#include "render/CircuitView.h"

class QImage;

namespace flow {

// Redraws the window of the circuit; without a window nothing happens.
void RedrawCircuit(Circuit& circuit);
void RedrawView(CircuitView& view);
// The same redraw into an image of any size and device pixel ratio instead of the canvas's.
void RedrawViewInto(CircuitView& view, QImage& image);
// The redraw after a move of the pointer that can have changed nothing but what lies under it:
// only the highlights that changed are drawn again and shown, when the canvas's image holds the
// view's last drawing and nothing else changed since; otherwise the whole, as RedrawView.
void RedrawHoverChange(CircuitView& view);

} // namespace flow

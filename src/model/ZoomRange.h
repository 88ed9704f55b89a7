#pragma once
// The range of zoom levels a circuit's camera may take, wherever the zoom comes from: the wheel
// or a file.

#include "model/Records.h"

namespace flow {

// Far out, the magnification of a float camera would vanish; far in, a circuit unit is already
// a thousand pixels, and every further step doubles the work of drawing the curves that cross
// the canvas.
constexpr float kMinZoomLevel = -20.0f;
constexpr float kMaxZoomLevel = 10.0f;

// Sets the zoom level, held within the range, and the magnification 2 to its power.
void SetZoomLevel(Circuit& circuit, float level);
// Takes a magnification given from outside (a file): kept as it is within the range, else the
// nearest end of the range. Returns false, changing nothing, for a value that is not a positive
// finite number.
bool SetMagnification(Circuit& circuit, float magnification);

} // namespace flow

#pragma once
// The zoom-dependent grid behind the scene, in pixels.

#include "model/Records.h"

class QPainter;

namespace flow {

// Draws the grid of the circuit's view; (ox, oy) is the circuit origin's pixel. The painter
// draws in logical pixels, scaled by the device pixel ratio.
void DrawGrid(QPainter& painter, const Circuit& circuit, int ox, int oy);

} // namespace flow

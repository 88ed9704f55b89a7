#pragma once
// The zoom-dependent grid behind the scene, in pixels.

#include "model/Records.h"

class QPainter;

namespace flow {

struct CircuitView;

// Draws the grid of the circuit's view; (ox, oy) is the circuit origin's pixel. The painter
// draws in logical pixels, scaled by the device pixel ratio.
void DrawGrid(QPainter& painter, const CircuitView& view, int ox, int oy);

// The distance in circuit units between the lines of the finest level DrawGrid draws at the
// circuit's zoom level, at least 1; every level's lines run through the circuit origin.
Int FinestGridStep(const CircuitView& view);

} // namespace flow

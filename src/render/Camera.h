#pragma once
// The camera between circuit units and canvas pixels: the one conversion every drawing and every
// pointer position goes through.

#include "model/Records.h"

#include <QPointF>

namespace flow {

struct CircuitView;

// Canvas pixel of a circuit coordinate, through the view's camera.
int ToScreenX(const CircuitView& view, double x);
int ToScreenY(const CircuitView& view, double y);
// The circuit point under a canvas pixel, before rounding.
QPointF ToCircuitPoint(const CircuitView& view, QPointF pixel);
// The camera position, before rounding, that puts the circuit point under the canvas pixel:
// panning and zooming keep a grabbed point under the pointer this way.
QPointF CameraKeeping(const CircuitView& view, QPointF point, QPointF pixel);

// The remainder of a / b with the sign of b, so it lies in [0, b) for positive b.
double FlooredMod(double a, double b);

// Rounds to the nearest integer, halves away from zero, kept within the range of int so that
// extreme zoom levels cannot overflow the conversion.
int RoundToInt(double value);

} // namespace flow

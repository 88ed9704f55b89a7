#pragma once
// The camera between circuit units and canvas pixels, and the colour helpers every drawing
// shares.

#include "model/Records.h"

#include <QPointF>
#include <QRgb>

namespace flow {

// Canvas pixel of a circuit coordinate, through the circuit's camera.
int ToScreenX(const Circuit& circuit, double x);
int ToScreenY(const Circuit& circuit, double y);
// The circuit point under a canvas pixel, before rounding.
QPointF ToCircuitPoint(const Circuit& circuit, QPointF pixel);

// Mixes each channel (alpha included) of a and b in the proportion t (0 gives a, 1 gives b).
QRgb BlendColor(QRgb a, QRgb b, float t);

// The remainder of a / b with the sign of b, so it lies in [0, b) for positive b.
double FlooredMod(double a, double b);

// The colour of a port type code; unknown codes are fully transparent.
QRgb PortTypeColor(int type);
QRgb PortTypeColor(const Port& port);

// Rounds to the nearest integer, halves away from zero, kept within the range of int so that
// extreme zoom levels cannot overflow the conversion.
int RoundToInt(double value);

} // namespace flow

#include "render/Camera.h"

#include <climits>
#include <cmath>

namespace flow {

int RoundToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::round(value);
    if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(rounded);
}

int ToScreenX(const Circuit& circuit, double x) {
    return RoundToInt((x - static_cast<double>(circuit.CameraX)) * circuit.Magnification +
                      circuit.CanvasWidth * 0.5);
}

int ToScreenY(const Circuit& circuit, double y) {
    return RoundToInt((y - static_cast<double>(circuit.CameraY)) * circuit.Magnification +
                      circuit.CanvasHeight * 0.5);
}

QPointF CameraKeeping(const Circuit& circuit, QPointF point, QPointF pixel) {
    return {point.x() - (pixel.x() - circuit.CanvasWidth * 0.5) / circuit.Magnification,
            point.y() - (pixel.y() - circuit.CanvasHeight * 0.5) / circuit.Magnification};
}

QPointF ToCircuitPoint(const Circuit& circuit, QPointF pixel) {
    return {(pixel.x() - circuit.CanvasWidth * 0.5) / circuit.Magnification +
                static_cast<double>(circuit.CameraX),
            (pixel.y() - circuit.CanvasHeight * 0.5) / circuit.Magnification +
                static_cast<double>(circuit.CameraY)};
}

double FlooredMod(double a, double b) {
    const double r = std::fmod(a, b);
    if ((b > 0 && a < 0 && r < 0) || (b < 0 && a > 0 && r > 0)) return r + b;
    return r;
}

} // namespace flow

#include "render/Camera.h"

#include "render/CircuitView.h"

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

int ToScreenX(const CircuitView& view, double x) {
    return RoundToInt((x - static_cast<double>(view.CameraX)) * view.Magnification +
                      view.CanvasWidth * 0.5);
}

int ToScreenY(const CircuitView& view, double y) {
    return RoundToInt((y - static_cast<double>(view.CameraY)) * view.Magnification +
                      view.CanvasHeight * 0.5);
}

QPointF CameraKeeping(const CircuitView& view, QPointF point, QPointF pixel) {
    return {point.x() - (pixel.x() - view.CanvasWidth * 0.5) / view.Magnification,
            point.y() - (pixel.y() - view.CanvasHeight * 0.5) / view.Magnification};
}

QPointF ToCircuitPoint(const CircuitView& view, QPointF pixel) {
    return {(pixel.x() - view.CanvasWidth * 0.5) / view.Magnification +
                static_cast<double>(view.CameraX),
            (pixel.y() - view.CanvasHeight * 0.5) / view.Magnification +
                static_cast<double>(view.CameraY)};
}

double FlooredMod(double a, double b) {
    const double r = std::fmod(a, b);
    if ((b > 0 && a < 0 && r < 0) || (b < 0 && a > 0 && r > 0)) return r + b;
    return r;
}

} // namespace flow

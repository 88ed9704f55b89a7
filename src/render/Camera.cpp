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

QPointF ToCircuitPoint(const Circuit& circuit, QPointF pixel) {
    return {(pixel.x() - circuit.CanvasWidth * 0.5) / circuit.Magnification +
                static_cast<double>(circuit.CameraX),
            (pixel.y() - circuit.CanvasHeight * 0.5) / circuit.Magnification +
                static_cast<double>(circuit.CameraY)};
}

QRgb BlendColor(QRgb a, QRgb b, float t) {
    auto mix = [t](int from, int to) {
        return static_cast<int>(std::lround((1.0f - t) * from + t * to));
    };
    return qRgba(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)),
                 mix(qAlpha(a), qAlpha(b)));
}

double FlooredMod(double a, double b) {
    const double r = std::fmod(a, b);
    if ((b > 0 && a < 0 && r < 0) || (b < 0 && a > 0 && r > 0)) return r + b;
    return r;
}

QRgb PortTypeColor(int type) {
    switch (type) {
    case PortType::Generic:
        return 0xFFA0A0A0;
    case PortType::Boolean:
        return 0xFF40C000;
    case PortType::Integer:
        return 0xFF4080FF;
    case PortType::Real:
        return 0xFFFFC000;
    case PortType::String:
        return 0xFFE000A0;
    default:
        return 0x00000000;
    }
}

QRgb PortTypeColor(const Port& port) {
    return PortTypeColor(port.Type);
}

} // namespace flow

#include "model/ZoomRange.h"

#include <algorithm>
#include <cmath>

namespace flow {

void SetZoomLevel(Circuit& circuit, float level) {
    circuit.ZoomLevel = std::clamp(level, kMinZoomLevel, kMaxZoomLevel);
    circuit.Magnification = std::exp2(circuit.ZoomLevel);
}

bool SetMagnification(Circuit& circuit, float magnification) {
    if (!(magnification > 0.0f) || !std::isfinite(magnification)) return false;
    const float level = float(std::log(double(magnification)) / std::log(2.0));
    if (level < kMinZoomLevel || level > kMaxZoomLevel) {
        SetZoomLevel(circuit, level);
        return true;
    }
    circuit.Magnification = magnification;
    circuit.ZoomLevel = level;
    return true;
}

} // namespace flow

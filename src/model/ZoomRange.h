#pragma once
// The range of zoom levels a camera may take, wherever the zoom comes from: the wheel or a file.
// A camera is anything with a ZoomLevel and a Magnification: a window's view, or the view a
// file holds.

#include <algorithm>
#include <cmath>

namespace flow {

// Far out, the magnification of a float camera would vanish; far in, a circuit unit is already
// a thousand pixels, and every further step doubles the work of drawing the curves that cross
// the canvas.
constexpr float kMinZoomLevel = -20.0f;
constexpr float kMaxZoomLevel = 10.0f;

// Sets the zoom level, held within the range, and the magnification 2 to its power.
template <typename Camera> void SetZoomLevel(Camera& camera, float level) {
    camera.ZoomLevel = std::clamp(level, kMinZoomLevel, kMaxZoomLevel);
    camera.Magnification = std::exp2(camera.ZoomLevel);
}

// Takes a magnification given from outside (a file): kept as it is within the range, else the
// nearest end of the range. Returns false, changing nothing, for a value that is not a positive
// finite number.
template <typename Camera> bool SetMagnification(Camera& camera, float magnification) {
    if (!(magnification > 0.0f) || !std::isfinite(magnification)) return false;
    const float level = float(std::log(double(magnification)) / std::log(2.0));
    if (level < kMinZoomLevel || level > kMaxZoomLevel) {
        SetZoomLevel(camera, level);
        return true;
    }
    camera.Magnification = magnification;
    camera.ZoomLevel = level;
    return true;
}

} // namespace flow

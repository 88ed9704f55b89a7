#pragma once
// The full repaint of a view of a circuit. Drawing reads the circuit and the view and changes
// neither: the view is laid out (SceneLayout.h) and, in a window, hit-tested before it is drawn.

#include "model/Records.h"

#include <QRect>

#include <vector>

class QImage;
class QPaintDevice;
class QSize;

namespace flow {

struct CircuitView;

// Sizes the view's canvas for an image of these device pixels at this device pixel ratio.
void FitCanvas(CircuitView& view, QSize pixels, double ratio);
// Draws the view into an image sized as its canvas would be at the image's device pixel ratio;
// a window's canvas and PNG pictures.
void RedrawCircuitInto(const CircuitView& view, QImage& image);
// Paints again, into an image that holds the view's last drawing, the areas given in device
// pixels, each exactly as a full drawing would: for changes the areas hold all of.
void RepaintCircuitAreas(const CircuitView& view, QImage& image, const std::vector<QRect>& areas);
// The drawing of a canvas of that size onto a device that paints in canvas pixels (an SVG
// generator whose view box is the canvas); used for SVG pictures.
void RedrawCircuitOnto(const CircuitView& view, QPaintDevice& device, QSize canvas);

// While one is alive, a repaint of the view that finds the camera and the canvas as the first
// repaint left them takes that repaint's background, grid and scene instead of drawing them
// again, and draws only what lies over them (rubber band, run-state marker). For the repaints
// of one Start, which change only the run state: the circuit is not edited meanwhile.
class SceneReuse {
  public:
    explicit SceneReuse(const CircuitView& view);
    ~SceneReuse();
    SceneReuse(const SceneReuse&) = delete;
    SceneReuse& operator=(const SceneReuse&) = delete;
};

} // namespace flow

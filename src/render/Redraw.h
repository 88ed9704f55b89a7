#pragma once
// The full repaint of a circuit's canvas.

#include "model/Records.h"

class QImage;
class QPaintDevice;
class QSize;

namespace flow {

class RunSession;

// Repaints the circuit's canvas (its CanvasSurface) completely, with the results of the run the
// canvas shows; without a canvas only the status bar's hover field is kept up to date.
void RedrawCircuit(Circuit& circuit);
// The same drawing into any image, sized as the canvas would be at the image's device pixel
// ratio; used for PNG rendering. Without a run (pictures of files) no run result is drawn.
void RedrawCircuitInto(Circuit& circuit, QImage& image, const RunSession* run = nullptr);
// The drawing of a canvas of that size onto a device that paints in canvas pixels (an SVG
// generator whose view box is the canvas); used for SVG pictures.
void RedrawCircuitOnto(Circuit& circuit, QPaintDevice& device, QSize canvas,
                       const RunSession* run = nullptr);

// While one is alive, a repaint of the circuit's canvas that finds the camera and the canvas as
// the first repaint left them takes that repaint's background, grid and scene instead of drawing
// them again, and draws only what lies over them (rubber band, run-state marker). For the
// repaints of one Start, which change only the run state: the circuit is not edited meanwhile.
class SceneReuse {
  public:
    explicit SceneReuse(const Circuit& circuit);
    ~SceneReuse();
    SceneReuse(const SceneReuse&) = delete;
    SceneReuse& operator=(const SceneReuse&) = delete;
};

} // namespace flow

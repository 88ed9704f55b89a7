#pragma once
// What RedrawCircuit needs of a canvas: the image it paints into, and a way to show it.

#include <QImage>

namespace flow {

class CanvasSurface {
  public:
    virtual ~CanvasSurface() = default;
    // The canvas's image, sized to the canvas (Format_ARGB32_Premultiplied).
    virtual QImage& Surface() = 0;
    // Schedules the copy of the image to the screen.
    virtual void Present() = 0;
};

} // namespace flow

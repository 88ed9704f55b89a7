#pragma once
// What RedrawCircuit needs of a canvas: the image it paints into, and a way to show it.

#include <QImage>
#include <QRegion>

namespace flow {

class CanvasSurface {
  public:
    virtual ~CanvasSurface() = default;
    // The canvas's image, sized to the canvas (Format_ARGB32_Premultiplied).
    virtual QImage& Surface() = 0;
    // Schedules the copy of the image to the screen: all of it, or the area given in the
    // canvas's pixels.
    virtual void Present() = 0;
    virtual void Present(const QRegion& area) {
        (void)area;
        Present();
    }
};

} // namespace flow

#pragma once
// flowlattice --render FILE --output OUT: draws the circuit as its window's canvas would show
// it. Returns the process's exit status: 0 success, 2 a file that cannot be read or written.

#include <QString>

namespace flow {

// Draws the circuit to a PNG, or an SVG when the output name ends in ".svg". scale: image pixels
// per canvas pixel (the device pixel ratio the picture is drawn at); with fit, the view shows the
// whole circuit instead of the saved camera.
int RenderCommand(const QString& file, const QString& output, int width, int height, double scale,
                  bool fit);

} // namespace flow

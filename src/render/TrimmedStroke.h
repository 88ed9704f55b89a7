#pragma once
// Solid strokes that reach far beyond the canvas, drawn at a cost that follows what shows.

#include <QPainterPath>
#include <QPen>

class QPainter;

namespace flow {

// Draws as painter.strokePath(path, pen) does. Qt's rasteriser walks every pixel cell a stroke's
// outline passes, on the canvas or beside it, and keeps the cells of each pixel row in a list
// sorted by x: a long, nearly level wire of which the canvas shows a part costs milliseconds.
// For a solid stroke reaching well beyond a raster canvas, the outline is made and flattened as
// the painter would make and flatten it, then cut a few pixels outside the canvas and filled a
// tile at a time (render/OutlineTiles), so that the rasteriser never runs out of room for it.
void StrokeTrimmedToView(QPainter& painter, const QPainterPath& path, const QPen& pen);
// Whether this Qt's painter makes its outlines as the trimming expects, found by one comparison
// on first use; without it every stroke is left to the painter.
bool StrokeTrimmingAvailable();

} // namespace flow

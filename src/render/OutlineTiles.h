#pragma once
// Filling a closed outline, given as polygons in device pixels, a tile of the canvas at a time.
//
// Qt's rasteriser records the cells an outline passes in a pool of a few kilobytes. When an
// outline leaves more cells on the canvas than the pool holds (a long, nearly level wire leaves
// two for every pixel column it crosses), it splits the canvas into bands, and then enlarges the
// pool and starts again, walking every edge of the outline once more for every band it tries.
// Filled a tile at a time, through an image that shares the canvas's pixels, each fill records
// only the cells of its tile and fits the pool at once. A pixel's coverage depends only on the
// outline's cells at it and on the sum of those left of it in its row, so each tile is given the
// outline trimmed to it (what lies beyond replaced by runs along the cut that keep those sums),
// and its pixels are those that one fill of the whole outline gives.

#include <QBrush>
#include <QPainterPath>
#include <QPointF>
#include <QRect>

#include <vector>

class QPainter;

namespace flow {

using Polyline = std::vector<QPointF>;

struct TileFill {
    QRect Tile;        // in device pixels
    QPainterPath Path; // the outline trimmed to the tile, in device pixels, winding fill
};

// The outline trimmed to the rectangle, as one path with the winding fill rule. Edges that may
// cross the rectangle stay as they are, to the bit; the others are clamped onto a cut a little
// outside it, so that nothing inside changes.
QPainterPath TrimmedOutline(const std::vector<Polyline>& polygons, const QRectF& rect);

// The rasteriser's first pool holds about 150 cells.
constexpr int kCellsPerFill = 140;

// The fills that draw the outline onto the view: the whole view at once when its cells there
// fit one fill, else side by side tiles of the view, each with the rows the outline can cover
// between its sides and about `cells` cells at most.
std::vector<TileFill> TileFills(const std::vector<Polyline>& polygons, const QRect& view,
                                int cells = kCellsPerFill);

// Fills them with the painter, which must be unclipped and in device pixels. On anything but an
// image whose whole is the view, and with a brush other than a colour, one fill draws it all.
void FillInTiles(QPainter& painter, const std::vector<Polyline>& polygons, const QRect& view,
                 const QBrush& brush, int cells = kCellsPerFill);

} // namespace flow

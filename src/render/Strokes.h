#pragma once
// Pens and the soft shadow shared by the drawing of nodes and comment boxes.

#include <QPainterPath>
#include <QPen>
#include <QRgb>

class QPainter;

namespace flow {

QPen SolidPen(QRgb color, double width, Qt::PenJoinStyle join = Qt::MiterJoin);
// Dashes and gaps of equal length, given in drawing units (a pen measures them in widths).
QPen DashedPen(QRgb color, double width, double dashLength, Qt::PenJoinStyle join = Qt::MiterJoin);

// Three translucent strokes of widths 12, 8 and 4 along the path, which stack to a halo that
// darkens towards the outline.
void StrokeShadow(QPainter& painter, const QPainterPath& path, QRgb color);

} // namespace flow

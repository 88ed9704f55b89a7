#include "render/Strokes.h"

#include <QPainter>

namespace flow {

QPen SolidPen(QRgb color, double width, Qt::PenJoinStyle join) {
    // Flat ends keep open lines and dashes exactly as long as asked.
    return QPen(QBrush(QColor::fromRgba(color)), width, Qt::SolidLine, Qt::FlatCap, join);
}

QPen DashedPen(QRgb color, double width, double dashLength, Qt::PenJoinStyle join) {
    QPen pen = SolidPen(color, width, join);
    const double units = dashLength / width;
    pen.setDashPattern({units, units});
    return pen;
}

void StrokeShadow(QPainter& painter, const QPainterPath& path, QRgb color) {
    for (const double width : {12.0, 8.0, 4.0})
        painter.strokePath(path, SolidPen(color, width, Qt::RoundJoin));
}

} // namespace flow

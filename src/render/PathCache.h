#pragma once
// Shapes and symbols as ready paths. The catalogue has a few fixed strings, and every redraw
// and hit test needs their paths again, so each string is interpreted once.

#include "model/Records.h"

#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace flow {

// The path of a shape string (AddPath), with the even-odd fill rule.
const QPainterPath& ShapePath(const QString& shape);
// The path of a symbol string (AddSymbol), with the even-odd fill rule.
const QPainterPath& SymbolPath(const QString& symbol);

// A function's shape and symbol paths and the box of their control points, in node units.
struct FunctionPaths {
    QString Shape, Symbol; // the strings they were made from
    QPainterPath ShapePath, SymbolPath;
    QRectF Bounds;
    quint64 Serial = 0; // different for every FunctionPaths ever made: a key for drawings of them
};
// Found by the function's address, without hashing its strings; made again should a string
// of the function change.
const FunctionPaths& PathsOf(const FunctionDef& function);

} // namespace flow

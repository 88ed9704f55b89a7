#pragma once
// Shapes and symbols as ready paths. The catalogue has a few fixed strings, and every redraw
// and hit test needs their paths again, so each string is interpreted once.

#include <QPainterPath>
#include <QString>

namespace flow {

// The path of a shape string (AddPath), with the even-odd fill rule.
const QPainterPath& ShapePath(const QString& shape);
// The path of a symbol string (AddSymbol), with the even-odd fill rule.
const QPainterPath& SymbolPath(const QString& symbol);

} // namespace flow

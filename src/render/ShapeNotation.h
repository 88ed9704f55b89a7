#pragma once
// Shapes and symbols of the catalogue: the path notation, and "$text,size,x,y" text symbols.

#include <QPainterPath>
#include <QString>

namespace flow {

void AddPath(QPainterPath& path, const QString& notation);
void AddTextSymbol(QPainterPath& path, const QString& symbol);
void AddSymbol(QPainterPath& path, const QString& symbol);
// A text symbol whose text is cut short with "…" to fit the width; any other symbol, and a text
// that fits, as it is.
QString ElidedTextSymbol(const QString& symbol, double width);

} // namespace flow

#pragma once
// Shapes and symbols of the catalogue: the path notation, and "$text,size,x,y" text symbols.

#include <QPainterPath>
#include <QString>

namespace flow {

void AddPath(QPainterPath& path, const QString& notation);
void AddTextSymbol(QPainterPath& path, const QString& symbol);
void AddSymbol(QPainterPath& path, const QString& symbol);

} // namespace flow

#include "render/PathCache.h"

#include "model/SubCircuits.h"
#include "render/ShapeNotation.h"

#include <QHash>

#include <memory>

namespace flow {

namespace {
template <void (*Build)(QPainterPath&, const QString&)>
const QPainterPath& Cached(const QString& notation) {
    static QHash<QString, QPainterPath> cache;
    auto found = cache.constFind(notation);
    if (found == cache.constEnd()) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        Build(path, notation);
        found = cache.insert(notation, path);
    }
    return *found;
}

// An instance's name stays within its box, clear of the rounded corners of its shape (radius
// 6, see LayOutSubCircuit); however long the name, what is drawn of it is no wider.
constexpr double kInstanceCorner = 6.0;

QString ShownSymbol(const FunctionDef& function) {
    if (!IsSubCircuit(&function)) return function.Symbol;
    return ElidedTextSymbol(function.Symbol, double(function.Width) - 2 * kInstanceCorner);
}

// Strings shared with the function (the usual case) compare by their data alone.
bool Same(const QString& kept, const QString& current) {
    return kept.constData() == current.constData() || kept == current;
}
} // namespace

const QPainterPath& ShapePath(const QString& shape) {
    return Cached<AddPath>(shape);
}
const QPainterPath& SymbolPath(const QString& symbol) {
    return Cached<AddSymbol>(symbol);
}

const FunctionPaths& PathsOf(const FunctionDef& function) {
    static QHash<const FunctionDef*, std::shared_ptr<FunctionPaths>> cache;
    std::shared_ptr<FunctionPaths>& paths = cache[&function];
    if (!paths || !Same(paths->Shape, function.Shape) || !Same(paths->Symbol, function.Symbol)) {
        static quint64 serials = 0;
        paths = std::make_shared<FunctionPaths>();
        paths->Serial = ++serials;
        paths->Shape = function.Shape;
        paths->Symbol = function.Symbol;
        paths->ShapePath = ShapePath(function.Shape);
        paths->SymbolPath = SymbolPath(ShownSymbol(function));
        paths->Bounds = paths->ShapePath.controlPointRect() | paths->SymbolPath.controlPointRect();
    }
    return *paths;
}

} // namespace flow

#include "render/PathCache.h"

#include "render/SceneDrawing.h"

#include <QHash>

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
} // namespace

const QPainterPath& ShapePath(const QString& shape) {
    return Cached<AddPath>(shape);
}
const QPainterPath& SymbolPath(const QString& symbol) {
    return Cached<AddSymbol>(symbol);
}

} // namespace flow

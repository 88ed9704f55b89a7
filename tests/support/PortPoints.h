#pragma once
// Circuit points of the parts of objects, where a user points at them.

#include "model/Records.h"

#include <QPointF>

namespace flow::test {

// Where a node's port lies: the point a click connects from or to.
inline QPointF PortPoint(const Node& node, int index) {
    const Port& port = *node.PortArray.at(std::size_t(index));
    return {double(node.X + port.X), double(node.Y + port.Y)};
}

// The middle of an object's box; a constant's box extends left of its X.
inline QPointF Middle(const ObjectHeader& object) {
    return {object.X + object.Width / 2.0, object.Y + object.Height / 2.0};
}

} // namespace flow::test

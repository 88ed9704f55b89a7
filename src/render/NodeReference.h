#pragma once
// What a node does and what it takes, for the user who wonders: the text of a node's tooltip,
// made from its function's catalogue entry and the node's ports as they stand.

#include "model/Records.h"

#include <QStringList>

namespace flow {

// The function's line of description; for a sub-circuit, which kind it is.
QString FunctionDescription(const FunctionDef& function);

// The node's name (a pin's with the name it gives its port), what it does, then its ports,
// inputs before outputs, each "In: label (type)"; a line each. A type not fixed yet shows the
// types the function offers there. Inside a body, the types are those of the opened instance's
// copy.
QString NodeReferenceText(const Node& node, const std::vector<Node*>& openPath = {});
// The same as rich text for a tooltip: the name in bold, the ports kept one to a line.
QString NodeReferenceHtml(const Node& node, const std::vector<Node*>& openPath = {});

// The types the function's implementations give its port `index` (from 1), in their order:
// "Integer, Real or String"; "any type" for a sub-circuit, whose instances take what feeds them.
QString OfferedTypes(const FunctionDef& function, std::size_t index);

} // namespace flow

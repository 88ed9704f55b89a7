#pragma once
// Help → Functions: every function of the catalogue with what it does and the types of its
// ports in each implementation, made from the catalogue itself, so that a function added to it
// is described here with no help written twice.

#include <QString>

namespace flow {

// Rich text: an index of the names, then per function, in catalogue order, a heading with its
// name, its description and a table with a column per port (inputs, then outputs marked "→")
// and a row per implementation.
QString FunctionReferenceHtml();

} // namespace flow

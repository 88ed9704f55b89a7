#pragma once
// Nodes of the catalogue's functions added to a circuit by name: the small circuits of the
// model and type tests.

#include "model/Catalogue.h"
#include "model/Model.h"

namespace flow::test {

inline Node* Make(Circuit& c, const char* function, Implementation* impl = nullptr) {
    return AddNode(&c.MainFrame, FindFunction(function), impl);
}

inline Node* IntegerConstant(Circuit& c, Int value) {
    Node* n = Make(c, "Constant", Catalogue().ConstantInteger);
    n->PortArray[1]->Value = value;
    return n;
}

inline Node* RealConstant(Circuit& c) {
    return Make(c, "Constant", Catalogue().ConstantReal);
}

} // namespace flow::test

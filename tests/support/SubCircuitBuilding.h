#pragma once
// Sub-circuits built in memory: bodies with named pins, and instances wired into frames, as the
// engine and file tests need them.

#include "model/Catalogue.h"
#include "model/Expansion.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

namespace flow::test {

// A node of the function named so (a built-in one or a sub-circuit of the frame's circuit).
inline Node* Place(Frame& frame, const QString& function, Int x = 0, Int y = 0) {
    Node* node = AddNode(&frame, FunctionNamed(frame, function), nullptr);
    MoveObject(*node, x, y);
    return node;
}

inline Node* AddPin(FunctionDef& definition, FunctionDef* pinFunction, const QString& name, Int x,
                    Int y) {
    Node* pin = AddNode(&BodyOf(definition), pinFunction, nullptr);
    SetPinName(*pin, name);
    MoveObject(*pin, x, y);
    return pin;
}

// A wire from output `out` of one node to input `in` of another, by port number (from 1).
inline Wire* Link(Node* source, std::size_t out, Node* destination, std::size_t in) {
    return ConnectPorts(source->PortArray[out], destination->PortArray[in]);
}

// "Double": x + x, with a Print of x inside when `printing`; its instances have ports x and
// "x + x". The definition's ports are laid out, so instances can be wired at once. Fills the
// body of `definition` when given, else of a new sub-circuit.
inline FunctionDef* MakeDouble(Circuit& circuit, bool printing = false,
                               FunctionDef* definition = nullptr) {
    if (!definition) definition = AddSubCircuit(circuit, QStringLiteral("Double"));
    Frame& body = BodyOf(*definition);
    Node* x = AddPin(*definition, PinFunctions().Input, QStringLiteral("x"), -100, 0);
    Node* plus = Place(body, QStringLiteral("Plus"));
    Node* sum = AddPin(*definition, PinFunctions().Output, QStringLiteral("x + x"), 100, 0);
    Link(x, 1, plus, 1);
    Link(x, 1, plus, 2);
    Link(plus, 3, sum, 1);
    if (printing) Link(x, 1, Place(body, QStringLiteral("Print"), 0, 60), 1);
    FollowDefinitions(circuit);
    return definition;
}

} // namespace flow::test

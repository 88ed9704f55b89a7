#pragma once
// Keeps every node's implementation and port types fitted to its connections while editing.

#include "model/Records.h"

namespace flow {

// Re-chooses the node's implementation and port types; changes travel downstream.
void ResolveImplementation(Node* node);
// Why a wire from a to b would be invalid, in the order the checks are made.
enum class ConnectionFault {
    None,
    Directions,   // not one input and one output
    SecondFeeder, // b already has another feeder
    Types,        // no implementation takes the one port's type at the other
    NoPort,       // an end is missing
};
ConnectionFault WhyCannotConnect(const Port* a, const Port* b);
// Whether a wire from a to b is valid: complementary directions, a single feeder, fitting types.
bool CanConnect(const Port* a, const Port* b);
// Whether some implementation of the port's function has type t at the port's position.
bool CanTakeType(const Port* port, int type);

} // namespace flow

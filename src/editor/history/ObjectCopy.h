#pragma once
// Copies of comments, nodes and the wires between them made in another place: a selection
// becoming a sub-circuit's body, a body taken apart where its instance stood, pasted objects.
// Unlike text, a copy keeps every constant's exact value and which feeder each input reads.

#include "file/CircuitFragment.h"

#include <QRectF>

#include <functional>
#include <unordered_map>

namespace flow {

struct ObjectCopies {
    FrameObjects Made;
    std::unordered_map<const Node*, Node*> Nodes; // original -> copy
    // The copy of a port of a copied node; none for other ports.
    Port* CopyOf(const Port* original) const;
};

// The function a copy is made of, given the original's; none keeps the original's.
using FunctionChoice = std::function<FunctionDef*(FunctionDef*)>;

// Copies the objects into the frame, moved by (dx, dy), with fresh IDs given in the order a
// read of their text would give them: comments, then nodes. Wires of `objects` must run between
// its nodes.
ObjectCopies CopyObjects(const FrameObjects& objects, Frame& into, Int dx, Int dy,
                         const FunctionChoice& function = {});

// The box around the comments and nodes; their sizes come from their texts, measured here if
// they have not been yet.
QRectF ObjectsBox(const FrameObjects& objects);

// Every comment and node of the frame, for copying it whole.
FrameObjects AllObjectsOf(const Frame& frame);

} // namespace flow

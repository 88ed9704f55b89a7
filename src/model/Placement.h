#pragma once
// Small edits that put objects where they were: positions on the canvas, places in the lists
// that keep creation order, which feeder an input reads, and the values and texts a user types.
// Undo and redo change the model only through these and the operations of Model.h, so whatever
// keeps derived data in step with the model sees their changes too.

#include "model/Records.h"

#include <cstddef>

namespace flow {

// Every move of a node or comment on the canvas goes through here.
void MoveObject(ObjectHeader& object, Int x, Int y);

// Puts an object of the frame at a position of its list (from 0; beyond the end means last).
void MoveToListPosition(Frame& frame, const Node* node, std::size_t position);
void MoveToListPosition(Frame& frame, const Comment* comment, std::size_t position);
void MoveToListPosition(Frame& frame, const Wire* wire, std::size_t position);

// The lists of its two ports a wire appears in: the Wires of both ends, the source's Targets
// (which hold the destination) and the destination's Feeders (which hold the source).
enum class WireList { SourceWires, DestinationWires, SourceTargets, DestinationFeeders };
constexpr WireList kWireLists[] = {WireList::SourceWires, WireList::DestinationWires,
                                   WireList::SourceTargets, WireList::DestinationFeeders};
std::size_t ListPosition(const Wire& wire, WireList list);
void MoveToListPosition(const Wire& wire, WireList list, std::size_t position);

// Makes the port read its value from source, which must be one of its feeders, or from none.
void SetInputSource(Port& port, Port* source);

// A constant's value: Value for Boolean, Integer and Real constants, Text for String ones.
void SetConstantValue(Node& node, Int value, const QString& text);
void SetCommentText(Comment& comment, const QString& text);

} // namespace flow

#pragma once
// Operations that build circuits and take them apart, keeping every cross-reference of
// wires, ports and frames consistent.

#include "model/Records.h"

#include <functional>

namespace flow {

// Every circuit made so far, in creation order; circuits live until the process ends.
std::vector<std::unique_ptr<Circuit>>& Circuits();
// Number of circuits whose window is open.
int& OpenWindowCount();
// The single node waiting to be placed; it belongs to no frame. Its Function is none while
// nothing is pending.
Node& PreviewNode();
// Closes a circuit's window; installed by the editor. Without it CloseCircuit only stops the
// circuit's node threads.
std::function<void(Circuit&)>& CircuitWindowCloser();

Circuit& NewCircuit();
void CloseCircuit(Circuit& circuit);

// With a frame: a new node of that frame. Without: the placement preview node, reused.
Node* AddNode(Frame* frame, FunctionDef* function, Implementation* implementation);
Comment* AddComment(Frame* frame, const QString& text, Int x, Int y);
Wire* ConnectPorts(Port* a, Port* b);
void DeleteWire(Wire* wire);
void DeleteNode(Node* node);
void DeletePort(Port* port);
void DeleteComment(Comment* comment);

// Appends a port made from a template or from scratch to a catalogue entry or a node.
Port* AddPortTemplate(ObjectHeader* owner, int direction, const QString& label, Int x, Int y,
                      int wireDirX, int wireDirY);

bool IsConstant(const Node& node);
Circuit* OwnerCircuit(const Node& node);

} // namespace flow

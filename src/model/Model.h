#pragma once
// Operations that build circuits and take them apart, keeping every cross-reference of
// wires, ports and frames consistent.

#include "model/Records.h"

#include <functional>
#include <unordered_set>
#include <vector>

namespace flow {

// Every circuit made so far and not yet freed, in creation order.
std::vector<std::unique_ptr<Circuit>>& Circuits();
// Number of circuits whose window is open.
int& OpenWindowCount();
// Closes a circuit's window; installed by the editor. Without it CloseCircuit only stops the
// circuit's node threads.
std::function<void(Circuit&)>& CircuitWindowCloser();

Circuit& NewCircuit();
void CloseCircuit(Circuit& circuit);
// Takes a closed circuit out of the circuit list and frees it, with the nodes deleted from it
// whose late threads have ended since. Only once no thread runs on it any more.
void FreeCircuit(Circuit& circuit);

// A new node of the frame.
Node* AddNode(Frame* frame, FunctionDef* function, Implementation* implementation);
// Makes the node one of the function, with its ports, outside any frame: the node being placed,
// or one that tries a function out. Returns the node.
Node* ShapeNode(Node& node, FunctionDef* function, Implementation* implementation);
Comment* AddComment(Frame* frame, const QString& text, Int x, Int y);
Wire* ConnectPorts(Port* a, Port* b);
void DeleteWire(Wire* wire);
void DeleteNode(Node* node);

// Wires made or taken by the thousand: while a batch lasts, instances wait
// (Circuit::ExpansionsHeld) instead of being retyped, all their ports, for every wire that
// reaches them; the instances noted are retyped once when it ends. A batch inside another
// leaves the retyping to the outer one, which must note what the inner one touches.
class InstanceBatch {
  public:
    explicit InstanceBatch(Circuit& circuit);
    ~InstanceBatch();
    InstanceBatch(const InstanceBatch&) = delete;
    InstanceBatch& operator=(const InstanceBatch&) = delete;
    // An instance to retype at the end, once however often noted; other nodes are passed over.
    // It must outlive the batch.
    void Note(Node* node);

  private:
    Circuit& circuit_;
    bool inner_;
    std::vector<Node*> noted_;
    std::unordered_set<const Node*> seen_;
};
void DeletePort(Port* port);
void DeleteComment(Comment* comment);

// Appends a port made from a template or from scratch to a catalogue entry or a node.
Port* AddPortTemplate(ObjectHeader* owner, int direction, const QString& label, Int x, Int y,
                      int wireDirX, int wireDirY);

// Counts an edit of the frame's objects in its circuit's Edits. Every operation that changes an
// object's place, size, text, type, ports, wires or place in its list calls it, or NoteEdit.
void CountEdit(const Frame* frame);
// The same for an edit that a sub-circuit's instances follow: it notes the change of the body
// too (NoteBodyChange).
void NoteEdit(const Frame* frame);

bool IsConstant(const Node& node);
// A source no wire can type that holds no typed value (a constant, an input), with implementations
// to choose from (Random): its implementation is what the user chose, and the file keeps it.
bool ChoosesOwnType(const Node& node);
// "Boolean", "Integer", "Real", "String"; empty for a type not fixed yet.
QString PortTypeName(int type);
Circuit* OwnerCircuit(const Node& node);
// The port's 1-based position in its node's port list; 0 for a port without a node.
Int PortIndex(const Port* port);
// The node's first port (a constant's value, a pin's one port); none for a node without ports.
Port* FirstPort(const Node& node);

} // namespace flow

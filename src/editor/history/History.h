#pragma once
// Each circuit's history of edits, an undo stack that lives with the circuit's window. Every
// change a user makes to a circuit is recorded here as one step.

#include "editor/history/GroupSnapshot.h"
#include "editor/history/HistorySteps.h"

#include <functional>

class QUndoStack;

namespace flow {

// Steps beyond this many are forgotten from the oldest on, so a long session stays bounded.
constexpr int kHistoryLimit = 1000;
// And beyond this much memory: a step that removes or adds a group keeps the whole group, and
// without it 1000 steps on a circuit of 10,000 nodes held gigabytes. 256 MB keeps more than a
// hundred such steps and the full 1000 of everyday edits, and stays small beside the memory of
// a machine that draws such circuits. The newest step is always kept.
constexpr std::size_t kHistoryBudget = std::size_t(256) << 20;
// The budget in force; tests make it small.
std::size_t& HistoryBudget();
// The memory the history's steps keep, roughly.
std::size_t HistoryBytes(const QUndoStack& history);

// The circuit's history; none while it has no window.
QUndoStack* HistoryOf(const Circuit& circuit);

// Records an edit that adds or removes objects as one step: placing, wiring, deleting, pasting.
// `removing` names what the edit is about to remove (a node comes with its wires); `edit` then
// makes the whole change and returns what it added. An edit that changed nothing records
// nothing; without a history the edit is simply made. Pins removed from a body take the wires to
// their instances' ports with them in the same step, in whatever frame those lie.
void RecordGroupEdit(Circuit& circuit, const QString& name, const FrameObjects& removing,
                     const std::function<FrameObjects()>& edit);
// Puts a step on the circuit's history, which carries it out; without a history it is just made.
void RecordStep(Circuit& circuit, std::unique_ptr<HistoryStep> step);
// Takes a sub-circuit that no instance uses out of the circuit, as one step.
void RemoveSubCircuit(Circuit& circuit, FunctionDef& definition);
// Deletes the objects, unrecorded, in the editor's order: wires, nodes with all their wires,
// comments; the editor lets go of them first.
void TakeOut(const FrameObjects& objects);
// Deletes the objects as one step, in the editor's order: wires, nodes with all their wires,
// comments.
void DeleteObjects(Circuit& circuit, const QString& name, const FrameObjects& objects);
// Moves the nodes and comments by an offset, as one step.
void MoveObjects(Circuit& circuit, const FrameObjects& objects, Int dx, Int dy);
// The same as a step that a following nudge of the same objects joins: arrow-key moves.
void NudgeObjects(Circuit& circuit, const FrameObjects& objects, Int dx, Int dy);
// Moves each node and comment by an offset of its own, as one step; zero offsets are left out.
void ShiftObjects(Circuit& circuit, const QString& name, std::vector<MoveStep::Shift> shifts);
// Gives a constant a new value (its first port's Value and Text), as one step.
void ChangeConstantValue(Node& node, const QString& name, Int value, const QString& text);
// Gives inputs of the main frame new values, as one step; those that keep theirs are left out,
// and with none changed nothing is recorded.
struct NewInputValue {
    Node* Input;
    Int Number;
    QString Text;
};
void ChangeInputValues(Circuit& circuit, const std::vector<NewInputValue>& values);
// Gives a comment a new text, as one step.
void ChangeCommentText(Comment& comment, const QString& text);

} // namespace flow
